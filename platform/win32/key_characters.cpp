#include "platform/win32/key_characters.h"

#include "platform/win32/virtual_keys.h"

bool platform::characterOfKey(WPARAM virtualKey, WPARAM& character) {
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        character = virtualKey - 'A' + 'a';
        return true;
    }
    if (virtualKey >= '0' && virtualKey <= '9') {
        character = virtualKey;
        return true;
    }
    if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD0 + 9) {
        character = virtualKey - VK_NUMPAD0 + '0';
        return true;
    }
    switch (virtualKey) {
    case VK_SPACE:
    case VK_RETURN:
    case VK_BACK:
    case VK_TAB:
    case VK_ESCAPE:
        // Their characters share their codes (' ', '\r', '\b', '\t', ESC).
        character = virtualKey;
        return true;
    default:
        return false;
    }
}
