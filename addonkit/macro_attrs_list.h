// The command lists that the module hands to the host: the add-on's commands
// (IKxMacroAttrsList) and an editor's context menu entries
// (IKxContextMacroAttrsList). Both keep copies of the records, in order.
#pragma once

#include <cstring>

#include "addonkit/host_error.h"
#include "addonkit/ref_counting.h"
#include "addonlib/geometry/rec_list.h"
#include "hostapi/kx_interfaces.h"

namespace kx {

template <class Intf, const GUID& Iid, class TRecord, const char* Source>
class TKxRecordListImp : public TInterfaceImpl<Intf, Iid> {
 public:
  TKxRecordListImp() : Items(sizeof(TRecord)) {}

  HRESULT STDMETHODCALLTYPE GetItem(std::int32_t Index, TRecord* Rec) override {
    if (!Rec) return E_POINTER;
    return HostCallGuard(Source, [&] {
      const void* Item = Items.Get(Index);
      std::memcpy(Rec, Item, sizeof(TRecord));
    });
  }
  HRESULT STDMETHODCALLTYPE GetCount(std::int32_t* Count) override {
    if (!Count) return E_POINTER;
    return HostCallGuard(Source, [&] { *Count = Items.Count(); });
  }
  HRESULT STDMETHODCALLTYPE Clear() override {
    return HostCallGuard(Source, [&] { Items.Clear(); });
  }
  // At Index when it is 0 or more, else appended.
  HRESULT STDMETHODCALLTYPE Insert(std::int32_t Index, const TRecord* Rec) override {
    if (!Rec) return E_POINTER;
    return HostCallGuard(Source, [&] {
      if (Index >= 0)
        Items.InsertItem(Index, Rec);
      else
        Items.Add(Rec);
    });
  }

  geo::TRecList Items;
};

inline constexpr char MacroAttrsListSource[] = "Список макросов";
inline constexpr char ContextMacroAttrsListSource[] = "Список контекстных макросов";

using IKxMacroAttrsListImp =
    TKxRecordListImp<IKxMacroAttrsList, IID_IKxMacroAttrsList, TKxMacroAttrs, MacroAttrsListSource>;
using IKxContextMacroAttrsListImp =
    TKxRecordListImp<IKxContextMacroAttrsList, IID_IKxContextMacroAttrsList, TKxContextMacroAttrs,
                     ContextMacroAttrsListSource>;

}  // namespace kx
