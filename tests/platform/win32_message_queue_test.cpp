#include <gtest/gtest.h>

#include <cstring>

#include "platform/timer.h"
#include "platform/win32/virtual_keys.h"
#include "win32_test_window.h"

using win32_test::callsOf;

namespace {

class MessageQueueTest : public ::testing::Test, protected win32_test::WindowTest {
protected:
    // What the game's loop does with the record: peek with removal over every message.
    bool peek() { return PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != 0; }

    MSG msg{};
};

TEST_F(MessageQueueTest, EmptyPeekLeavesTheRecordUntouched) {
    std::memset(&msg, 0xAB, sizeof msg);
    MSG before = msg;
    EXPECT_FALSE(peek());
    EXPECT_EQ(std::memcmp(&before, &msg, sizeof msg), 0);
}

TEST_F(MessageQueueTest, PeekRemovesKeyMessagesInOrderWithTheirFields) {
    backend.setTime(1234);
    backend.keyDown('L');
    backend.keyDown('L', true);
    backend.keyUp('L');

    struct Expected {
        UINT message;
        LPARAM lParam;
    };
    // Repeat count 1; bit 30 for a key already down; bits 30 and 31 on release.
    const Expected expected[] = {
        {WM_KEYDOWN, 0x00000001},
        {WM_KEYDOWN, 0x40000001},
        {WM_KEYUP, static_cast<LPARAM>(0xC0000001u)},
    };
    for (const Expected& e : expected) {
        ASSERT_TRUE(peek());
        EXPECT_EQ(msg.hwnd, window);
        EXPECT_EQ(msg.message, e.message);
        EXPECT_EQ(msg.wParam, WPARAM{'L'});
        EXPECT_EQ(msg.lParam, e.lParam);
        EXPECT_EQ(msg.time, 1234u);
    }
    EXPECT_FALSE(peek());
    EXPECT_EQ(msg.message, WM_KEYUP);  // still the last one taken
}

TEST_F(MessageQueueTest, TranslatePostsACharacterOnlyForCharacterKeys) {
    struct Case {
        WPARAM key;
        bool types;
        WPARAM character;
    };
    const Case cases[] = {
        {'L', true, 'l'},  {'Z', true, 'z'},    {'7', true, '7'},
        {platform::VK_SPACE, true, ' '},        {platform::VK_RETURN, true, '\r'},
        {platform::VK_NUMPAD0 + 3, true, '3'},  {VK_F1, false, 0},
        {platform::VK_LEFT, false, 0},          {platform::VK_SHIFT, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        backend.keyDown(c.key);
        ASSERT_TRUE(peek());
        EXPECT_TRUE(TranslateMessage(&msg));
        MSG keyDown = msg;
        if (c.types) {
            ASSERT_TRUE(peek());
            EXPECT_EQ(msg.message, WM_CHAR);
            EXPECT_EQ(msg.wParam, c.character);
            EXPECT_EQ(msg.hwnd, window);
            EXPECT_EQ(msg.lParam, keyDown.lParam);
        }
        EXPECT_FALSE(peek());
    }
}

TEST_F(MessageQueueTest, TranslateIgnoresKeyUpsAndOtherMessages) {
    backend.keyUp('L');
    ASSERT_TRUE(peek());
    EXPECT_TRUE(TranslateMessage(&msg));  // a key message, even with nothing to type
    EXPECT_FALSE(peek());

    MSG close{window, WM_CLOSE, 0, 0, 0, {0, 0}};
    EXPECT_FALSE(TranslateMessage(&close));
    EXPECT_FALSE(TranslateMessage(nullptr));
    EXPECT_FALSE(peek());
}

TEST_F(MessageQueueTest, CharacterComesBeforeLaterInput) {
    backend.keyDown('J');
    backend.keyDown('K');
    ASSERT_TRUE(peek());
    TranslateMessage(&msg);
    ASSERT_TRUE(peek());
    EXPECT_EQ(msg.message, WM_CHAR);
    ASSERT_TRUE(peek());
    EXPECT_EQ(msg.message, WM_KEYDOWN);
    EXPECT_EQ(msg.wParam, WPARAM{'K'});
}

TEST_F(MessageQueueTest, DispatchReachesTheClassProcedure) {
    backend.keyDown('I');
    ASSERT_TRUE(peek());
    DispatchMessageA(&msg);
    auto keys = callsOf(WM_KEYDOWN);
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].window, window);
    EXPECT_EQ(keys[0].wParam, WPARAM{'I'});
    EXPECT_EQ(keys[0].lParam, msg.lParam);
}

TEST_F(MessageQueueTest, DispatchWithoutAWindowCallsNothing) {
    MSG quit{nullptr, WM_QUIT, 0, 0, 0, {0, 0}};
    MSG stale{reinterpret_cast<HWND>(std::uintptr_t{0x7777}), WM_KEYDOWN, 'L', 1, 0, {0, 0}};
    EXPECT_EQ(DispatchMessageA(&quit), 0);
    EXPECT_EQ(DispatchMessageA(&stale), 0);
    EXPECT_EQ(DispatchMessageA(nullptr), 0);
    EXPECT_TRUE(win32_test::calls().empty());
}

TEST_F(MessageQueueTest, CloseDestroysTheWindowAndEndsInQuit) {
    backend.setTime(50);
    backend.requestClose();
    ASSERT_TRUE(peek());
    EXPECT_EQ(msg.message, WM_CLOSE);
    EXPECT_EQ(msg.hwnd, window);
    DispatchMessageA(&msg);

    ASSERT_EQ(win32_test::calls().size(), 2u);
    EXPECT_EQ(win32_test::calls()[0].message, WM_CLOSE);
    EXPECT_EQ(win32_test::calls()[1].message, WM_DESTROY);
    EXPECT_TRUE(backend.windows()[0].destroyed);
    EXPECT_EQ(platform::nativeWindowOf(window), nullptr);

    backend.setTime(60);
    ASSERT_TRUE(peek());
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_EQ(msg.wParam, 0u);
    EXPECT_EQ(msg.time, 60u);
    EXPECT_FALSE(peek());  // the quit message is taken once
}

TEST_F(MessageQueueTest, QuitComesAfterWhatIsAlreadyQueued) {
    backend.keyDown('A');
    backend.keyDown('B');
    ASSERT_TRUE(peek());  // A taken; B now waits in the queue
    PostQuitMessage(3);
    TranslateMessage(&msg);  // posts 'a'

    ASSERT_TRUE(peek());
    EXPECT_EQ(msg.message, WM_CHAR);
    ASSERT_TRUE(peek());
    EXPECT_EQ(msg.wParam, WPARAM{'B'});
    ASSERT_TRUE(peek());
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_FALSE(peek());
}

TEST_F(MessageQueueTest, QuitIsNotTakenThroughAWindowFilter) {
    PostQuitMessage(0);
    EXPECT_FALSE(PeekMessageA(&msg, window, 0, 0, PM_REMOVE));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_KEYDOWN, WM_CHAR, PM_REMOVE));
    EXPECT_TRUE(peek());
    EXPECT_EQ(msg.message, WM_QUIT);
}

TEST_F(MessageQueueTest, InputForADestroyedWindowIsDropped) {
    backend.keyDown('L');  // queued before the window goes...
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    void* native = platform::nativeWindowOf(window);
    DestroyWindow(window);
    backend.keyDown('J', false, native);  // ...and after it went

    ASSERT_TRUE(peek());
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_FALSE(peek());
}

TEST_F(MessageQueueTest, DestroyingTwiceSendsOneDestroy) {
    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_FALSE(DestroyWindow(window));
    EXPECT_EQ(callsOf(WM_DESTROY).size(), 1u);
    EXPECT_EQ(DefWindowProcA(window, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(callsOf(WM_DESTROY).size(), 1u);
}

TEST_F(MessageQueueTest, EventsInjectedOnATurnArriveWithThatPoll) {
    backend.setAutoAdvance(20);
    backend.at(2, [&] { backend.keyDown('M'); });
    EXPECT_FALSE(peek());  // turn 0
    EXPECT_FALSE(peek());  // turn 1
    ASSERT_TRUE(peek());   // turn 2
    EXPECT_EQ(msg.wParam, WPARAM{'M'});
    EXPECT_EQ(msg.time, 60u);
    EXPECT_EQ(timeGetTime(), 60u);
    EXPECT_EQ(backend.polls(), 3u);
}

TEST(MessageQueueWithoutBackend, PeekFindsNothingAndTheClockStands) {
    MSG msg{};
    EXPECT_EQ(platform::currentBackend(), nullptr);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(PeekMessageA(nullptr, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(timeGetTime(), 0u);
    EXPECT_EQ(MessageBoxA(nullptr, "x", "y", MB_OK), 0);
}

}  // namespace
