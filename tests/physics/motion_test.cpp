#include <cmath>
#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

#include "Simulation.h"

namespace {

// Three flat rows of four tiles at height 0; a ball at y 0.5 stands on them.
Simulation flat() { return Simulation({{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}); }

// Calls under 20 ms after the last step (or from before it) move nothing and keep the
// stamp, so the time they skip is carried into the next full step.
TEST(Snake, ShortCallsCarryTheirTimeIntoTheNextStep)
{
    const struct {
        std::uint32_t last, now;
        bool full;
        float dt;
    } cases[] = {
        {1000, 1019, false, 0}, {1000, 1020, true, 20}, {1000, 999, false, 0},
        {1000, 1000u + 0x80000000u, false, 0},  // reads as negative
        {0xfffffff0u, 0x10u, true, 32},         // across the wrap of the clock
    };
    for (const auto& c : cases) {
        Simulation sim = flat();
        sim.place(1.5f, 0.5f, 1.5f, 0.001f, 0.0f, 0.002f);
        sim.ball.lastUpdate = c.last;
        sim.ball.jumpStart = c.last;  // no jump to run
        sim.ball.jumpDuration = 0;
        EXPECT_TRUE(sim.ball.update(&sim.level.map, c.now));
        EXPECT_EQ(sim.ball.lastUpdate, c.full ? c.now : c.last) << c.now;
        EXPECT_EQ(sim.ball.position.x, 1.5f + c.dt * 0.001f) << c.now;
        EXPECT_EQ(sim.ball.position.z, 1.5f + c.dt * 0.002f) << c.now;
    }

    Simulation sim = flat();
    sim.place(1.5f, 0.5f, 1.5f, 0.001f);
    sim.step(19);
    EXPECT_EQ(sim.ball.lastUpdate, 1000u);
    sim.step(26);
    EXPECT_EQ(sim.ball.lastUpdate, 1045u);
    EXPECT_EQ(sim.ball.position.x, 1.5f + 45.0f * 0.001f);
}

// Off the grid nothing holds the ball up. Gravity is one change of speed per step.
TEST(Snake, GravityCountsStepsNotMilliseconds)
{
    Simulation one({});
    one.place(0, 0, 0);
    one.step(40);
    EXPECT_FLOAT_EQ(one.ball.velocity.y, -0.0002f);
    EXPECT_NEAR(one.ball.position.y, -0.008f, 1e-7);

    Simulation two({});
    two.place(0, 0, 0);
    two.step(20);
    two.step(20);
    EXPECT_FLOAT_EQ(two.ball.velocity.y, -0.0004f);
    EXPECT_NEAR(two.ball.position.y, -0.012f, 1e-7);
}

TEST(Snake, FallingSpeedStopsAtItsFloorOnTheTwentySixthStep)
{
    Simulation sim({});
    sim.place(0, 0, 0);
    for (int i = 0; i < 25; ++i)
        sim.step();
    EXPECT_GE(static_cast<double>(sim.ball.velocity.y), -0.005);
    EXPECT_LT(sim.ball.velocity.y, -0.0049f);
    sim.step();
    const float floor = sim.ball.velocity.y;
    EXPECT_EQ(floor, -0.0051999995f);
    for (int i = 0; i < 20; ++i)
        sim.step();
    EXPECT_EQ(sim.ball.velocity.y, floor);
}

TEST(Snake, FallsFromTheOpeningHeightLandsAndStays)
{
    Simulation sim = flat();
    sim.ball.update(&sim.level.map, sim.now);
    sim.ball.position.x = sim.ball.position.z = 1.5f;
    int steps = 0;
    while (!sim.lastContacts.dessus && steps < 200) {
        sim.step();
        ++steps;
    }
    ASSERT_TRUE(sim.lastContacts.dessus);
    // It crossed the top in the step before it found itself standing.
    const float landed = sim.ball.position.y;
    const float speed = sim.ball.velocity.y;
    EXPECT_LT(landed, 1.0f);
    EXPECT_GT(landed, 1.0f - 20 * 0.0053f);
    EXPECT_LT(speed, 0.0f);  // kept from the fall, not reset
    for (int i = 0; i < 50; ++i)
        sim.step();
    EXPECT_EQ(sim.ball.position.y, landed);
    EXPECT_EQ(sim.ball.velocity.y, speed);
}

TEST(Snake, JumpRisesAboutOnePointThreeOverItsHalfSecond)
{
    Simulation sim = flat();
    sim.place(1.5f, 0.5f, 1.5f);
    sim.ball.jumpRequest = true;
    sim.step();
    EXPECT_EQ(sim.ball.velocity.y, 0.005f);
    EXPECT_FLOAT_EQ(sim.ball.position.y, 0.6f);
    EXPECT_FALSE(sim.ball.jumpRequest);
    EXPECT_EQ(sim.ball.jumpStart, sim.now);
    const std::uint32_t started = sim.now;

    for (int i = 0; i < 24; ++i) {
        if (i == 10)
            sim.ball.jumpRequest = true;  // asked for mid-jump: dropped, no second push
        sim.step();
        EXPECT_EQ(sim.ball.jumpStart, started);
        EXPECT_FALSE(sim.ball.jumpRequest);
    }
    EXPECT_NEAR(sim.ball.velocity.y, 0.0002f, 1e-6);
    EXPECT_NEAR(sim.ball.position.y - 0.5f, 1.3f, 1e-3);

    sim.step();
    EXPECT_EQ(sim.ball.jumpStart, 0u);
    // The residue left by 25 double-precision gravity steps (float steps leave 2.62e-10).
    EXPECT_FLOAT_EQ(sim.ball.velocity.y, 2.5688204e-10f);
    for (int i = 0; i < 30 && !sim.lastContacts.dessus; ++i)
        sim.step();
    EXPECT_LT(sim.ball.position.y, 1.0f);  // back down on the tile
}

TEST(Snake, JumpRequestsAreKeptOverShortCallsAndDroppedInTheAir)
{
    Simulation sim({});
    sim.place(0, 0, 0);
    sim.ball.jumpRequest = true;
    sim.step(5);
    EXPECT_TRUE(sim.ball.jumpRequest);
    sim.step(20);
    EXPECT_FALSE(sim.ball.jumpRequest);
    EXPECT_FLOAT_EQ(sim.ball.velocity.y, -0.0002f);
}

// With the clock under 500 ms, jumpStart 0 still reads as a jump under way.
TEST(Snake, EarlyClockCountsAsAJumpEvenWhenStanding)
{
    Simulation sim = flat();
    sim.now = 100;
    sim.place(1.5f, 0.5f, 1.5f);
    sim.ball.jumpRequest = true;
    sim.step();
    EXPECT_FALSE(sim.ball.jumpRequest);
    EXPECT_FLOAT_EQ(sim.ball.velocity.y, -0.0002f);
    EXPECT_FLOAT_EQ(sim.ball.position.y, 0.5f - 0.004f);
}

// Ball in cell (1, 1) of a 3 x 3 level with tile sizes 2 and 3, radius 0.5, moving
// (0.001, 0, 0.001). Tall tiles set walls; the ball is put against each and turned round.
TEST(Snake, WallsPushBackAndReverse)
{
    const struct {
        const char* name;
        std::vector<int> tall;  // grid indices, row * 3 + column
        float x, z, vx, vz;     // before the 20 ms of motion are added
    } cases[] = {
        {"droite", {7}, 3.5f, 4.5f, -0.001f, 0.001f},
        {"gauche", {1}, 2.5f, 4.5f, -0.001f, 0.001f},
        {"pres", {3}, 3.0f, 3.5f, 0.001f, -0.001f},
        {"loin", {5}, 3.0f, 5.5f, 0.001f, -0.001f},
        {"both x", {1, 7}, 2.5f, 4.5f, 0.001f, 0.001f},
        {"both z", {3, 5}, 3.0f, 5.5f, 0.001f, 0.001f},
        {"all four", {1, 3, 5, 7}, 2.5f, 5.5f, 0.001f, 0.001f},
    };
    for (const auto& c : cases) {
        Simulation sim({{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}, 2.0f, 3.0f);
        for (int i : c.tall)
            static_cast<NTile*>(sim.level.map.grid[i])->height = 2.0f;
        sim.place(3.0f, 0.5f, 4.5f, 0.001f, 0.0f, 0.001f);
        sim.ball.radius = 0.5f;
        sim.step();
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sim.ball.velocity.x, c.vx);
        EXPECT_EQ(sim.ball.velocity.z, c.vz);
        EXPECT_EQ(sim.ball.position.x, c.x + 20.0f * c.vx);
        EXPECT_EQ(sim.ball.position.z, c.z + 20.0f * c.vz);
        EXPECT_EQ(sim.ball.position.y, 0.5f);
    }
}

TEST(Snake, RollsOffIntoAHoleAndFalls)
{
    Simulation sim({{0, hole, 0}});
    sim.place(0.5f, 0.5f, 0.5f, 0.0f, 0.0f, 0.001f);
    bool fell = false;
    for (int i = 0; i < 400 && !fell; ++i) {
        sim.step();
        if (sim.lastContacts.column == 0) {
            EXPECT_FALSE(sim.lastContacts.loin);  // the hole ahead is no wall
        }
        fell = sim.ball.position.y < -5.0f;
    }
    EXPECT_TRUE(fell);
    EXPECT_EQ(sim.lastContacts.column, 1);
}

// Goal at (5, 5): rows 4 to 6, columns 5 and 6, judged on the cell before the move.
TEST(Snake, GoalAreaIsThreeRowsByTwoColumns)
{
    for (int row = 2; row <= 8; ++row)
        for (int column = 2; column <= 8; ++column)
            for (float y : {-1000.0f, 50.0f}) {
                Simulation sim({});
                sim.level.map.goalRow = sim.level.map.goalColumn = 5;
                sim.level.map.goalHeight = 40;
                sim.place(row + 0.5f, y, column + 0.5f, 1.0f, 0.0f, -1.0f);  // leaves at once
                const bool inGoal = row >= 4 && row <= 6 && column >= 5 && column <= 6;
                EXPECT_TRUE(sim.step(19)) << row << "," << column;
                EXPECT_EQ(sim.step(1), !inGoal) << row << "," << column;
            }

    Simulation sim({});
    sim.level.map.goalRow = sim.level.map.goalColumn = 5;
    sim.ball.position = {5.5f, 0.0f, 5.5f};
    EXPECT_TRUE(sim.ball.update(&sim.level.map, 1000));  // the first call never ends a level
    sim.ball.position = {3.5f, 0.0f, 5.5f};
    sim.ball.velocity = {0.05f, 0.0f, 0.0f};
    EXPECT_TRUE(sim.step());  // moved into the area, but judged where it started
    EXPECT_FALSE(sim.step());
}

TEST(Snake, GoalAtTheEdgeOfTheIntegerRangeDoesNotOverflow)
{
    const std::int32_t low = std::numeric_limits<std::int32_t>::min();
    const std::int32_t high = std::numeric_limits<std::int32_t>::max();
    const struct {
        std::int32_t goalRow, goalColumn;
        float x;
        bool inGoal;
    } cases[] = {
        {high, high, 0.5f, false},
        {high, high, std::nanf(""), false},
        {low, low, std::nanf(""), true},  // the off-grid cell is (INT32_MIN, INT32_MIN)
        {low, low, 0.5f, false},
    };
    for (const auto& c : cases) {
        Simulation sim({});
        sim.level.map.goalRow = c.goalRow;
        sim.level.map.goalColumn = c.goalColumn;
        sim.place(c.x, 0.0f, c.x);
        EXPECT_EQ(sim.step(), !c.inGoal) << c.goalRow << " " << c.x;
    }
}

}  // namespace
