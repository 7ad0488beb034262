#include "winhost/win_journey.h"

#include <algorithm>
#include <filesystem>

#include "compat/guid.h"
#include "compat/registry.h"
#include "compat/win32_text.h"
#include "host/com/addon_registry.h"
#include "host/com/memory_stream.h"
#include "host/model/project_file.h"

namespace winhost {

std::string HostLastError(host::THostComManager& Manager) {
  const std::string Message = Manager.ErrorInfo().MessageUtf8();
  const std::string Source = Manager.ErrorInfo().SourceUtf8();
  if (Message.empty() && Source.empty()) return {};
  return Message + " [" + Source + "]";
}

TJourney::TJourney(const std::wstring& Dll, std::string Project, std::wstring Work)
    : DllPath(FullPath(Dll)), ProjectPath(std::move(Project)), WorkFolder(std::move(Work)) {}

TJourney::~TJourney() = default;

std::string TJourney::LastError() {
  return Reporting ? HostLastError(*Reporting) : std::string();
}

std::wstring TJourney::ClassKey() const {
  return std::wstring(L"CLSID\\") + TraceClassID;
}

std::wstring TJourney::AddOnKey() const {
  return std::wstring(L"Software\\Tavlo\\GIS\\AddOns\\") + TraceClassID;
}

void TJourney::CheckClassRegistered() const {
  const auto Description = RegString(HKEY_CLASSES_ROOT, ClassKey(), nullptr);
  Require(
      Description == Wide(TraceDescription),
      "HKCR\\" + Utf8(ClassKey()) + " default value: \"" + Utf8(Description.value_or(L"")) + "\"");
  // The module's full path, short when it holds a blank.
  std::wstring Expected = DllPath;
  if (Expected.find(L' ') != std::wstring::npos) Expected = ShortPath(Expected);
  const auto Server = RegString(HKEY_CLASSES_ROOT, ClassKey() + L"\\InprocServer32", nullptr);
  Require(Server && SameText(*Server, Expected),
          "InprocServer32: \"" + Utf8(Server.value_or(L"")) + "\", not \"" + Utf8(Expected) + "\"");
  for (const std::wstring& Name :
       RegValueNames(HKEY_CLASSES_ROOT, ClassKey() + L"\\InprocServer32"))
    Require(!SameText(Name, L"ThreadingModel"), "InprocServer32 has a ThreadingModel value");
  for (const std::wstring& Name : RegSubKeys(HKEY_CLASSES_ROOT, ClassKey()))
    Require(!SameText(Name, L"ProgID") && !SameText(Name, L"VersionIndependentProgID"),
            "the class has a ProgID");
}

void TJourney::CheckAddOnKey() const {
  const auto Description = RegString(HKEY_LOCAL_MACHINE, AddOnKey(), nullptr);
  Require(
      Description == Wide(TraceDescription),
      "HKLM\\" + Utf8(AddOnKey()) + " default value: \"" + Utf8(Description.value_or(L"")) + "\"");
  const auto Active = RegString(HKEY_LOCAL_MACHINE, AddOnKey(), L"Active");
  Require(Active == std::wstring(L"1"), "Active: \"" + Utf8(Active.value_or(L"(none)")) + "\"");
}

void TJourney::CheckInfo(kx::IKxAddOn* AddOn, const char* Which) const {
  kx::TKxAddOnInfo Info{};
  Check(AddOn->GetInfo(&Info), std::string("GetInfo of the object ") + Which);
  Require(compat::GuidToString(Info.ClassID) == Utf8(TraceClassID),
          std::string("ClassID ") + compat::GuidToString(Info.ClassID));
  Require(Info.Name.ToUtf8() == TraceName, "Name \"" + Info.Name.ToUtf8() + "\"");
  Require(Info.Description.ToUtf8() == TraceDescription,
          "Description \"" + Info.Description.ToUtf8() + "\"");
}

TSteps TJourney::Steps() {
  const std::wstring Quoted = L"\"" + DllPath + L"\"";
  TSteps S;
  S.push_back({"regsvr32 /s Trace.dll", [=] {
                 const DWORD Code = RunProcess(L"regsvr32.exe /s " + Quoted);
                 Require(Code == 0, "regsvr32 exited with " + std::to_string(Code));
               }});
  S.push_back({"HKCR\\CLSID\\{ClassID}: description, InprocServer32, no ProgID or ThreadingModel",
               [this] { CheckClassRegistered(); }});
  S.push_back({"LoadLibraryW Trace.dll and its entry points", [this] {
                 Module = std::make_unique<host::THostModule>(Utf8(DllPath));
                 const auto* Exported =
                     static_cast<const GUID*>(Module->Symbol("CLSID_TraceAddOn"));
                 Require(Exported != nullptr, "no export CLSID_TraceAddOn");
                 ClassID = *Exported;
                 Require(compat::GuidToString(ClassID) == Utf8(TraceClassID),
                         "CLSID_TraceAddOn is " + compat::GuidToString(ClassID));
               }});
  S.push_back({"KxDllRegisterAddOn(nullptr, 1)", [this] {
                 Check(Module->KxDllRegisterAddOn(nullptr, 1), "KxDllRegisterAddOn");
                 CheckAddOnKey();
               }});
  S.push_back({"the host's add-on registry lists it active, with its module", [this] {
                 const compat::TRegistry Registry;
                 const auto Entries = host::FindAddOns(Registry);
                 const auto It = std::find_if(Entries.begin(), Entries.end(),
                                              [&](const auto& E) { return E.ClassID == ClassID; });
                 Require(It != Entries.end(),
                         "not among " + std::to_string(Entries.size()) + " registered add-ons");
                 Require(It->Active, "not active");
                 Require(It->Description == TraceDescription, "description " + It->Description);
                 Require(SameText(FullPath(Wide(It->ModulePath)), DllPath) ||
                             SameText(Wide(It->ModulePath), ShortPath(DllPath)),
                         "module " + It->ModulePath);
               }});
  S.push_back({"CoInitialize", [this] {
                 Check(CoInitialize(nullptr), "CoInitialize");
                 ComInitialized = true;
               }});
  S.push_back({"DllGetClassObject -> IClassFactory -> CreateInstance(IKxAddOn)", [this] {
                 compat::TComPtr<IClassFactory> Factory;
                 Check(Module->DllGetClassObject(ClassID, IID_IClassFactory, Factory.OutVoid()),
                       "DllGetClassObject");
                 Check(Factory->CreateInstance(nullptr, kx::IID_IKxAddOn, FactoryAddOn.OutVoid()),
                       "CreateInstance");
                 Require(FactoryAddOn.Get() != nullptr, "no object");
               }});
  S.push_back({"CoCreateInstance(CLSID, CLSCTX_INPROC_SERVER, IID_IKxAddOn)", [this] {
                 Check(CoCreateInstance(ClassID, nullptr, CLSCTX_INPROC_SERVER, kx::IID_IKxAddOn,
                                        ComAddOn.OutVoid()),
                       "CoCreateInstance");
                 Require(ComAddOn.Get() != nullptr && ComAddOn.Get() != FactoryAddOn.Get(),
                         "not a second object");
               }});
  S.push_back({"GetInfo of both objects", [this] {
                 CheckInfo(FactoryAddOn.Get(), "from the factory");
                 CheckInfo(ComAddOn.Get(), "from COM");
               }});
  for (TStep& F : FaultSteps(*this)) S.push_back(std::move(F));
  S.push_back({"Connect over the host's manager with the project", [this] {
                 Window = std::make_unique<TMainWindow>();
                 Require(Window->Handle() != nullptr,
                         "no main window: " + compat::SystemMessage(GetLastError()) +
                             " (under Wine it needs a display: xvfb-run)");
                 Manager = std::make_unique<host::THostComManager>(
                     Utf8(WorkFolder + L"\\settings.ini"), Window->Handle());
                 Reporting = Manager.get();
                 Manager->Project() = host::LoadProjectFile(ProjectPath);
                 Manager->MapView().ZoomToProject();
                 Check(ComAddOn->Connect(static_cast<kx::IKxAddOnManager*>(Manager.get())),
                       "Connect");
               }});
  S.push_back({"GetMacros: one command, Trace", [this] {
                 compat::TComPtr<kx::IKxMacroAttrsList> List;
                 Check(ComAddOn->GetMacros(List.Out()), "GetMacros");
                 std::int32_t Count = 0;
                 Check(List->GetCount(&Count), "GetCount");
                 Require(Count == 1, std::to_string(Count) + " commands");
                 Check(List->GetItem(0, &Macro), "GetItem");
                 Require(Macro.Ident.ToUtf8() == "Trace", "Ident " + Macro.Ident.ToUtf8());
                 Require(Macro.Image != 0, "no image");
               }});
  S.push_back(
      {"SaveBitmap into the host's memory stream", [this] {
         auto Stream =
             compat::TComPtr<host::THostMemoryStream>::Attach(host::THostMemoryStream::Create());
         Expect(ComAddOn->SaveBitmap(Stream.Get(), compat::HandleFromField<HBITMAP>(Macro.Image)),
                S_OK, "SaveBitmap");
         const auto& D = Stream->Data();
         Require(D.size() > 6, "stream of " + std::to_string(D.size()) + " bytes");
         const std::uint32_t Length =
             D[0] | (D[1] << 8) | (D[2] << 16) | (static_cast<std::uint32_t>(D[3]) << 24);
         Require(Length == D.size() - 4, "length prefix " + std::to_string(Length) + " for " +
                                             std::to_string(D.size() - 4));
         Require(D[4] == 'B' && D[5] == 'M', "not a BMP file");
       }});
  S.push_back(
      {"fault: SaveBitmap into a full stream", [this] {
         auto Full =
             compat::TComPtr<host::THostMemoryStream>::Attach(host::THostMemoryStream::Create());
         Full->SetCapacity(10);
         Manager->ErrorInfo().Clear();
         Expect(ComAddOn->SaveBitmap(Full.Get(), compat::HandleFromField<HBITMAP>(Macro.Image)),
                E_FAIL, "SaveBitmap");
         Require(Manager->ErrorInfo().MessageUtf8() == "Ошибка при записи в OLE-поток",
                 "IKxErrorInfo holds \"" + Manager->ErrorInfo().MessageUtf8() + "\"");
       }});
  S.push_back({"ExecuteMacro(0)", [this] { Check(ComAddOn->ExecuteMacro(0, 0), "ExecuteMacro"); }});
  S.push_back({"Disconnect", [this] { Check(ComAddOn->Disconnect(), "Disconnect"); }});
  S.push_back({"release every object", [this] {
                 // As a host unloading its add-ons, it lets go of the editor
                 // the add-on left in its view.
                 Manager->MapView().DropEditor();
                 FactoryAddOn.Reset();
                 ComAddOn.Reset();
                 Require(Manager->OutstandingReferences() == 0,
                         std::to_string(Manager->OutstandingReferences()) +
                             " references to the host's objects remain");
               }});
  S.push_back({"DllCanUnloadNow == S_OK",
               [this] { Expect(Module->DllCanUnloadNow(), S_OK, "DllCanUnloadNow"); }});
  S.push_back({"CoFreeUnusedLibraries, CoUninitialize and FreeLibrary", [this] {
                 // COM lets go of the module it loaded once the module says it
                 // can be unloaded; the host's own load goes last.
                 CoFreeUnusedLibrariesEx(0, 0);
                 CoUninitialize();
                 ComInitialized = false;
                 Require(Module->TryUnload(), "the module would not unload");
                 Module.reset();
                 Require(GetModuleHandleW(DllPath.c_str()) == nullptr, "Trace.dll still loaded");
               }});
  S.push_back({"regsvr32 /u /s Trace.dll: the class is gone", [=, this] {
                 const DWORD Code = RunProcess(L"regsvr32.exe /u /s " + Quoted);
                 Require(Code == 0, "regsvr32 /u exited with " + std::to_string(Code));
                 Require(!RegKeyExists(HKEY_CLASSES_ROOT, ClassKey()),
                         "HKCR\\" + Utf8(ClassKey()) + " is still there");
               }});
  S.push_back({"uninstall: the add-on key removed", [this] {
                 const LSTATUS Status = RegDeleteTreeW(HKEY_LOCAL_MACHINE, AddOnKey().c_str());
                 Check(HRESULT_FROM_WIN32(static_cast<DWORD>(Status)), "RegDeleteTreeW");
                 Require(!RegKeyExists(HKEY_LOCAL_MACHINE, AddOnKey()),
                         "the add-on key is still there");
               }});
  return S;
}

TSteps TJourney::Cleanup() {
  const std::wstring Quoted = L"\"" + DllPath + L"\"";
  return {
      {"release",
       [this] {
         FactoryAddOn.Reset();
         ComAddOn.Reset();
         if (ComInitialized) CoUninitialize();
         ComInitialized = false;
       }},
      {"unregister", [=] { RunProcess(L"regsvr32.exe /u /s " + Quoted); }},
      {"remove the add-on key", [this] { RegDeleteTreeW(HKEY_LOCAL_MACHINE, AddOnKey().c_str()); }},
  };
}

}  // namespace winhost
