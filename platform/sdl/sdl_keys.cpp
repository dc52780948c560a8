#include "platform/sdl/sdl_keys.h"

#include "platform/win32/virtual_keys.h"

bool platform::virtualKeyOf(SDL_Keycode key, WPARAM& virtualKey) {
    // SDL names a letter by its lower-case character (in the player's layout, as Windows does).
    if (key >= SDLK_a && key <= SDLK_z) {
        virtualKey = static_cast<WPARAM>(key - SDLK_a + 'A');
        return true;
    }
    if (key >= SDLK_0 && key <= SDLK_9) {
        virtualKey = static_cast<WPARAM>(key);
        return true;
    }
    if (key >= SDLK_F1 && key <= SDLK_F12) {
        virtualKey = VK_F1 + static_cast<WPARAM>(key - SDLK_F1);
        return true;
    }
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) {
        virtualKey = VK_NUMPAD0 + 1 + static_cast<WPARAM>(key - SDLK_KP_1);
        return true;
    }
    switch (key) {
    case SDLK_KP_0: virtualKey = VK_NUMPAD0; return true;
    case SDLK_SPACE: virtualKey = VK_SPACE; return true;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: virtualKey = VK_RETURN; return true;
    case SDLK_ESCAPE: virtualKey = VK_ESCAPE; return true;
    case SDLK_BACKSPACE: virtualKey = VK_BACK; return true;
    case SDLK_TAB: virtualKey = VK_TAB; return true;
    case SDLK_LEFT: virtualKey = VK_LEFT; return true;
    case SDLK_UP: virtualKey = VK_UP; return true;
    case SDLK_RIGHT: virtualKey = VK_RIGHT; return true;
    case SDLK_DOWN: virtualKey = VK_DOWN; return true;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: virtualKey = VK_SHIFT; return true;
    case SDLK_LCTRL:
    case SDLK_RCTRL: virtualKey = VK_CONTROL; return true;
    case SDLK_LALT:
    case SDLK_RALT: virtualKey = VK_MENU; return true;
    default: return false;
    }
}
