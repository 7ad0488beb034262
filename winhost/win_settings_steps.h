// The settings dialog's part of the journey: opened from the pad's button,
// answered from a timer inside its modal loop as a user would (the trace
// page, a colour, a width, a refused width, "Закрыть"), and the host's
// settings store checked afterwards.
#pragma once

#include "winhost/win_journey.h"

namespace winhost {

// After the pad's steps have shown the pad.
TSteps SettingsSteps(TJourney& J);

}  // namespace winhost
