#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <vector>

#include "LevelTestSupport.h"
#include "levels/Map.h"

TEST(MapGrid, LookupIsRowMajorAndEveryCellOutsideSaysBadIndex)
{
    Map constructed;
    constructed.initGrid();
    EXPECT_TRUE(constructed.grid.empty());

    Map map = mapOfSize(3, 5);
    map.initGrid();
    struct Case {
        int row, column, index;  // index -1: outside
    };
    const Case cases[] = {
        {0, 0, 0}, {2, 4, 14}, {1, 4, 9}, {2, 1, 11}, {3, 0, -1}, {0, 5, -1},
        // negative indices whose row * columns + column lands inside
        {-1, 5, -1}, {1, -5, -1}, {0, -1, -1}, {INT_MIN, INT_MIN, -1}, {INT_MAX, 0, -1},
    };
    Capture out;
    EXPECT_EQ(constructed.getTile(0, 0), nullptr);
    std::string expectedOut = "badIndex";
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.row << "," << c.column);
        EXPECT_EQ(map.getTile(c.row, c.column), c.index < 0 ? nullptr : map.grid[c.index]);
        if (c.index < 0)
            expectedOut += "badIndex";  // failures run together, no separator
    }
    map.clear();  // dimensions stay, tiles go: nothing left to read
    EXPECT_EQ(map.getTile(1, 2), nullptr);
    EXPECT_EQ(out.str(), expectedOut + "badIndex");
}

TEST(MapGrid, SetTileReplacesWithoutDeletingAndRefusesCellsOutside)
{
    Map map;
    map.makeFlat(2, 3);
    const std::vector<ITile*> before = map.grid;
    int deletions = 0;
    CountingTile placed(deletions);
    for (auto [row, column] : {std::pair{2, 0}, {0, 3}, {-1, 3}, {1, -1}})
        EXPECT_FALSE(map.setTile(row, column, &placed));
    EXPECT_EQ(map.grid, before);
    EXPECT_TRUE(map.setTile(1, 2, &placed));
    EXPECT_EQ(map.grid[5], &placed);
    map.grid[5] = before[5];  // so that clear deletes the six heap tiles
    map.clear();
    EXPECT_EQ(deletions, 0);
}

TEST(MapGrid, FillsAppendWithoutEmptyingAndOnlyForPositiveDimensions)
{
    Map map = mapOfSize(2, 3);
    map.initGrid();
    EXPECT_EQ(heights(map), (std::vector<float>{0, 0, 0, 1, 1, 1}));
    const ITile* first = map.grid[5];
    map.makeFlat(1, 3);
    EXPECT_EQ(heights(map), (std::vector<float>{0, 0, 0, 1, 1, 1, 0, 0, 0}));
    EXPECT_EQ(map.tileSizeX, 1.0f);
    map.rows = 2;
    EXPECT_EQ(map.getTile(1, 2), first);
    map.clear();

    for (auto [rows, columns] : {std::pair{0, 3}, {3, 0}, {-2, 3}, {INT_MAX, -1}}) {
        map.makeFlat(rows, columns);
        map.initGrid();
        EXPECT_TRUE(map.grid.empty());
    }
}

TEST(MapGrid, ClearDeletesEveryTileAndKeepsTheLevelFields)
{
    Map map = mapOfSize(2, 3);
    map.gridFile = "g.txt";
    int deletions = 0;
    for (int i = 0; i < 5; ++i)
        map.grid.push_back(new CountingTile(deletions));
    map.grid.push_back(nullptr);
    map.clear();
    EXPECT_EQ(deletions, 5);
    EXPECT_TRUE(map.grid.empty());
    EXPECT_EQ(map.rows, 2);
    EXPECT_EQ(map.columns, 3);
    EXPECT_EQ(map.gridFile, "g.txt");
}

TEST(MapGrid, ContainsTruncatesTowardZeroWithInclusiveFarBounds)
{
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        float sizeX, x, z;
        bool inside;
    };
    const Case cases[] = {
        {1, 2.5f, 4.5f, true}, {1, 3.5f, 0, true}, {1, 4.0f, 0, false}, {1, -0.5f, 0, true},
        {1, -1.0f, 0, false}, {1, 0, -1.0f, false}, {1, 0, 5.9f, true}, {1, 0, 6.0f, false},
        {2, 7.9f, 0, true}, {2, 8.0f, 0, false}, {1, 1e30f, 0, false}, {1, -1e30f, 0, false},
        {1, nan, 0, false}, {1, 0, inf, false}, {0, 1.0f, 0, false}, {0, 0, 0, false},
    };
    Map map = mapOfSize(3, 5);
    for (const Case& c : cases) {
        map.tileSizeX = c.sizeX;
        EXPECT_EQ(map.contains(c.x, 123.0f, c.z), c.inside) << c.sizeX << " " << c.x << " " << c.z;
    }
}
