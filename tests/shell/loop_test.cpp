// The main loop through the real WinMain, driven by scripted input and a scripted clock.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "expected_texts.h"
#include "platform/timer.h"
#include "shell/device.h"
#include "shell/globals.h"
#include "shell/level_flow.h"
#include "shell/main_loop.h"
#include "shell/messages.h"
#include "shell_fixture.h"

using namespace shelltest;

namespace {

class Loop : public ShellTest {
protected:
    int runGame() { return WinMain(nullptr, nullptr, nullptr, SW_SHOWDEFAULT); }

    std::size_t boxesCaptioned(const std::string& caption) const {
        std::size_t count = 0;
        for (const platform::ScriptedMessageBox& box : backend.messageBoxes()) {
            if (box.caption == caption) ++count;
        }
        return count;
    }

    std::size_t releasesOf(IUnknown* object) const {
        std::size_t count = 0;
        for (const platform::RecordedCall* call : rec->callsNamed("Release")) {
            if (call->object == object) ++count;
        }
        return count;
    }
};

// The ball opens at (2, 2, 2): cell (2, 2), far from a goal at (0, 0).
const char* const awayFromGoal = "0 0 0  4.5 0.5 4.5  0.25 0.5";

}  // namespace

TEST_F(Loop, ClosingTheWindowReleasesOnceAndDrawsNothingAfter) {
    writeSingleLevel(flatLevel(5, 5, awayFromGoal));
    backend.setAutoAdvance(7);
    backend.at(5, [&] { backend.requestClose(); });
    EXPECT_EQ(runGame(), 0);
    ASSERT_EQ(backend.windows().size(), 1u);
    const platform::ScriptedWindow& w = backend.windows()[0];
    EXPECT_EQ(w.title, "Quorvel 04: Lights");
    EXPECT_EQ((std::vector<int>{w.x, w.y, w.width, w.height}), (std::vector<int>{100, 100, 300, 300}));
    EXPECT_TRUE(w.shown);
    EXPECT_TRUE(w.destroyed);

    // The release empties the globals; the recording still knows the objects.
    platform::RecordingVertexBuffer* cylinder = rec->vertexBuffers().back();
    EXPECT_EQ(cylinderBuffer, nullptr);
    EXPECT_EQ(releasesOf(cylinder), 1u);
    EXPECT_EQ(releasesOf(rec->direct3Ds().at(0)), 1u);
    EXPECT_TRUE(cylinder->released());
    const auto& calls = rec->calls();
    std::size_t release = 0;
    while (!(calls[release].name == "Release" && calls[release].object == cylinder)) ++release;
    for (std::size_t i = release; i < calls.size(); ++i) {
        EXPECT_NE(calls[i].name, "Clear");
        EXPECT_NE(calls[i].name, "Present");
    }
    EXPECT_EQ(rec->count("Present"), 5u);  // turns 0 to 4 found no message
    EXPECT_TRUE(rec->misuses().empty());
}

TEST_F(Loop, F1EndsWithTheWindowOpenAndNothingReleased) {
    writeSingleLevel(flatLevel(5, 5, awayFromGoal));
    backend.at(3, [&] { backend.pressKey(VK_F1); });
    backend.at(50, [&] { backend.requestClose(); });  // never reached
    EXPECT_EQ(runGame(), 0);
    EXPECT_LT(backend.polls(), 10u);
    EXPECT_TRUE(backend.windows()[0].shown);
    EXPECT_FALSE(backend.windows()[0].destroyed);
    EXPECT_EQ(rec->count("Release"), 0u);
    EXPECT_FALSE(static_cast<platform::RecordingVertexBuffer*>(cylinderBuffer)->released());
}

TEST_F(Loop, LetterActsOncePerKeyDownBecauseOfItsCharacter) {
    writeSingleLevel(flatLevel(5, 5, awayFromGoal));
    // The clock stands still, so the ball never takes a step that could change its velocity.
    backend.at(3, [&] { backend.keyDown('L'); });
    backend.at(8, [&] { backend.keyDown('L', true); });  // an auto-repeat counts again
    backend.at(12, [&] { backend.keyUp('L'); });
    backend.at(20, [&] { backend.requestClose(); });
    EXPECT_EQ(runGame(), 0);
    EXPECT_EQ(ball.velocity.x, static_cast<float>(static_cast<float>(0.0 + 0.001) + 0.001));
    EXPECT_EQ(ball.velocity.z, 0.0f);
}

TEST_F(Loop, KeyDownActsAgainOnEveryTurnWithoutAMessage) {
    writeSingleLevel(flatLevel(5, 5, awayFromGoal));
    startGame();
    backend.at(6, [&] { backend.requestClose(); });
    MSG msg{};
    msg.message = WM_KEYDOWN;
    msg.wParam = 'I';
    RunMainLoop(msg);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    // Turns 0 to 5 held the key-down as their latest message; the close came on turn 6.
    float expected = 0.0f;
    for (int turn = 0; turn < 6; ++turn) expected = static_cast<float>(expected + 0.001);
    EXPECT_EQ(rec->count("Present"), 6u);
    EXPECT_EQ(ball.velocity.z, expected);
}

TEST_F(Loop, WallFlagsOfTheTurnStopTheKeyAndAreClearedAfter) {
    // A tall tile on the high-x side of the opening cell (2, 2).
    writeSingleLevel(Level{"5 5 1.0 1.0", awayFromGoal, "0 0 0 0 0\n0 0 0 0 0\n0 0 0 0 0\n0 0 9 0 0\n0 0 0 0 0\n"});
    startGame();
    backend.at(4, [&] { backend.requestClose(); });
    MSG msg{};
    msg.message = WM_KEYDOWN;
    msg.wParam = 'L';
    RunMainLoop(msg);
    EXPECT_EQ(ball.velocity.x, 0.0f);
    EXPECT_FALSE(ball.contacts.droite);  // cleared at the end of the last turn
}

TEST(Fall, OnlyBelowMinusFiveBringsTheBoxAndTheReturn) {
    struct Case {
        float height;
        bool falls;
    };
    const Case cases[] = {{-5.0f, false},
                          {std::nextafter(-5.0f, -10.0f), true},
                          {-1000.0f, true},
                          {std::numeric_limits<float>::quiet_NaN(), false},
                          {-std::numeric_limits<float>::infinity(), true},
                          {0.0f, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.height);
        platform::ScriptedBackend backend;
        backend.setTime(1000);
        backend.whileBoxOpen([&](const platform::ScriptedMessageBox&) { backend.advance(2500); });
        gameMap.startPosition = {1.5f, 3.0f, 4.5f};
        ball.position = {7.0f, c.height, 8.0f};
        ball.velocity = {0.1f, -0.2f, 0.3f};
        ball.lastUpdate = 900;
        ball.jumpRequest = true;
        ball.radius = 1.0f;

        CheckFall();

        ASSERT_EQ(backend.messageBoxes().size(), c.falls ? 1u : 0u);
        if (!c.falls) {
            EXPECT_EQ(ball.position.x, 7.0f);
            EXPECT_EQ(ball.lastUpdate, 900u);
            continue;
        }
        const platform::ScriptedMessageBox& box = backend.messageBoxes()[0];
        EXPECT_EQ(box.text, fallText());
        EXPECT_EQ(box.text.size(), 37u);
        EXPECT_EQ(box.caption, "AAAOUCHH!");
        EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        EXPECT_EQ(box.type, 0x30u);
        expectXyz(ball.position, 1.5f, 3.0f, 4.5f);
        expectXyz(ball.velocity, 0.0f, 0.0f, 0.0f);
        EXPECT_EQ(ball.lastUpdate, 3500u);  // read after the box closed
        EXPECT_TRUE(ball.jumpRequest);
    }
}

TEST_F(Loop, BallFallingThroughAHoleIsToldOnceAndPutBackAtTheStart) {
    // The opening cell (2, 2) and its neighbours are holes; the start (4.5, 0.5, 4.5) is on solid ground.
    writeSingleLevel(Level{"5 5 1.0 1.0", awayFromGoal, "0 0 0 0 0\n0 -1 -1 -1 0\n0 -1 -1 -1 0\n0 -1 -1 -1 0\n0 0 0 0 0\n"});
    backend.setAutoAdvance(20);
    backend.at(400, [&] { backend.requestClose(); });
    EXPECT_EQ(runGame(), 0);
    ASSERT_EQ(backend.messageBoxes().size(), 1u);
    EXPECT_EQ(backend.messageBoxes()[0].caption, "AAAOUCHH!");
    EXPECT_EQ(ball.position.x, 4.5f);
    EXPECT_EQ(ball.position.z, 4.5f);
    EXPECT_GT(ball.position.y, 0.0f);
}

TEST_F(Loop, ClosingTheWindowWhileTheFallBoxIsOpenReleasesAtOnceAndEndsTheGame) {
    writeSingleLevel(Level{"5 5 1.0 1.0", awayFromGoal, "0 0 0 0 0\n0 -1 -1 -1 0\n0 -1 -1 -1 0\n0 -1 -1 -1 0\n0 0 0 0 0\n"});
    backend.setAutoAdvance(20);
    bool releasedDuringBox = false;
    backend.whileBoxOpen([&](const platform::ScriptedMessageBox&) {
        backend.requestClose();
        releasedDuringBox = cylinderBuffer == nullptr && backend.windows()[0].destroyed;
    });
    EXPECT_EQ(runGame(), 0);
    EXPECT_TRUE(releasedDuringBox);
    ASSERT_EQ(backend.messageBoxes().size(), 1u);
    EXPECT_TRUE(backend.messageBoxes()[0].endedByQuit);
    EXPECT_EQ(releasesOf(rec->direct3Ds().at(0)), 1u);
    EXPECT_TRUE(rec->misuses().empty());  // no frame drawn on the released device
}

TEST_F(Loop, GoalBringsTheNextLevelWithItsBox) {
    writeLevel("first", flatLevel(5, 5, "2 0 2  1 1 1  0 0"));  // the opening cell is in the goal area
    writeLevel("second", flatLevel(6, 7, "0 0 0  4.5 0.5 4.5  1.5 2.5"));
    writeLevelList({"first", "second"});
    backend.setAutoAdvance(20);
    backend.at(100, [&] { backend.requestClose(); });
    EXPECT_EQ(runGame(), 0);
    ASSERT_EQ(backend.messageBoxes().size(), 1u);
    EXPECT_EQ(backend.messageBoxes()[0].caption, "FELICITATIONS");
    EXPECT_EQ(backend.messageBoxes()[0].text, "BRAVO niveau suivant");
    EXPECT_EQ(currentLevel, 1);
    EXPECT_EQ(gameMap.columns, 7);
    EXPECT_EQ(currentCameraAngleA, 1.5f);
    EXPECT_NEAR(ball.position.x, 4.5f, 1e-6);
}

TEST_F(Loop, LastLevelClosingBoxComesBackWhileTheBallStaysInTheGoalArea) {
    writeSingleLevel(flatLevel(5, 5, "2 0 2  1 1 1  0 0"));
    backend.setAutoAdvance(20);
    backend.at(30, [&] { backend.requestClose(); });
    EXPECT_EQ(runGame(), 0);
    EXPECT_GE(boxesCaptioned("BONJOUR"), 10u);
    EXPECT_EQ(boxesCaptioned("BONJOUR"), backend.messageBoxes().size());
    for (const platform::ScriptedMessageBox& box : backend.messageBoxes()) {
        EXPECT_EQ(box.text, closingText());
        EXPECT_EQ(box.text.size(), 123u);
        EXPECT_EQ(box.type, 0x30u);
    }
    EXPECT_EQ(currentLevel, 0);
}
