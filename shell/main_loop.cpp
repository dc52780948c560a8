#include "shell/main_loop.h"

#include "platform/timer.h"
#include "shell/frame.h"
#include "shell/globals.h"
#include "shell/key_table.h"
#include "shell/level_flow.h"
#include "shell/messages.h"

namespace {

constexpr double fallHeight = -5.0;

}  // namespace

void CheckFall() {
    if (!(ball.position.y < fallHeight)) {
        return;
    }
    MessageBoxA(nullptr, messages::fallText, messages::fallCaption, MB_OK | MB_ICONEXCLAMATION);
    ReturnBallToStart();
    // Read after the box closed, so the time it was open is not integrated as motion.
    ball.lastUpdate = timeGetTime();
}

void RunMainLoop(MSG& msg) {
    while (msg.message != WM_QUIT) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else {
            DrawFrame();
        }

        if (!ball.update(&gameMap, timeGetTime())) {
            AdvanceLevel();
        }
        CheckFall();
        if (msg.message == WM_KEYDOWN) {
            ApplyKey(msg.wParam);
        }
        ball.contacts.clear();
    }
}
