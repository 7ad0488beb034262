// The settings dialog as a native modal window: a view of
// forms::TSettingsModel with the pages' names in a list standing for the
// tree, style grids drawn through GDI, colour boxes, numeric edits and
// transparency boxes. "Закрыть" has the model save (an error keeps the
// dialog open on the failing edit's page); any other way of closing writes
// nothing.
#pragma once

#include <windows.h>

#include "addonkit/orvex_calls.h"

namespace winui {

// Loads the settings from App's store (a stored text that does not convert
// raises before anything shows) and runs the dialog modally over Owner,
// which is disabled meanwhile. True when the settings were saved.
bool ShowSettingsDialog(const kx::TOrvexApplication& App, HWND Owner);

}  // namespace winui
