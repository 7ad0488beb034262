// The trace pad's part of the journey: the command's pad driven through its
// controls, a street's zone added, a trace clicked in view pixels, a style
// picked in the chooser, the object created and checked command by command,
// and a creation that the host refuses.
#pragma once

#include "winhost/win_journey.h"

namespace winhost {

// After the command: the pad's steps.
TSteps PadSteps(TJourney& J);
// After Disconnect: the add-on freed its forms.
TStep PadGoneStep();

}  // namespace winhost
