#pragma once
// Which keys type a character (what TranslateMessage turns into WM_CHAR).

#include "platform/win32.h"

namespace platform {

// True, with the character code, for a key that types one; false for F1, arrows, Shift...
// No modifier state is kept, so letters come out lower-case as without Shift.
bool characterOfKey(WPARAM virtualKey, WPARAM& character);

}  // namespace platform
