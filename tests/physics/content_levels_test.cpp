// Plays the shipped levels with the real Map and Snake, turn by turn as the game's loop does,
// with the key scripts of content/level_scripts.h: every level is won, in order, and a fall
// brings the ball back to the start.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Simulation.h"
#include "content/level_scripts.h"
#include "levels/Map.h"
#include "levels/MapList.h"
#include "physics/Snake.h"

namespace {

using content::KeyPress;

enum class Ending { Goal, Fall, TimeOut };

const char* name(Ending ending)
{
    switch (ending) {
    case Ending::Goal: return "goal";
    case Ending::Fall: return "fall";
    case Ending::TimeOut: return "time out";
    }
    return "?";
}

struct Outcome {
    Ending ending;
    std::uint32_t atMs;  // after the level began
    int blockedKeys;     // steering presses a wall made void
};

// The loop's side of the game over the shipped levels: each turn the clock moves on by a fixed
// step, the ball is updated, a goal or a fall ends the play, one due key is applied as the
// key step applies it, and the contact flags are cleared.
class Game {
public:
    explicit Game(std::uint32_t clockStepMs) : step(clockStepMs) {}
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;
    ~Game() { map.clear(); }

    // As the game opens: the first level, then the ball put at (2, 2, 2) whatever the level says.
    void open()
    {
        list.load("map/jeu.txt");
        map.load(list[0]);
        placeAtStart();
        ball.jumpRequest = false;
        ball.position = {2.0f, 2.0f, 2.0f};
        ball.radius = 1.0f;
    }

    // As after a goal on a level that is not the last. The clock runs on while the player reads
    // the box, and the ball's first step on the new level spans that time.
    void nextLevel()
    {
        ++level;
        map.clear();
        map.load(list[level]);
        now += boxOpenMs;
        placeAtStart();
    }

    // Opens straight onto a level, as if the ones before it had been won, with the ball at the
    // level's start.
    void openAt(std::size_t index)
    {
        open();
        ball.update(&map, now);  // the first update only lifts the ball; get it over with
        level = index;
        map.clear();
        map.load(list[level]);
        placeAtStart();
    }

    Outcome play(const std::vector<KeyPress>& keys, std::uint32_t limitMs)
    {
        const std::uint32_t began = now;
        std::size_t next = 0;
        int blocked = 0;
        while (now - began < limitMs) {
            now += step;
            if (!ball.update(&map, now))
                return {Ending::Goal, now - began, blocked};
            if (ball.position.y < -5.0) {
                const Outcome fell{Ending::Fall, now - began, blocked};
                now += boxOpenMs;
                placeAtStart();
                ball.lastUpdate = now;
                return fell;
            }
            if (next < keys.size() && now - began >= keys[next].atMs) {
                if (!press(keys[next].key))
                    ++blocked;
                ++next;
            }
            ball.contacts.clear();
        }
        return {Ending::TimeOut, now - began, blocked};
    }

    Map map;
    Snake ball;
    MapList list;
    std::size_t level = 0;

private:
    void placeAtStart()
    {
        ball.position = {map.startPosition.x, map.startPosition.y, map.startPosition.z};
        ball.velocity = {0.0f, 0.0f, 0.0f};
    }

    // False when the wall on that side keeps the push from acting.
    bool press(char key)
    {
        const ContactFlags& walls = ball.contacts;
        switch (key) {
        case 'J': return push(ball.velocity.x, -0.001, walls.gauche);
        case 'L': return push(ball.velocity.x, +0.001, walls.droite);
        case 'I': return push(ball.velocity.z, +0.001, walls.loin);
        case 'K': return push(ball.velocity.z, -0.001, walls.pres);
        case 'M': ball.jumpRequest = true; return true;
        }
        ADD_FAILURE() << "unknown key '" << key << "' in a script";
        return false;
    }

    static bool push(float& speed, double change, bool wall)
    {
        if (wall)
            return false;
        speed = static_cast<float>(static_cast<double>(speed) + change);
        return true;
    }

    std::uint32_t step;
    std::uint32_t boxOpenMs = 2000;
    std::uint32_t now = 100000;  // well past 500 ms, where a jumpStart of 0 still counts as a jump
};

// The shipped map/ seen from a scratch working directory, so the logs stay out of game/.
class ContentLevels : public ::testing::Test {
protected:
    ContentLevels()
    {
        std::filesystem::create_directory_symlink(std::filesystem::path(QUORVEL_SOURCE_DIR) / "game" / "map",
                                                  "map");
    }
    ScratchDirectory scratch{false};
};

float heightAt(Map& map, int row, int column)
{
    return static_cast<NTile*>(map.getTile(row, column))->height;
}

bool isTile(Map& map, int row, int column)
{
    return row >= 0 && column >= 0 && row < map.rows && column < map.columns &&
           heightAt(map, row, column) != Map::holeHeight;
}

// Lower than both neighbours along one axis: a ball that drops in there is pushed out by both
// walls in the same step and ends up inside a neighbour's tile instead of falling.
bool isNarrowPit(Map& map, int row, int column, int alongRow, int alongColumn)
{
    const int r0 = row - alongRow, c0 = column - alongColumn;
    const int r1 = row + alongRow, c1 = column + alongColumn;
    if (r0 < 0 || c0 < 0 || r1 >= map.rows || c1 >= map.columns)
        return false;
    const float h = heightAt(map, row, column);
    return heightAt(map, r0, c0) > h && heightAt(map, r1, c1) > h;
}

// Rows of the grid file as numbers, so that a short row is seen (the reader would pad it).
std::vector<std::vector<float>> readGridText(const std::string& path)
{
    std::vector<std::vector<float>> rows;
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream numbers(line);
        std::vector<float> row;
        float value = 0.0f;
        while (numbers >> value)
            row.push_back(value);
        EXPECT_TRUE(numbers.eof()) << path << ": not a number in \"" << line << "\"";
        rows.push_back(row);
    }
    return rows;
}

TEST_F(ContentLevels, TheListNamesTheScriptedLevelsInOrder)
{
    MapList list;
    list.load("map/jeu.txt");
    const auto& scripts = content::winningScripts();
    ASSERT_EQ(list.size(), scripts.size());
    ASSERT_GE(list.size(), 4u);
    for (std::size_t i = 0; i < scripts.size(); ++i)
        EXPECT_EQ(list[i], scripts[i].header);
}

TEST_F(ContentLevels, LevelFilesAreCompleteAndFair)
{
    for (const auto& script : content::winningScripts()) {
        SCOPED_TRACE(script.header);
        Map map;
        map.load(script.header);

        const auto text = readGridText(map.gridFile);
        ASSERT_EQ(text.size(), static_cast<std::size_t>(map.rows));
        for (const auto& row : text)
            EXPECT_EQ(row.size(), static_cast<std::size_t>(map.columns));

        // The goal area is on the ground the marker stands on.
        for (int row = map.goalRow - 1; row <= map.goalRow + 1; ++row)
            for (int column = map.goalColumn; column <= map.goalColumn + 1; ++column) {
                ASSERT_TRUE(isTile(map, row, column)) << "goal area cell " << row << ", " << column;
                EXPECT_EQ(heightAt(map, row, column), static_cast<float>(map.goalHeight));
            }

        for (int row = 0; row < map.rows; ++row)
            for (int column = 0; column < map.columns; ++column) {
                EXPECT_FALSE(isNarrowPit(map, row, column, 1, 0)) << "narrow along x at " << row << ", " << column;
                EXPECT_FALSE(isNarrowPit(map, row, column, 0, 1)) << "narrow along z at " << row << ", " << column;
            }
        map.clear();
    }
}

TEST_F(ContentLevels, TheBallLandsSafelyWhereverALevelPutsIt)
{
    const std::size_t levels = content::winningScripts().size();
    for (std::size_t level = 0; level <= levels; ++level) {
        // Once more for the first level: the game opens with the ball at (2, 2, 2).
        const bool opening = level == levels;
        SCOPED_TRACE(opening ? std::string("opening at (2, 2, 2)") : content::winningScripts()[level].header);
        Game game(5);
        if (opening)
            game.open();
        else
            game.openAt(level);
        const Entite::Vector from = game.ball.position;

        const Outcome idle = game.play({}, 3000);
        EXPECT_EQ(idle.ending, Ending::TimeOut) << name(idle.ending) << " at " << idle.atMs << " ms";

        const Entite::Vector at = game.ball.position;
        EXPECT_EQ(at.x, from.x);
        EXPECT_EQ(at.z, from.z);
        const int row = static_cast<int>(at.x), column = static_cast<int>(at.z);
        ASSERT_TRUE(isTile(game.map, row, column));
        const float ground = heightAt(game.map, row, column);
        EXPECT_GT(at.y, ground + 0.5f);  // on the tile's top, not sunk into it
        EXPECT_LT(at.y, ground + 1.0f);  // standing
    }
}

// Timing differs between this harness and the real loop; the scripts must not depend on it.
class EveryLevelIsWon : public ContentLevels, public ::testing::WithParamInterface<std::uint32_t> {};

TEST_P(EveryLevelIsWon, InOrderWithoutAFall)
{
    Game game(GetParam());
    game.open();
    const auto& scripts = content::winningScripts();
    for (std::size_t level = 0; level < scripts.size(); ++level) {
        SCOPED_TRACE(scripts[level].header);
        const Outcome outcome = game.play(scripts[level].keys, scripts[level].goalWithinMs);
        ASSERT_EQ(outcome.ending, Ending::Goal)
            << name(outcome.ending) << " at " << outcome.atMs << " ms, ball at (" << game.ball.position.x << ", "
            << game.ball.position.y << ", " << game.ball.position.z << ")";
        EXPECT_EQ(outcome.blockedKeys, 0);
        if (level + 1 < scripts.size())
            game.nextLevel();
    }
}

INSTANTIATE_TEST_SUITE_P(ClockSteps, EveryLevelIsWon, ::testing::Values(5u, 1u, 3u, 7u, 10u, 13u, 19u),
                         [](const auto& info) { return "every_" + std::to_string(info.param) + "ms"; });

TEST_F(ContentLevels, AFallBringsTheBallBackToTheStart)
{
    const auto& fall = content::fallScript();
    const auto& win = content::winningScripts().at(fall.level);
    Game game(5);
    game.openAt(fall.level);

    const Outcome fell = game.play(fall.keys, fall.fallWithinMs);
    ASSERT_EQ(fell.ending, Ending::Fall) << name(fell.ending) << " at " << fell.atMs << " ms";
    const Map::Position start = game.map.startPosition;
    EXPECT_EQ(game.ball.position.x, start.x);
    EXPECT_EQ(game.ball.position.y, start.y);
    EXPECT_EQ(game.ball.position.z, start.z);

    // The same level is then won from its start.
    const Outcome won = game.play(win.keys, win.goalWithinMs);
    EXPECT_EQ(won.ending, Ending::Goal) << name(won.ending) << " at " << won.atMs << " ms";
}

}  // namespace
