// The module's table of mouse cursors on Windows: what LoadScreenCursor put
// there, else the system's shape for the standard numbers.
#pragma once

#include <windows.h>

#include "compat/module_images.h"

namespace compat {

bool HasScreenCursor(int Index);
HCURSOR ScreenCursor(int Index);

}  // namespace compat
