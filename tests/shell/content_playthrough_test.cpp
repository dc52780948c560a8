// The shipped game played from its opening to its closing message through the real WinMain, in a
// copy of game/: the key scripts of content/level_scripts.h are pressed through the scripted
// backend at their times, so every press goes through the queue, the translation and the key
// step as a player's would. One deliberate fall on the way.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "content/level_scripts.h"
#include "expected_texts.h"
#include "platform/d3d9/recording_device.h"
#include "platform/win32.h"
#include "platform/win32/scripted_backend.h"
#include "shell/globals.h"
#include "shell/level_flow.h"

namespace {

namespace fs = std::filesystem;

struct Box {
    std::string caption;
    std::string text;
};

const Box nextLevelBox{"FELICITATIONS", "BRAVO niveau suivant"};
const Box fallBox{"AAAOUCHH!", shelltest::fallText()};
const Box closingBox{"BONJOUR", shelltest::closingText()};

// The boxes a player sees who wins every level and falls once on the way.
std::vector<Box> expectedBoxes(std::size_t levels, std::size_t fallLevel) {
    std::vector<Box> boxes;
    for (std::size_t level = 0; level < levels; ++level) {
        if (level == fallLevel) boxes.push_back(fallBox);
        boxes.push_back(level + 1 < levels ? nextLevelBox : closingBox);
    }
    return boxes;
}

// What the player does between two boxes: a key script, timed from the moment play began.
struct Phase {
    const std::vector<content::KeyPress>* keys = nullptr;
    std::uint32_t limitMs = 0;
    bool toFall = false;
    std::size_t nextKey = 0;
    DWORD began = 0;
    int goalRow = 0;  // of the level being played, kept for when the next one has replaced it
    int goalColumn = 0;
};

// Plays the game in reply to what the backend sees: one key per turn when it is due, and a
// player's reading time for each box before dismissing it.
class Player {
public:
    Player(platform::ScriptedBackend& backend, platform::Recording& rec, std::vector<DWORD> clockSteps)
        : backend_(backend), rec_(rec), steps_(std::move(clockSteps)) {
        backend_.onPoll([this](unsigned turn) { onTurn(turn); });
        backend_.whileBoxOpen([this](const platform::ScriptedMessageBox& box) { onBox(box); });
    }

    std::size_t level = 0;
    bool fell = false;
    bool closed = false;
    std::size_t frames = 0;

private:
    static constexpr DWORD readingMs = 1500;  // well under the ~10 s a next-level box may stay open
    static constexpr DWORD slackMs = 2000;    // past a phase's limit before the run is given up

    void onTurn(unsigned turn) {
        // The device log would grow by a frame's calls every turn; count the frames and let it go.
        frames += rec_.count("Present");
        rec_.clearCalls();
        if (closed) return;  // the window goes at once, before the clock could bring another box
        backend_.advance(steps_[turn % steps_.size()]);

        if (turn == 0) begin(winningOrFall());
        if (checkStart_) {
            checkStart_ = false;
            // Put back by the turn that showed the box, not yet moved by a step.
            EXPECT_EQ(ball.position.x, gameMap.startPosition.x);
            EXPECT_EQ(ball.position.y, gameMap.startPosition.y);
            EXPECT_EQ(ball.position.z, gameMap.startPosition.z);
            EXPECT_EQ(ball.velocity.x, 0.0f);
            EXPECT_EQ(ball.velocity.y, 0.0f);
            EXPECT_EQ(ball.velocity.z, 0.0f);
        }

        const DWORD elapsed = backend_.time() - phase_.began;
        if (elapsed > phase_.limitMs + slackMs) {
            ADD_FAILURE() << "level " << level << ": no " << (phase_.toFall ? "fall" : "goal") << " after "
                          << elapsed << " ms; ball at (" << ball.position.x << ", " << ball.position.y << ", "
                          << ball.position.z << ")";
            quit();
            return;
        }
        const std::vector<content::KeyPress>& keys = *phase_.keys;
        if (phase_.nextKey < keys.size() && elapsed >= keys[phase_.nextKey].atMs) {
            backend_.pressKey(static_cast<WPARAM>(keys[phase_.nextKey].key));
            ++phase_.nextKey;
        }
    }

    void onBox(const platform::ScriptedMessageBox& box) {
        if (closed) return;
        const DWORD elapsed = backend_.time() - phase_.began;
        if (box.caption == fallBox.caption) {
            EXPECT_TRUE(phase_.toFall) << "a fall on level " << level << " at " << elapsed << " ms";
            EXPECT_LE(elapsed, phase_.limitMs) << "the fall on level " << level;
            EXPECT_LT(ball.position.y, -5.0f);
            fell = true;
            backend_.advance(readingMs);
            begin(content::winningScripts().at(level));
            checkStart_ = true;
            return;
        }

        // A goal: the cell the step tested is in the goal area of the level just played.
        EXPECT_FALSE(phase_.toFall) << "level " << level << " won instead of the fall";
        EXPECT_LE(elapsed, phase_.limitMs) << "the goal of level " << level;
        EXPECT_GE(ball.contacts.row, phase_.goalRow - 1);
        EXPECT_LE(ball.contacts.row, phase_.goalRow + 1);
        EXPECT_GE(ball.contacts.column, phase_.goalColumn);
        EXPECT_LE(ball.contacts.column, phase_.goalColumn + 1);

        if (box.caption == closingBox.caption) {
            EXPECT_EQ(level + 1, content::winningScripts().size());
            quit();
            return;
        }
        ++level;
        EXPECT_EQ(static_cast<std::size_t>(currentLevel), level);
        if (level >= content::winningScripts().size()) {
            ADD_FAILURE() << "a next-level box on the last level";
            quit();
            return;
        }
        backend_.advance(readingMs);
        begin(winningOrFall());
        checkStart_ = true;
    }

    Phase winningOrFall() const {
        Phase next;
        const content::FallScript& fall = content::fallScript();
        if (level == fall.level && !fell) {
            next.keys = &fall.keys;
            next.limitMs = fall.fallWithinMs;
            next.toFall = true;
        } else {
            const content::LevelScript& win = content::winningScripts().at(level);
            next.keys = &win.keys;
            next.limitMs = win.goalWithinMs;
        }
        return next;
    }

    void begin(const content::LevelScript& win) {
        Phase next;
        next.keys = &win.keys;
        next.limitMs = win.goalWithinMs;
        begin(next);
    }

    // Play of a level begins now: the clock after the box was read, or the game's first turn.
    void begin(Phase next) {
        phase_ = next;
        phase_.began = backend_.time();
        phase_.goalRow = gameMap.goalRow;
        phase_.goalColumn = gameMap.goalColumn;
    }

    // A close request is kept while a box is open, unlike a key.
    void quit() {
        closed = true;
        backend_.requestClose();
    }

    platform::ScriptedBackend& backend_;
    platform::Recording& rec_;
    std::vector<DWORD> steps_;
    Phase phase_;
    bool checkStart_ = false;
};

class ContentPlaythrough : public ::testing::TestWithParam<std::vector<DWORD>> {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quorvel-play-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        fs::copy(fs::path(QUORVEL_SOURCE_DIR) / "game", dir, fs::copy_options::recursive);
        fs::remove_all(dir / "log");  // whatever a game run left there
        fs::create_directory(dir / "log");
        previous = fs::current_path();
        fs::current_path(dir);
        rec = &platform::installRecordingDirect3D();
        // The game starts long after the machine did, as the real clock would have it.
        backend.setTime(3600000);
    }

    void TearDown() override {
        gameMap.clear();
        fs::current_path(previous);
        fs::remove_all(dir);
    }

    platform::ScriptedBackend backend;
    platform::Recording* rec = nullptr;

private:
    fs::path dir;
    fs::path previous;
};

TEST_P(ContentPlaythrough, EveryLevelToTheClosingMessageWithOneFall) {
    Player player(backend, *rec, GetParam());
    ASSERT_EQ(WinMain(nullptr, nullptr, nullptr, SW_SHOWDEFAULT), 0);

    const std::size_t levels = content::winningScripts().size();
    EXPECT_EQ(mapList.size(), levels);
    EXPECT_EQ(player.level + 1, levels);
    EXPECT_TRUE(player.fell);
    EXPECT_TRUE(player.closed);
    ASSERT_EQ(backend.windows().size(), 1u);
    EXPECT_TRUE(backend.windows()[0].destroyed);
    EXPECT_GT(player.frames, 1000u);
    EXPECT_TRUE(rec->misuses().empty());

    const std::vector<Box> expected = expectedBoxes(levels, content::fallScript().level);
    const std::vector<platform::ScriptedMessageBox>& shown = backend.messageBoxes();
    ASSERT_EQ(shown.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("box " + std::to_string(i));
        EXPECT_EQ(shown[i].caption, expected[i].caption);
        EXPECT_EQ(shown[i].text, expected[i].text);
        EXPECT_EQ(shown[i].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    }
}

// A steady clock, and one that jumps about as a busy machine's would.
INSTANTIATE_TEST_SUITE_P(Clocks, ContentPlaythrough,
                         ::testing::Values(std::vector<DWORD>{5}, std::vector<DWORD>{1, 9, 4, 13, 2, 17, 3}),
                         [](const auto& info) { return info.index == 0 ? "steady" : "uneven"; });

}  // namespace
