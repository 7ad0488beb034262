// The module's table of mouse cursors by number, as the drawing code asks
// for them: the standard ones (negative numbers) may be replaced, custom
// ones get numbers from 1 on.
#pragma once

#include <QCursor>

#include "compat/module_resources.h"

namespace compat {

void SetScreenCursor(int Index, TCursorImage Cursor);

bool HasScreenCursor(int Index);

// The cursor stored under Index, or the standard shape for it. The image is
// turned into a cursor only here, as that needs a running application.
QCursor ScreenCursor(int Index);

}  // namespace compat
