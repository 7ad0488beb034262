#include "addonkit/custom_addon.h"

#include <algorithm>

#include "addonkit/addon_factory.h"
#include "addonkit/addon_form_link.h"
#include "addonkit/com_server.h"
#include "addonkit/hresult_error.h"
#include "addonkit/macro_attrs_list.h"
#include "addonkit/module_state.h"
#include "compat/module_images.h"

namespace kx {

namespace {

template <class T>
compat::TComPtr<T> Take(IUnknown* Manager, const GUID& Iid) {
  T* Raw = nullptr;
  if (FAILED(Manager->QueryInterface(Iid, reinterpret_cast<void**>(&Raw))) || !Raw)
    throw EIntfCastError("Interface not supported");
  return compat::TComPtr<T>::Attach(Raw);
}

constexpr int MaxApplicationTitle = 1024;

// The first Count characters of UTF-8 Text.
std::string Utf8Prefix(const std::string& Text, int Count) {
  std::size_t End = 0;
  for (int N = 0; End < Text.size() && N < Count; ++N) {
    ++End;
    while (End < Text.size() && (static_cast<unsigned char>(Text[End]) & 0xC0) == 0x80) ++End;
  }
  return Text.substr(0, End);
}

}  // namespace

TKxCustomAddon::TKxCustomAddon(const GUID& AClassID, std::string_view AName,
                               std::string_view ADescription, std::uint32_t AFlags)
    : ClassID(AClassID),
      Name(compat::ShortString31::FromUtf8(AName)),
      Description(compat::ShortString63::FromUtf8(ADescription)),
      Flags(AFlags),
      Version(KxAddOnVersion) {
  TKxModuleState& State = ModuleState();
  State.AddOns.push_back(this);
  State.CurrentAddon = this;
  try {
    Factory = EnsureComServer().AddFactory(std::make_unique<TKxAddonFactory>(this));
  } catch (...) {
    State.AddOns.pop_back();
    State.CurrentAddon = nullptr;
    throw;
  }
}

TKxCustomAddon::~TKxCustomAddon() {
  if (Factory) Factory->DetachAddon();
  Factory = nullptr;
  FreeForms();
  TKxModuleState& State = ModuleState();
  if (State.CurrentAddon == this) State.CurrentAddon = nullptr;
  std::erase(State.AddOns, this);
}

void TKxCustomAddon::GetInfo(TKxAddOnInfo& Info) {
  Info.ClassID = ClassID;
  Info.Name = Name;
  Info.Description = Description;
  Info.Flags = Flags;
  Info.Version = Version;
}

void TKxCustomAddon::Connect(IUnknown* AManager) {
  if (!AManager) throw EIntfCastError("Interface not supported");
  TKxModuleState& State = ModuleState();
  // The error interface comes first so that a failure below reaches the host.
  State.ErrorInfo = Take<IKxErrorInfo>(AManager, IID_IKxErrorInfo);
  // The rest is taken into locals so that a missing interface leaves the
  // add-on as it was.
  TKxAddOnManager NewManager(Take<IKxAddOnManager>(AManager, IID_IKxAddOnManager));
  TKxGISDatabase NewDatabase(Take<IKxGISDatabase>(AManager, IID_IKxGISDatabase));
  TKxMapProject NewProject(Take<IKxMapProject>(AManager, IID_IKxMapProject));
  TKxMapObjects NewObjects(Take<IKxMapObjects>(AManager, IID_IKxMapObjects));
  TKxMapView NewView(Take<IKxMapView>(AManager, IID_IKxMapView));
  TKxGeometryLib NewGeometry(Take<IKxGeometryLib>(AManager, IID_IKxGeometryLib));
  TKxPreferences NewPreferences(Take<IKxPreferences>(AManager, IID_IKxPreferences));

  const HWND AppWindow = NewManager.GetApplicationWindow();
  const std::string Title = Utf8Prefix(compat::WindowTitle(AppWindow), MaxApplicationTitle);
  const HWND MainWindow = NewManager.GetMainWindow();

  AddOnManager = std::move(NewManager);
  GISDatabase = std::move(NewDatabase);
  MapProject = std::move(NewProject);
  MapObjects = std::move(NewObjects);
  MapView = std::move(NewView);
  GeometryLib = std::move(NewGeometry);
  Preferences = std::move(NewPreferences);
  State.ApplicationWindow = AppWindow;
  State.ApplicationTitle = Title;
  State.FormParentWindow = MainWindow;
  Connected = true;
  State.CurrentAddon = this;
}

void TKxCustomAddon::Disconnect() {
  FreeForms();
  Connected = false;
  TKxModuleState& State = ModuleState();
  State.FormParentWindow = 0;
  State.ApplicationWindow = 0;
  AddOnManager.Release();
  GISDatabase.Release();
  MapProject.Release();
  MapObjects.Release();
  MapView.Release();
  GeometryLib.Release();
  Preferences.Release();
  State.ErrorInfo.Reset();
}

compat::TComPtr<IKxMacroAttrsList> TKxCustomAddon::GetMacros() {
  return compat::TComPtr<IKxMacroAttrsList>(new IKxMacroAttrsListImp);
}

void TKxCustomAddon::ExecuteMacro(std::int32_t, std::int32_t) {}

void TKxCustomAddon::Notify(std::int32_t, IKxParamsList*) {}

bool TKxCustomAddon::SaveBitmap(IStream*, HBITMAP) {
  return false;
}

void TKxCustomAddon::AddForm(TKxAddonFormLink* Form) {
  Forms.push_back(Form);
}

void TKxCustomAddon::RemoveForm(TKxAddonFormLink* Form) {
  std::erase(Forms, Form);
}

void TKxCustomAddon::FreeForms() {
  // Each form leaves the list in its destructor.
  while (!Forms.empty()) {
    TKxAddonFormLink* Form = Forms.back();
    delete Form;
    if (!Forms.empty() && Forms.back() == Form) Forms.pop_back();
  }
}

TKxAddonFormLink::TKxAddonFormLink() : FAddon(ModuleState().CurrentAddon) {
  if (FAddon) FAddon->AddForm(this);
}

TKxAddonFormLink::~TKxAddonFormLink() {
  if (FAddon) FAddon->RemoveForm(this);
}

}  // namespace kx
