// Faults a host meets: each must reach it as E_FAIL with the message set
// through IKxErrorInfo.
#include <filesystem>
#include <fstream>

#include "hostapi/orvex_interfaces.h"
#include "winhost/win_journey.h"
#include "winui/pad_controls.h"

namespace winhost {

namespace {

// A manager kept until the journey ends: the add-on may have looked at it.
host::THostComManager& FaultHost(TJourney& J, const std::wstring& SettingsFile) {
  J.FaultHosts.push_back(std::make_unique<host::THostComManager>(Utf8(SettingsFile)));
  J.Reporting = J.FaultHosts.back().get();
  return *J.FaultHosts.back();
}

// The error as the add-on reads it: IKxErrorInfo.GetLastError.
std::string ErrorInfoText(host::THostComManager& M) {
  compat::TComPtr<kx::IKxErrorInfo> Errors;
  Check(M.QueryInterface(kx::IID_IKxErrorInfo, Errors.OutVoid()), "IKxErrorInfo");
  kx::TKxText Source, Message;
  Check(Errors->GetLastError(&Source, &Message), "GetLastError");
  return Message.ToUtf8();
}

bool Contains(const std::string& Text, const char* Part) {
  return Text.find(Part) != std::string::npos;
}

// Writes a value as the add-on does (IOrvexApplication, its settings
// store) and expects the store to refuse it.
void ExpectSettingsWriteFails(host::THostComManager& M) {
  compat::TComPtr<kx::IOrvexApplication> App;
  Check(M.QueryInterface(kx::IID_IOrvexApplication, App.OutVoid()), "IOrvexApplication");
  compat::TComPtr<kx::IOrvexSettingsStore> Store;
  Check(App->GetSettingsStore(Store.Out()), "GetSettingsStore");
  const auto Key = kx::TKxText::FromUtf8("TraceBufferZoneSize");
  const auto Value = kx::TKxText::FromUtf8("25");
  Expect(Store->WriteValue(1, 0, &Key, &Value), E_FAIL, "WriteValue");
  const std::string Text = ErrorInfoText(M);
  Require(Contains(Text, "не записан"), "IKxErrorInfo holds \"" + Text + "\"");
}

}  // namespace

TSteps FaultSteps(TJourney& J) {
  TSteps S;
  S.push_back(
      {"fault: Connect to a host whose main window is unavailable", [&J] {
         host::THostComManager& M = FaultHost(J, J.WorkFolder + L"\\window.ini");
         M.FailWindowQueries(true);
         Expect(J.FactoryAddOn->Connect(static_cast<kx::IKxAddOnManager*>(&M)), E_FAIL, "Connect");
         const std::string Text = ErrorInfoText(M);
         Require(Contains(Text, "Главное окно недоступно"), "IKxErrorInfo holds \"" + Text + "\"");
       }});
  S.push_back({"fault: the host's settings in a read-only file", [&J] {
                 const std::wstring Path = J.WorkFolder + L"\\read-only.ini";
                 std::ofstream(std::filesystem::path(Path), std::ios::binary)
                     << "; Trace host settings\n\n[User]\nTraceBufferZoneSize=10\n";
                 SetFileAttributesW(Path.c_str(), FILE_ATTRIBUTE_READONLY);
                 host::THostComManager& M = FaultHost(J, Path);
                 Require(M.Settings().LoadError().empty(), M.Settings().LoadError());
                 Require(M.Settings().Value(1, "TraceBufferZoneSize") == "10", "value not read");
                 ExpectSettingsWriteFails(M);
                 SetFileAttributesW(Path.c_str(), FILE_ATTRIBUTE_NORMAL);
               }});
  S.push_back({"fault: the host's settings in a folder that cannot be made", [&J] {
                 const std::wstring File = J.WorkFolder + L"\\not-a-folder";
                 std::ofstream(std::filesystem::path(File), std::ios::binary) << "x";
                 ExpectSettingsWriteFails(FaultHost(J, File + L"\\trace\\settings.ini"));
               }});
  return S;
}

TStep CommandFaultStep(TJourney& J) {
  return {"fault: the command over a host whose settings store fails", [&J] {
            host::THostComManager& M = FaultHost(J, J.WorkFolder + L"\\store.ini");
            M.Application().FailSettingsStore(true);
            Check(J.ComAddOn->Connect(static_cast<kx::IKxAddOnManager*>(&M)), "Connect");
            Expect(J.ComAddOn->ExecuteMacro(0, 0), E_FAIL, "ExecuteMacro");
            const std::string Text = ErrorInfoText(M);
            Require(Contains(Text, "Хранилище настроек недоступно"),
                    "IKxErrorInfo holds \"" + Text + "\"");
            Require(!FindWindowW(winui::PadClassName, nullptr), "a pad window was left behind");
            Check(J.ComAddOn->Disconnect(), "Disconnect");
            Require(M.OutstandingReferences() == 0, "the add-on still holds the host's objects");
            J.Reporting = J.Manager.get();
          }};
}

}  // namespace winhost
