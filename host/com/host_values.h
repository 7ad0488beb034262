// Results the host hands out: ID lists, parameter lists, contours, shape
// lists and styles. Each is owned by its references.
#pragma once

#include <vector>

#include "compat/com_ptr.h"
#include "host/com/host_context.h"
#include "host/com/host_object.h"
#include "hostapi/kx_interfaces.h"

namespace host {

class THostIDsList final : public THostValue<kx::IKxIDsList, kx::IID_IKxIDsList> {
 public:
  THostIDsList(THostContextPtr Context, std::vector<TKxID> IDs)
      : FContext(std::move(Context)), FIDs(std::move(IDs)) {}

  HRESULT STDMETHODCALLTYPE GetID(std::int32_t Index, TKxID* ID) override;
  HRESULT STDMETHODCALLTYPE GetCount(std::int32_t* Count) override;

 private:
  THostContextPtr FContext;
  std::vector<TKxID> FIDs;
};

// Values are VT_I4, VT_R8 or VT_BSTR-free simple variants.
class THostParamsList final : public THostValue<kx::IKxParamsList, kx::IID_IKxParamsList> {
 public:
  THostParamsList(THostContextPtr Context, std::vector<VARIANT> Params)
      : FContext(std::move(Context)), FParams(std::move(Params)) {}

  HRESULT STDMETHODCALLTYPE GetParam(std::int32_t Index, VARIANT* Value) override;

 private:
  THostContextPtr FContext;
  std::vector<VARIANT> FParams;
};

// A host contour: a list of commands with a reading position for
// GetFirstCommand / GetNextCommand. Commands are taken as they come; they
// are checked when an object is created from them.
class THostContour final : public THostValue<kx::IKxContour, kx::IID_IKxContour> {
 public:
  explicit THostContour(THostContextPtr Context, THostCommands Commands = {})
      : FContext(std::move(Context)), FCommands(std::move(Commands)) {}

  HRESULT STDMETHODCALLTYPE Clear() override;
  HRESULT STDMETHODCALLTYPE GetFirstCommand(kx::TKxContourCommand* Cmd) override;
  HRESULT STDMETHODCALLTYPE GetNextCommand(kx::TKxContourCommand* Cmd) override;
  HRESULT STDMETHODCALLTYPE AddCommand(const kx::TKxContourCommand* Cmd) override;
  HOST_RESERVED(4)
  HOST_RESERVED(5)
  HRESULT STDMETHODCALLTYPE DeleteCommand(std::int32_t Index) override;
  HRESULT STDMETHODCALLTYPE GetCommand(std::int32_t Index, kx::TKxContourCommand* Cmd) override;
  HRESULT STDMETHODCALLTYPE GetCommandCount(std::int32_t* Count) override;

  const THostCommands& Commands() const { return FCommands; }

 private:
  THostContextPtr FContext;
  THostCommands FCommands;
  std::size_t FNext = 0;  // the command GetNextCommand returns
};

// Reads any IKxContour's commands through its interface; raises EHostError
// when the contour fails.
THostCommands ReadContour(kx::IKxContour* Contour);

class THostShapeList final : public THostValue<kx::IKxShapeList, kx::IID_IKxShapeList> {
 public:
  explicit THostShapeList(THostContextPtr Context) : FContext(std::move(Context)) {}

  HOST_RESERVED(0)
  HRESULT STDMETHODCALLTYPE AddShape(kx::IKxContour* Contour, const TKxID* StyleID) override;
  HOST_RESERVED(2)
  HOST_RESERVED(3)
  HRESULT STDMETHODCALLTYPE GetCount(std::int32_t* Count) override;
  HRESULT STDMETHODCALLTYPE GetShapeContour(std::int32_t Index, kx::IKxContour** Contour) override;
  HRESULT STDMETHODCALLTYPE GetShapeStyle(std::int32_t Index, TKxID* StyleID) override;

  struct TEntry {
    TKxID StyleID;
    compat::TComPtr<kx::IKxContour> Contour;
  };
  const std::vector<TEntry>& Entries() const { return FEntries; }
  void Add(const TKxID& StyleID, compat::TComPtr<kx::IKxContour> Contour) {
    FEntries.push_back({StyleID, std::move(Contour)});
  }

 private:
  THostContextPtr FContext;
  std::vector<TEntry> FEntries;
};

// A snapshot of one style as it was when asked for.
class THostStyleValue final : public THostValue<kx::IKxStyle, kx::IID_IKxStyle> {
 public:
  THostStyleValue(THostContextPtr Context, const THostStyle& Style)
      : FContext(std::move(Context)), FInfo(Style.Info()), FLayers(Style.Layers) {}

  HOST_RESERVED(0)
  HRESULT STDMETHODCALLTYPE GetStyleLayers(kx::IKxIDsList** Layers) override;
  HRESULT STDMETHODCALLTYPE GetStyleInfo(kx::TKxStyleInfo* Info) override;

 private:
  THostContextPtr FContext;
  kx::TKxStyleInfo FInfo;
  std::vector<TKxID> FLayers;
};

}  // namespace host
