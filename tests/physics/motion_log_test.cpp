#include <filesystem>
#include <tuple>

#include <gtest/gtest.h>

#include "Simulation.h"

namespace {

// The first call only lifts the ball and stamps the time; it and short calls log dt alone.
TEST(SnakeLogs, FirstAndShortCallsLogOnlyTheElapsedTime)
{
    ScratchDirectory here(true);
    Simulation sim({{0}});
    sim.level.map.goalRow = sim.level.map.goalColumn = 0;
    sim.ball.velocity = {0.001f, 0.002f, 0.003f};
    EXPECT_TRUE(sim.ball.update(&sim.level.map, 1000));
    EXPECT_EQ(sim.ball.position.x, 1.0f);
    EXPECT_EQ(sim.ball.position.y, 5.0f);
    EXPECT_EQ(sim.ball.velocity.y, 0.002f);
    EXPECT_EQ(sim.ball.lastUpdate, 1000u);
    EXPECT_EQ(readFile("log/interp.txt"), "1000");
    EXPECT_EQ(readFile("log/logSnake.txt"), "<missing>");
    EXPECT_TRUE(sim.step(19));
    EXPECT_EQ(readFile("log/interp.txt"), "19");
    sim.ball.update(&sim.level.map, 990);
    EXPECT_EQ(readFile("log/interp.txt"), "-10");
    EXPECT_EQ(readFile("log/logSnake.txt"), "<missing>");
}

TEST(SnakeLogs, FullStepLogsSpeedAfterTimeAndPositionWithFlags)
{
    ScratchDirectory here(true);
    {
        Simulation air({});
        air.place(0, 0, 0);
        air.step(25);
        EXPECT_EQ(readFile("log/interp.txt"), "25-0.0002");
    }
    {
        Simulation standing({{5, 5, 5}, {5, 5, 5}, {5, 5, 5}});
        standing.place(2, 5, 2);
        standing.step();
        EXPECT_EQ(readFile("log/interp.txt"), "200");
        EXPECT_EQ(readFile("log/logSnake.txt"), "2 5 2pres0loin0gauche0droite0dessus1");
    }
    {
        // Flags are those found before the move; the position is the one after it.
        Simulation walled({{0, 9, 0}, {9, 0, 0}, {0, 0, 0}});
        walled.place(0.5f, 0.5f, 0.5f, 0.0f, 0.0f, 0.0f);
        walled.ball.jumpRequest = true;
        walled.step();
        EXPECT_EQ(readFile("log/interp.txt"), "200.005");
        EXPECT_EQ(readFile("log/logSnake.txt"), "0 0.6 0pres0loin1gauche0droite1dessus1");
    }
}

TEST(SnakeLogs, MissingLogFolderChangesNothingButTheFiles)
{
    const auto run = [] {
        Simulation sim({{0, 0}, {0, 9}});
        sim.place(0.5f, 0.5f, 0.5f, 0.001f, 0.0f, 0.002f);
        sim.ball.jumpRequest = true;
        bool result = sim.step();
        result = sim.step(30) && result;
        return std::make_tuple(result, sim.ball.position.x, sim.ball.position.y, sim.ball.position.z,
                               sim.ball.velocity.y, sim.ball.lastUpdate);
    };
    decltype(run()) logged, unlogged;
    {
        ScratchDirectory here(true);
        logged = run();
    }
    {
        ScratchDirectory here(false);
        unlogged = run();
        EXPECT_FALSE(std::filesystem::exists("log"));
    }
    EXPECT_EQ(logged, unlogged);
}

}  // namespace
