#pragma once
// The game's one loop: a message or a frame, then the ball, the fall test and the keys.

#include "platform/win32.h"

// Runs until a turn has taken the quit message. `msg` starts zeroed and keeps the latest
// message taken, so a key-down acts again on every turn that finds no new message.
void RunMainLoop(MSG& msg);

// The ball below -5.0 (not at it): the fall message, then back to the level's start.
void CheckFall();
