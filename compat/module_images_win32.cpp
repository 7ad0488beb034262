// The module's images on Windows: bitmaps and cursors are resources of the
// DLL (its .rc file), loaded by name through the module's instance handle.
#include <windows.h>

#include <map>

#include "compat/module_file.h"
#include "compat/module_images.h"
#include "compat/screen_cursors_win32.h"
#include "compat/win32_text.h"

namespace compat {

namespace {

HINSTANCE Instance() {
  return static_cast<HINSTANCE>(ModuleInstance());
}

std::map<int, HCURSOR>& Cursors() {
  static std::map<int, HCURSOR> Table;
  return Table;
}

}  // namespace

HBITMAP LoadBitmapResource(std::string_view Name) {
  const std::wstring Wide = Widen(Name);
  return static_cast<HBITMAP>(
      LoadImageW(Instance(), Wide.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

bool DeleteBitmapHandle(HBITMAP Handle) {
  return Handle && GetObjectType(Handle) == OBJ_BITMAP && DeleteObject(Handle);
}

std::optional<std::string> BitmapFileImage(HBITMAP Handle) {
  BITMAP Info{};
  if (!Handle || GetObjectType(Handle) != OBJ_BITMAP || !GetObjectW(Handle, sizeof Info, &Info))
    return std::nullopt;
  // Written as a 24-bit bottom-up DIB, rows padded to 4 bytes.
  BITMAPINFOHEADER Header{};
  Header.biSize = sizeof Header;
  Header.biWidth = Info.bmWidth;
  Header.biHeight = Info.bmHeight;
  Header.biPlanes = 1;
  Header.biBitCount = 24;
  Header.biCompression = BI_RGB;
  const DWORD Stride = ((static_cast<DWORD>(Info.bmWidth) * 3 + 3) / 4) * 4;
  Header.biSizeImage = Stride * static_cast<DWORD>(Info.bmHeight);
  std::string Pixels(Header.biSizeImage, '\0');
  const HDC Screen = GetDC(nullptr);
  const int Rows = GetDIBits(Screen, Handle, 0, static_cast<UINT>(Info.bmHeight), Pixels.data(),
                             reinterpret_cast<BITMAPINFO*>(&Header), DIB_RGB_COLORS);
  ReleaseDC(nullptr, Screen);
  if (Rows != Info.bmHeight) return std::nullopt;

  BITMAPFILEHEADER File{};
  File.bfType = 0x4D42;  // "BM"
  File.bfOffBits = sizeof File + sizeof Header;
  File.bfSize = File.bfOffBits + Header.biSizeImage;
  std::string Bytes(reinterpret_cast<const char*>(&File), sizeof File);
  Bytes.append(reinterpret_cast<const char*>(&Header), sizeof Header);
  Bytes += Pixels;
  return Bytes;
}

bool LoadScreenCursor(int Index, std::string_view Name) {
  const std::wstring Wide = Widen(Name);
  const HCURSOR Cursor = LoadCursorW(Instance(), Wide.c_str());
  if (!Cursor) return false;
  Cursors()[Index] = Cursor;
  return true;
}

bool HasScreenCursor(int Index) {
  return Cursors().count(Index) > 0;
}

HCURSOR ScreenCursor(int Index) {
  const auto It = Cursors().find(Index);
  if (It != Cursors().end()) return It->second;
  return LoadCursorW(nullptr, Index == crCross ? IDC_CROSS : IDC_ARROW);
}

std::string WindowTitle(HWND Window) {
  if (!Window || !IsWindow(Window)) return {};
  const int Length = GetWindowTextLengthW(Window);
  std::wstring Text(static_cast<std::size_t>(Length) + 1, L'\0');
  Text.resize(static_cast<std::size_t>(GetWindowTextW(Window, Text.data(), Length + 1)));
  return Narrow(Text);
}

}  // namespace compat
