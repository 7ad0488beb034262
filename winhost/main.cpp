// trace-wintest Trace.dll project.json: a host on Windows, step by step,
// from registering the module to unregistering it. Exits 0 when every step
// passed, 1 at the first failure, 2 for a wrong command line.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "winhost/win_journey.h"
#include "winhost/win_pad_steps.h"
#include "winhost/win_settings_steps.h"

int main() {
  SetConsoleOutputCP(CP_UTF8);
  int Argc = 0;
  wchar_t** Argv = CommandLineToArgvW(GetCommandLineW(), &Argc);
  if (!Argv || Argc != 3) {
    std::fprintf(stderr, "usage: trace-wintest Trace.dll project.json\n");
    return 2;
  }
  const std::wstring Dll = Argv[1];
  const std::string Project = winhost::Utf8(winhost::FullPath(Argv[2]));
  LocalFree(Argv);

  // The host's settings and the faults' files, removed at the end.
  const std::filesystem::path Work = std::filesystem::temp_directory_path() /
                                     (L"trace-wintest-" + std::to_wstring(GetCurrentProcessId()));
  std::filesystem::create_directories(Work);
  int Result = 0;
  {
    winhost::TJourney Journey(Dll, Project, Work.wstring());
    winhost::TSteps Steps = Journey.Steps();
    winhost::InsertSteps(Steps, "ExecuteMacro(0)", winhost::PadSteps(Journey));
    winhost::InsertSteps(Steps, "the street's style picked in the project tree chooser",
                         winhost::SettingsSteps(Journey));
    winhost::InsertSteps(Steps, "Disconnect",
                         {winhost::PadGoneStep(), winhost::CommandFaultStep(Journey)});
    Result = winhost::RunSteps(Steps, Journey.Cleanup(), [&] { return Journey.LastError(); });
  }
  std::error_code Ignored;
  std::filesystem::remove_all(Work, Ignored);
  return Result;
}
