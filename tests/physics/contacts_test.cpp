#include <cmath>
#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

#include "Simulation.h"

namespace {

constexpr std::int32_t noCell = std::numeric_limits<std::int32_t>::min();

struct Flags {
    bool pres, loin, gauche, droite, dessus;
};

void expectFlags(const ContactFlags& got, Flags want)
{
    EXPECT_EQ(got.pres, want.pres);
    EXPECT_EQ(got.loin, want.loin);
    EXPECT_EQ(got.gauche, want.gauche);
    EXPECT_EQ(got.droite, want.droite);
    EXPECT_EQ(got.dessus, want.dessus);
}

TEST(Entite, StartsAtOneWithNothingTouched)
{
    Snake ball;
    EXPECT_EQ(ball.position.x, 1.0f);
    EXPECT_EQ(ball.position.y, 1.0f);
    EXPECT_EQ(ball.position.z, 1.0f);
    EXPECT_EQ(ball.velocity.y, 0.0f);
    EXPECT_EQ(ball.radius, 1.0f);
    EXPECT_FALSE(ball.started);
    EXPECT_EQ(ball.jumpStart, 0u);
    EXPECT_EQ(ball.lastUpdate, 0u);
    EXPECT_EQ(ball.jumpDuration, 500u);
    EXPECT_FALSE(ball.jumpRequest);
    EXPECT_EQ(ball.tileUnder, nullptr);
    expectFlags(ball.contacts, {false, false, false, false, false});
    EXPECT_EQ(ball.contacts.row, 0);
    EXPECT_EQ(ball.contacts.column, 0);
}

// The cell of x / 1.0 on a map with no grid: truncation toward zero, and every value that
// has no 32-bit index lands on INT32_MIN without undefined behaviour.
TEST(Entite, CellIndexTruncatesTowardZero)
{
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        float x;
        std::int32_t row;
    } cases[] = {
        {2.0f, 2}, {2.9f, 2}, {-0.5f, 0}, {-1.0f, -1}, {-2.9f, -2},
        {2147483520.0f, 2147483520}, {2147483648.0f, noCell}, {-2147483648.0f, noCell},
        {-2147483904.0f, noCell}, {1e30f, noCell}, {inf, noCell}, {-inf, noCell},
        {std::nanf(""), noCell},
    };
    Map empty;
    Entite e;
    for (const auto& c : cases) {
        e.position = {c.x, 0.0f, -c.x};
        e.updateContacts(&empty);
        EXPECT_EQ(e.contacts.row, c.row) << c.x;
        EXPECT_EQ(e.contacts.column, c.row == noCell ? noCell : -c.row) << c.x;
        expectFlags(e.contacts, {false, false, false, false, false});
    }
}

// Ball at y 0.5 in cell (1, 1) of a flat 3 x 4 level, one tile changed. Tile sizes differ
// along x and z so a swapped axis shows; the ball sits off-centre, far from some sides.
TEST(Entite, WallFlagComesFromTheTallerNeighbourOnThatSide)
{
    const float justAbove = std::nextafter(0.5f, 1.0f);
    const struct {
        int row, column;
        float height;
        Flags want;
    } cases[] = {
        {1, 0, 2.0f, {true, false, false, false, true}},
        {1, 2, 2.0f, {false, true, false, false, true}},
        {0, 1, 2.0f, {false, false, true, false, true}},
        {2, 1, 2.0f, {false, false, false, true, true}},
        {0, 0, 2.0f, {false, false, false, false, true}},  // diagonal
        {1, 3, 2.0f, {false, false, false, false, true}},  // two cells away
        {2, 1, 0.5f, {false, false, false, false, true}},  // level with the centre
        {2, 1, justAbove, {false, false, false, true, true}},
        {1, 0, hole, {false, false, false, false, true}},
        {1, 1, -0.5f, {false, false, false, false, false}},  // own tile too low to stand on
    };
    for (const auto& c : cases) {
        Level level({{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}, 2.0f, 3.0f);
        static_cast<NTile*>(level.map.grid[c.row * 4 + c.column])->height = c.height;
        Entite e;
        e.position = {2.1f, 0.5f, 5.9f};
        e.updateContacts(&level.map);
        SCOPED_TRACE(testing::Message() << "tile " << c.row << "," << c.column << " at " << c.height);
        EXPECT_EQ(e.contacts.row, 1);
        EXPECT_EQ(e.contacts.column, 1);
        expectFlags(e.contacts, c.want);
        EXPECT_EQ(e.tileUnder, level.map.grid[5]);
    }
}

// Every tile of a 3 x 4 level towers over the ball: inside the grid each neighbour that
// exists is a wall; beyond it only the side facing the grid can be, and only one cell out.
TEST(Entite, EdgesAndCellsOutsideTheGrid)
{
    const struct {
        float x, z;
        Flags want;
    } cases[] = {
        {-0.5f, 1.5f, {true, true, false, true, true}},  // truncates into row 0
        {0.5f, 0.5f, {false, true, false, true, true}},  // corner (0, 0)
        {2.5f, 3.5f, {true, false, true, false, true}},  // corner (2, 3)
        {-1.5f, 1.5f, {false, false, false, true, false}},
        {3.5f, 1.5f, {false, false, true, false, false}},
        {1.5f, -1.5f, {false, true, false, false, false}},
        {1.5f, 4.5f, {true, false, false, false, false}},
        {-2.5f, 1.5f, {false, false, false, false, false}},
        {4.5f, 1.5f, {false, false, false, false, false}},
        {-1.5f, -1.5f, {false, false, false, false, false}},
        {3.5f, 4.5f, {false, false, false, false, false}},
    };
    Level level({{9, 9, 9, 9}, {9, 9, 9, 9}, {9, 9, 9, 9}});
    NTile previous;
    for (const auto& c : cases) {
        Entite e;
        e.tileUnder = &previous;
        e.position = {c.x, 0.5f, c.z};
        e.updateContacts(&level.map);
        SCOPED_TRACE(testing::Message() << c.x << "," << c.z);
        expectFlags(e.contacts, c.want);
        const bool inside = e.contacts.row >= 0 && e.contacts.row < 3 && e.contacts.column >= 0 && e.contacts.column < 4;
        EXPECT_EQ(e.tileUnder, inside ? level.map.grid[e.contacts.row * 4 + e.contacts.column] : &previous);
    }
}

// The distance part of a wall test only bites with a negative radius: the ball at the low
// corner of cell (2, 2) is 2 from its x neighbours' far sides and 3 from its z neighbours'.
TEST(Entite, WallNeedsTheRadiusToReachTheNeighbour)
{
    const struct {
        float radius;
        Flags want;
    } cases[] = {
        {1.0f, {true, true, true, true, true}},
        {-2.0f, {true, true, true, true, true}},
        {-2.5f, {true, true, false, false, true}},
        {-3.0f, {true, true, false, false, true}},
        {-3.01f, {false, false, false, false, true}},
    };
    Level level({{0, 0, 0, 0}, {0, 0, 9, 0}, {0, 9, 0, 9}, {0, 0, 9, 0}}, 2.0f, 3.0f);
    for (const auto& c : cases) {
        Entite e;
        e.position = {4.0f, 0.5f, 6.0f};
        e.radius = c.radius;
        e.updateContacts(&level.map);
        SCOPED_TRACE(c.radius);
        expectFlags(e.contacts, c.want);
    }
}

TEST(Entite, StandingWhileTheCentreIsBelowTopPlusOneInDouble)
{
    const struct {
        float height, y;
        bool standing;
    } cases[] = {
        {2.0f, 3.0f, false},
        {2.0f, std::nextafter(3.0f, 0.0f), true},
        {2.0f, -1e30f, true},
        {hole, -65488.0f, false},
        {hole, -65488.0078125f, true},
        // 2^24 + 1 is not a float: summed in float the test would fail.
        {16777216.0f, 16777216.0f, true},
        {2.0f, std::nanf(""), false},
    };
    for (const auto& c : cases) {
        Level level({{c.height}});
        Entite e;
        e.position = {0.5f, c.y, 0.5f};
        e.updateContacts(&level.map);
        EXPECT_EQ(e.contacts.dessus, c.standing) << c.height << " " << c.y;
    }
}

TEST(Entite, ZeroTileSizeLeavesTheBallOffTheGrid)
{
    Level level({{9, 9}, {9, 9}}, 0.0f, 0.0f);
    for (float x : {0.0f, 1.0f, -1.0f}) {
        Entite e;
        e.position = {x, 0.5f, x};
        e.updateContacts(&level.map);
        EXPECT_EQ(e.contacts.row, noCell);
        EXPECT_EQ(e.contacts.column, noCell);
        expectFlags(e.contacts, {false, false, false, false, false});
        EXPECT_EQ(e.tileUnder, nullptr);
    }
}

TEST(Entite, ClearDropsTheFlagsButKeepsTheCell)
{
    Level level({{0, 9}, {9, 0}});
    Entite e;
    e.position = {0.5f, 0.5f, 0.5f};
    e.updateContacts(&level.map);
    expectFlags(e.contacts, {false, true, false, true, true});
    e.contacts.row = 7;
    e.contacts.column = -3;
    e.contacts.clear();
    expectFlags(e.contacts, {false, false, false, false, false});
    EXPECT_EQ(e.contacts.row, 7);
    EXPECT_EQ(e.contacts.column, -3);
}

}  // namespace
