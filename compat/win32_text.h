// UTF-8 to UTF-16 and back for the Windows API's wide calls (Windows only).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace compat {

inline std::wstring Widen(std::string_view Text) {
  if (Text.empty()) return {};
  const int N =
      MultiByteToWideChar(CP_UTF8, 0, Text.data(), static_cast<int>(Text.size()), nullptr, 0);
  std::wstring Wide(static_cast<std::size_t>(N), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, Text.data(), static_cast<int>(Text.size()), Wide.data(), N);
  return Wide;
}

inline std::string Narrow(std::wstring_view Wide) {
  if (Wide.empty()) return {};
  const int N = WideCharToMultiByte(CP_UTF8, 0, Wide.data(), static_cast<int>(Wide.size()), nullptr,
                                    0, nullptr, nullptr);
  std::string Text(static_cast<std::size_t>(N), '\0');
  WideCharToMultiByte(CP_UTF8, 0, Wide.data(), static_cast<int>(Wide.size()), Text.data(), N,
                      nullptr, nullptr);
  return Text;
}

// The system's text for an error code, without the trailing line break.
inline std::string SystemMessage(DWORD Error) {
  wchar_t* Buffer = nullptr;
  const DWORD N = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, Error, 0, reinterpret_cast<wchar_t*>(&Buffer), 0, nullptr);
  std::wstring Text(Buffer ? Buffer : L"", N);
  if (Buffer) LocalFree(Buffer);
  while (!Text.empty() && (Text.back() == L'\n' || Text.back() == L'\r' || Text.back() == L' '))
    Text.pop_back();
  return Text.empty() ? "error " + std::to_string(Error) : Narrow(Text);
}

}  // namespace compat
