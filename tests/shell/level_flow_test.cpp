// Moving from level to level: the load, its box, the new start, and the last level's end.

#include <gtest/gtest.h>

#include "expected_texts.h"
#include "shell/globals.h"
#include "shell/key_table.h"
#include "shell/level_flow.h"
#include "shell_fixture.h"

using namespace shelltest;

namespace {

class LevelFlow : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        writeLevel("a", flatLevel(3, 4, "0 0 0  1 2 3  0.5 0.25"));
        writeLevel("b", flatLevel(5, 6, "4 1 5  2.5 3.5 4.5  1.5 -2"));
        writeLevel("c", flatLevel(7, 2, "1 0 1  0.5 1.5 0.5  -1 3"));
    }

    // The ball as the player left it when it reached the goal.
    void ballInMotion() {
        ball.position = {9.0f, 8.0f, 7.0f};
        ball.velocity = {0.01f, -0.02f, 0.03f};
        ball.lastUpdate = 12345;
        ball.jumpRequest = true;
    }
};

}  // namespace

TEST_F(LevelFlow, NextLevelIsLoadedBeforeItsBoxAndTheBallMovedAfter) {
    writeLevelList({"a", "b", "c"});
    ASSERT_TRUE(StartGame());
    ballInMotion();
    ApplyKey('Q');  // camera keys do not outlive a level change
    ApplyKey('S');

    bool seen = false;
    backend.whileBoxOpen([&](const platform::ScriptedMessageBox&) {
        seen = true;
        EXPECT_EQ(gameMap.rows, 5);
        EXPECT_EQ(gameMap.grid.size(), 30u);
        EXPECT_EQ(ball.position.x, 9.0f);
    });
    AdvanceLevel();
    EXPECT_TRUE(seen);

    ASSERT_EQ(backend.messageBoxes().size(), 1u);
    EXPECT_EQ(backend.messageBoxes()[0].text, "BRAVO niveau suivant");
    EXPECT_EQ(backend.messageBoxes()[0].caption, "FELICITATIONS");
    EXPECT_EQ(backend.messageBoxes()[0].type, 0x30u);
    EXPECT_EQ(currentLevel, 1);
    expectXyz(ball.position, 2.5f, 3.5f, 4.5f);
    expectXyz(ball.velocity, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(currentCameraAngleA, 1.5f);
    EXPECT_EQ(currentCameraAngleB, -2.0f);
    EXPECT_EQ(ball.lastUpdate, 12345u);  // unlike a fall, a level change keeps the time stamp
    EXPECT_TRUE(ball.jumpRequest);
}

TEST_F(LevelFlow, LastLevelShowsTheClosingBoxEveryTimeAndChangesNothing) {
    writeLevelList({"a", "b", "c"});
    ASSERT_TRUE(StartGame());
    AdvanceLevel();
    AdvanceLevel();
    ASSERT_EQ(currentLevel, 2);
    ballInMotion();
    const float angleA = currentCameraAngleA;
    for (int goal = 0; goal < 3; ++goal) AdvanceLevel();

    ASSERT_EQ(backend.messageBoxes().size(), 5u);
    for (std::size_t i = 2; i < 5; ++i) {
        const platform::ScriptedMessageBox& box = backend.messageBoxes()[i];
        EXPECT_EQ(box.caption, "BONJOUR");
        EXPECT_EQ(box.text, closingText());
        EXPECT_EQ(box.text.size(), 123u);
        EXPECT_EQ(static_cast<unsigned char>(box.text[32]), 0xE9u);
        EXPECT_EQ(box.type, 0x30u);
    }
    EXPECT_EQ(currentLevel, 2);
    EXPECT_EQ(gameMap.rows, 7);
    EXPECT_EQ(ball.position.x, 9.0f);
    EXPECT_EQ(ball.velocity.z, 0.03f);
    EXPECT_EQ(currentCameraAngleA, angleA);
}

TEST_F(LevelFlow, SingleLevelListEndsAtTheFirstGoal) {
    writeLevelList({"b"});
    ASSERT_TRUE(StartGame());
    AdvanceLevel();
    ASSERT_EQ(backend.messageBoxes().size(), 1u);
    EXPECT_EQ(backend.messageBoxes()[0].caption, "BONJOUR");
    EXPECT_EQ(currentLevel, 0);
}

TEST_F(LevelFlow, EmptyEntryReplaysThePreviousLevelsGrid) {
    writeText("map/jeu.txt", "map/a.txt\n\nmap/c.txt\n");
    ASSERT_TRUE(StartGame());
    AdvanceLevel();
    EXPECT_EQ(currentLevel, 1);
    ASSERT_EQ(backend.messageBoxes().size(), 1u);
    EXPECT_EQ(backend.messageBoxes()[0].caption, "FELICITATIONS");
    EXPECT_EQ(gameMap.rows, 3);
    EXPECT_EQ(gameMap.grid.size(), 12u);
    EXPECT_EQ(ball.position.z, 3.0f);
}

TEST_F(LevelFlow, WithoutALevelListNothingIsIndexed) {
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(StartGame());
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("map/jeu.txt"), std::string::npos);
    AdvanceLevel();  // a goal with no list at all changes nothing and shows nothing
    EXPECT_EQ(currentLevel, 0);
    EXPECT_TRUE(backend.messageBoxes().empty());
    EXPECT_TRUE(gameMap.grid.empty());
}
