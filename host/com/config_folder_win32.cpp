#include <windows.h>
// After windows.h, which it needs.
#include <shlobj.h>

#include "compat/win32_text.h"
#include "host/com/config_folder.h"

namespace host {

std::string UserConfigFolder() {
  wchar_t* Folder = nullptr;
  std::string Result = ".";
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &Folder)) && Folder)
    Result = compat::Narrow(Folder);
  CoTaskMemFree(Folder);
  return Result;
}

}  // namespace host
