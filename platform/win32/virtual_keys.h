#pragma once
// Virtual-key codes the backends produce beyond the game's own (letters are their upper-case
// ASCII codes, digits their ASCII codes, VK_F1 is in win32.h).

#include "platform/win32.h"

namespace platform {

constexpr WPARAM VK_BACK = 0x08;
constexpr WPARAM VK_TAB = 0x09;
constexpr WPARAM VK_RETURN = 0x0D;
constexpr WPARAM VK_SHIFT = 0x10;
constexpr WPARAM VK_CONTROL = 0x11;
constexpr WPARAM VK_MENU = 0x12;  // Alt
constexpr WPARAM VK_ESCAPE = 0x1B;
constexpr WPARAM VK_SPACE = 0x20;
constexpr WPARAM VK_LEFT = 0x25;
constexpr WPARAM VK_UP = 0x26;
constexpr WPARAM VK_RIGHT = 0x27;
constexpr WPARAM VK_DOWN = 0x28;
constexpr WPARAM VK_NUMPAD0 = 0x60;  // to 0x69 for 9
constexpr WPARAM VK_F12 = 0x7B;      // F1 to F12 are consecutive

}  // namespace platform
