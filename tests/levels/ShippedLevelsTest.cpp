#include <gtest/gtest.h>

#include <filesystem>

#include "LevelTestSupport.h"
#include "levels/Map.h"
#include "levels/MapList.h"

using ShippedLevels = InTempDir;

// Every level the game ships loads and can be walked cell by cell. Runs on a copy of map/,
// so the game's own log/ is left alone.
TEST_F(ShippedLevels, EveryListedLevelLoadsCompletely)
{
    const std::filesystem::path maps = std::filesystem::path(QUORVEL_SOURCE_DIR) / "game" / "map";
    if (!std::filesystem::exists(maps / "jeu.txt"))
        GTEST_SKIP() << "no level list shipped yet";
    std::filesystem::copy(maps, "map", std::filesystem::copy_options::recursive);

    MapList list;
    list.load("map/jeu.txt");
    ASSERT_GT(list.size(), 0u);
    Capture out;
    for (std::size_t level = 0; level < list.size(); ++level) {
        SCOPED_TRACE(list[level]);
        Map map;
        EXPECT_EQ(map.readHeader(list[level]), 1);
        map.loadGrid(map.gridFile);
        ASSERT_GT(map.rows, 0);
        ASSERT_GT(map.columns, 0);
        ASSERT_EQ(map.grid.size(), static_cast<std::size_t>(map.rows) * map.columns);
        for (int row = 0; row < map.rows; ++row)
            for (int column = 0; column < map.columns; ++column)
                ASSERT_NE(map.getTile(row, column), nullptr);
        map.clear();
    }
    EXPECT_EQ(out.str().find("badIndex"), std::string::npos);
}
