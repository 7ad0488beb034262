// The module's bitmaps and cursors by name, and the host's windows, as the
// platform's handles: without any toolkit types, so that the add-on's core
// builds on every platform. The module carries its images as resources
// (Qt resources here, an .rc file's resources in the Windows DLL).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "compat/com.h"

namespace compat {

// A new handle for the named bitmap, or 0 when the module has no such bitmap.
HBITMAP LoadBitmapResource(std::string_view Name);

// False when the handle was not live.
bool DeleteBitmapHandle(HBITMAP Handle);

// The bitmap as the bytes of a BMP file; nothing for 0 and for a handle that
// is not a live bitmap.
std::optional<std::string> BitmapFileImage(HBITMAP Handle);

// The standard cursors' numbers in the module's cursor table; custom ones
// get numbers from 1 on.
inline constexpr int crDefault = 0;
inline constexpr int crArrow = -2;
inline constexpr int crCross = -3;

// Loads the named cursor resource into the module's cursor table under
// Index; false (the entry left as it was) when the module has no such
// cursor.
bool LoadScreenCursor(int Index, std::string_view Name);

// The title of a window of this process; empty when there is no such window.
std::string WindowTitle(HWND Window);

}  // namespace compat
