#include <gtest/gtest.h>

#include "win32_test_window.h"

using win32_test::calls;
using win32_test::callsOf;
using win32_test::classRecord;
using win32_test::createWindow;

namespace {

class WindowsTest : public ::testing::Test {
protected:
    WindowsTest() { calls().clear(); }
    platform::ScriptedBackend backend;
};

TEST_F(WindowsTest, RegistrationRejectsBadRecordsAndTakenNames) {
    WNDCLASSEXA good = classRecord("Quorvel");
    WNDCLASSEXA wrongSize = classRecord("Other");
    wrongSize.cbSize = sizeof(WNDCLASSEXA) - 1;
    WNDCLASSEXA noProcedure = classRecord("Other", nullptr);
    WNDCLASSEXA noName = classRecord(nullptr);
    WNDCLASSEXA emptyName = classRecord("");
    WNDCLASSEXA sameNameOtherCase = classRecord("QUORVEL");

    EXPECT_NE(RegisterClassExA(&good), 0);
    EXPECT_EQ(RegisterClassExA(&good), 0);
    EXPECT_EQ(RegisterClassExA(&sameNameOtherCase), 0);
    EXPECT_EQ(RegisterClassExA(&wrongSize), 0);
    EXPECT_EQ(RegisterClassExA(&noProcedure), 0);
    EXPECT_EQ(RegisterClassExA(&noName), 0);
    EXPECT_EQ(RegisterClassExA(&emptyName), 0);
    EXPECT_EQ(RegisterClassExA(nullptr), 0);
}

TEST_F(WindowsTest, UnregisteringFreesTheName) {
    WNDCLASSEXA record = classRecord("Quorvel");
    HINSTANCE module = GetModuleHandleA(nullptr);
    ATOM first = RegisterClassExA(&record);
    ASSERT_NE(first, 0);

    EXPECT_FALSE(UnregisterClassA("Nothing", module));
    EXPECT_FALSE(UnregisterClassA(nullptr, module));
    EXPECT_TRUE(UnregisterClassA("quorvel", module));
    EXPECT_FALSE(UnregisterClassA("Quorvel", module));
    EXPECT_EQ(createWindow("Quorvel"), nullptr);
    EXPECT_TRUE(backend.windows().empty());

    ATOM second = RegisterClassExA(&record);
    EXPECT_NE(second, 0);
    EXPECT_NE(second, first);
}

TEST_F(WindowsTest, AClassWithLiveWindowsStaysRegistered) {
    WNDCLASSEXA record = classRecord("Quorvel");
    RegisterClassExA(&record);
    HWND window = createWindow("Quorvel");
    ASSERT_NE(window, nullptr);

    // The game's F1 path unregisters with its window still open.
    EXPECT_FALSE(UnregisterClassA("Quorvel", GetModuleHandleA(nullptr)));
    EXPECT_NE(createWindow("Quorvel"), nullptr);

    DestroyWindow(window);
}

TEST_F(WindowsTest, CreationAsksTheBackendForAHiddenWindow) {
    WNDCLASSEXA record = classRecord("Quorvel");
    RegisterClassExA(&record);
    HWND window = CreateWindowExA(0, "Quorvel", "Quorvel 04: Lights", WS_OVERLAPPEDWINDOW, 100, 100,
                                  300, 300, GetDesktopWindow(), nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(backend.windows().size(), 1u);
    const platform::ScriptedWindow& native = backend.windows()[0];
    EXPECT_EQ(native.title, "Quorvel 04: Lights");
    EXPECT_EQ(native.x, 100);
    EXPECT_EQ(native.y, 100);
    EXPECT_EQ(native.width, 300);
    EXPECT_EQ(native.height, 300);
    EXPECT_FALSE(native.shown);
    EXPECT_EQ(platform::nativeWindowOf(window), backend.nativeHandle(0));

    // The procedure hears of the creation before the handle is returned.
    ASSERT_EQ(calls().size(), 1u);
    EXPECT_EQ(calls()[0].message, WM_CREATE);
    EXPECT_EQ(calls()[0].window, window);

    EXPECT_FALSE(ShowWindow(window, SW_SHOWDEFAULT));  // was hidden
    EXPECT_TRUE(backend.windows()[0].shown);
    EXPECT_TRUE(ShowWindow(window, SW_SHOWDEFAULT));  // was visible
    EXPECT_TRUE(UpdateWindow(window));
}

TEST_F(WindowsTest, CreationFailsWithoutClassOrNativeWindow) {
    WNDCLASSEXA record = classRecord("Quorvel");
    RegisterClassExA(&record);
    EXPECT_EQ(createWindow("Missing"), nullptr);
    EXPECT_EQ(createWindow(nullptr), nullptr);
    backend.failWindowCreation(true);
    EXPECT_EQ(createWindow("Quorvel"), nullptr);
    EXPECT_TRUE(calls().empty());
}

LRESULT CALLBACK refusingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    win32_test::recordingProcedure(window, message, wParam, lParam);
    return message == WM_CREATE ? -1 : 0;
}

TEST_F(WindowsTest, AProcedureCanRefuseItsWindow) {
    WNDCLASSEXA record = classRecord("Refusing", refusingProcedure);
    RegisterClassExA(&record);
    EXPECT_EQ(createWindow("Refusing"), nullptr);
    ASSERT_EQ(backend.windows().size(), 1u);
    EXPECT_TRUE(backend.windows()[0].destroyed);
    EXPECT_EQ(callsOf(WM_DESTROY).size(), 1u);
}

TEST_F(WindowsTest, StaleAndForeignHandlesAreRefused) {
    WNDCLASSEXA record = classRecord("Quorvel");
    RegisterClassExA(&record);
    HWND first = createWindow("Quorvel");
    DestroyWindow(first);
    HWND second = createWindow("Quorvel");
    EXPECT_NE(first, second);  // handles are not reused

    for (HWND bad : {first, static_cast<HWND>(nullptr), GetDesktopWindow()}) {
        EXPECT_FALSE(ShowWindow(bad, SW_SHOWDEFAULT));
        EXPECT_FALSE(UpdateWindow(bad));
        EXPECT_FALSE(DestroyWindow(bad));
        EXPECT_EQ(platform::nativeWindowOf(bad), nullptr);
    }
    EXPECT_FALSE(backend.windows()[1].shown);
    EXPECT_FALSE(backend.windows()[1].destroyed);
}

TEST(ScriptedBackendLifetime, ANewBackendStartsTheLayerAfresh) {
    {
        platform::ScriptedBackend first;
        WNDCLASSEXA record = classRecord("Quorvel");
        RegisterClassExA(&record);
        ASSERT_NE(createWindow("Quorvel"), nullptr);
        PostQuitMessage(0);
    }
    EXPECT_EQ(platform::currentBackend(), nullptr);

    platform::ScriptedBackend second;
    EXPECT_EQ(platform::currentBackend(), &second);
    MSG msg{};
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    WNDCLASSEXA record = classRecord("Quorvel");
    EXPECT_NE(RegisterClassExA(&record), 0);
}

}  // namespace
