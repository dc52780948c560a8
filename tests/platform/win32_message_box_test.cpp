#include <gtest/gtest.h>

#include "platform/timer.h"
#include "win32_test_window.h"

namespace {

class MessageBoxTest : public ::testing::Test, protected win32_test::WindowTest {
protected:
    bool peek() { return PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != 0; }
    MSG msg{};
};

TEST_F(MessageBoxTest, BoxesAreRecordedAndAnsweredAtOnce) {
    backend.setTime(777);
    const char fall[] = "Beurk, tu t'es viand\xE9! c'est comique!";
    EXPECT_EQ(MessageBoxA(nullptr, fall, "AAAOUCHH!", MB_OK | MB_ICONEXCLAMATION), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, nullptr, nullptr, MB_OK), IDOK);

    ASSERT_EQ(backend.messageBoxes().size(), 2u);
    const platform::ScriptedMessageBox& box = backend.messageBoxes()[0];
    EXPECT_EQ(box.text, fall);
    EXPECT_EQ(box.text.size(), 37u);
    EXPECT_EQ(box.caption, "AAAOUCHH!");
    EXPECT_EQ(box.type, 0x30u);
    EXPECT_EQ(box.openedAt, 777u);
    // Windows shows a missing caption as "Error".
    EXPECT_EQ(backend.messageBoxes()[1].text, "");
    EXPECT_EQ(backend.messageBoxes()[1].caption, "Error");
}

TEST_F(MessageBoxTest, KeysPressedWhileABoxIsOpenNeverReachTheQueue) {
    backend.keyDown('K');  // waiting, not yet polled, when the box opens
    backend.whileBoxOpen([&](const platform::ScriptedMessageBox&) {
        EXPECT_TRUE(backend.boxOpen());
        backend.advance(3000);
        backend.keyDown('L');
        backend.keyDown('L', true);
        backend.keyUp('L');
    });
    MessageBoxA(nullptr, "BRAVO niveau suivant", "FELICITATIONS", MB_OK | MB_ICONEXCLAMATION);

    EXPECT_FALSE(backend.boxOpen());
    EXPECT_EQ(backend.droppedKeys(), 4u);
    EXPECT_EQ(timeGetTime(), 3000u);
    EXPECT_FALSE(peek());

    backend.keyDown('J');  // after the box, keys flow again
    ASSERT_TRUE(peek());
    EXPECT_EQ(msg.wParam, WPARAM{'J'});
}

TEST_F(MessageBoxTest, ACloseRequestDuringABoxGoesToTheWindowAtOnceAndItsQuitEndsTheBox) {
    std::size_t callsDuringBox = 0;
    backend.whileBoxOpen([&](const platform::ScriptedMessageBox&) {
        backend.requestClose();
        callsDuringBox = win32_test::calls().size();
    });
    MessageBoxA(nullptr, "x", "y", MB_OK);

    // Dispatched by the box, not queued: close, the default procedure's destroy, its quit.
    ASSERT_EQ(callsDuringBox, 2u);
    EXPECT_EQ(win32_test::calls()[0].message, UINT{WM_CLOSE});
    EXPECT_EQ(win32_test::calls()[0].window, window);
    EXPECT_EQ(win32_test::calls()[1].message, UINT{WM_DESTROY});
    EXPECT_TRUE(backend.messageBoxes().at(0).endedByQuit);
    ASSERT_TRUE(peek());
    EXPECT_EQ(msg.message, UINT{WM_QUIT});
    EXPECT_FALSE(peek());
}

TEST_F(MessageBoxTest, ClockWrapsAtTwoToThe32) {
    backend.setTime(0xFFFFFFF0u);
    DWORD before = timeGetTime();
    backend.advance(0x30);
    DWORD after = timeGetTime();
    EXPECT_EQ(after, 0x20u);
    EXPECT_EQ(static_cast<DWORD>(after - before), 0x30u);  // elapsed time survives the wrap

    backend.setAutoAdvance(0x20);
    PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
    EXPECT_EQ(timeGetTime(), 0x40u);
}

}  // namespace
