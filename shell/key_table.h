#pragma once
// What each key of the game does: F1 quits, J/L and I/K steer along x and z, M jumps,
// Q/D and Z/S turn the camera angles.

#include "platform/win32.h"

constexpr WPARAM keyQuit = VK_F1;
constexpr WPARAM keyLowX = 'J';
constexpr WPARAM keyHighZ = 'I';
constexpr WPARAM keyHighX = 'L';
constexpr WPARAM keyLowZ = 'K';
constexpr WPARAM keyJump = 'M';
constexpr WPARAM keyAngleAUp = 'Q';
constexpr WPARAM keyAngleADown = 'D';
constexpr WPARAM keyAngleBUp = 'Z';
constexpr WPARAM keyAngleBDown = 'S';

// Applies one key-down. Steering does nothing while the ball's wall flag on that side is set.
void ApplyKey(WPARAM key);
