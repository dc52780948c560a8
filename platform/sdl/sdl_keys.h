#pragma once
// SDL key codes as Windows virtual-key codes.

#include <SDL_keycode.h>

#include "platform/win32.h"

namespace platform {

// False for a key the game could not tell apart on Windows either (it has no code here).
bool virtualKeyOf(SDL_Keycode key, WPARAM& virtualKey);

}  // namespace platform
