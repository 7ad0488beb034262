// The base of every add-on object: its identity, its connection to the host,
// its forms and its class factory.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "addonkit/host_calls.h"
#include "compat/com_ptr.h"
#include "compat/short_string.h"
#include "hostapi/kx_interfaces.h"

namespace kx {

class TKxAddonFactory;
class TKxAddonFormLink;

inline constexpr std::uint32_t KxAddOnVersion = 260;

class TKxCustomAddon {
 public:
  // Stores the identity (Name cut to 31, Description to 63 characters), joins
  // the module's add-on list, becomes the current add-on and creates its
  // class factory, which from then on owns the add-on unless the add-on is
  // destroyed first.
  TKxCustomAddon(const GUID& ClassID, std::string_view Name, std::string_view Description,
                 std::uint32_t Flags);
  virtual ~TKxCustomAddon();
  TKxCustomAddon(const TKxCustomAddon&) = delete;
  TKxCustomAddon& operator=(const TKxCustomAddon&) = delete;

  // Operations that the host reaches through IKxAddOn, in its slot order.
  virtual void GetInfo(TKxAddOnInfo& Info);
  // Takes the host interfaces from Manager.
  virtual void Connect(IUnknown* Manager);
  // Frees the add-on's forms and releases the host interfaces.
  virtual void Disconnect();
  // A new empty list.
  virtual compat::TComPtr<IKxMacroAttrsList> GetMacros();
  virtual void ExecuteMacro(std::int32_t Index, std::int32_t Param);
  virtual void Notify(std::int32_t Code, IKxParamsList* Params);
  // False: there was no bitmap to write.
  virtual bool SaveBitmap(IStream* Stream, HBITMAP Bitmap);

  // The Description as UTF-8, the error source of the add-on's COM objects.
  std::string ErrorSource() const { return Description.ToUtf8(); }

  // Called by a form when it joins or leaves.
  void AddForm(TKxAddonFormLink* Form);
  void RemoveForm(TKxAddonFormLink* Form);
  // Frees every form, the last one first.
  void FreeForms();

  GUID ClassID;
  compat::ShortString31 Name;
  compat::ShortString63 Description;
  std::uint32_t Flags;
  std::uint32_t Version;
  TKxAddonFactory* Factory = nullptr;
  bool Connected = false;
  std::vector<TKxAddonFormLink*> Forms;  // open forms; each removes itself when destroyed

  TKxAddOnManager AddOnManager;
  TKxGISDatabase GISDatabase;
  TKxMapProject MapProject;
  TKxMapObjects MapObjects;
  TKxMapView MapView;
  TKxGeometryLib GeometryLib;
  TKxPreferences Preferences;
};

}  // namespace kx
