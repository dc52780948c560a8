#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "LevelTestSupport.h"
#include "levels/GridLimit.h"
#include "levels/Map.h"

namespace {

constexpr float hole = -65489.0f;
using LoadGrid = InTempDir;

}  // namespace

TEST_F(LoadGrid, ReadsHeightsCarriesTheLastValueAndLogsEachParsedCell)
{
    struct Case {
        const char* name;
        int rows, columns;
        const char* text;
        std::vector<float> heights;
        const char* log;
        const char* echo;
    };
    const Case cases[] = {
        {"holes", 2, 2, "1 2.5\n-0.5 4\n", {1, 2.5f, hole, 4}, "1\n2.5\n-65489\n4\n", "1 2.5\n-0.5 4\n"},
        {"minus zero", 1, 3, "-0 -0.0 0", {0, 0, 0}, "-0\n-0\n0\n", "-0 -0.0 0\n"},
        {"short line", 1, 4, "1 2", {1, 2, 2, 2}, "1\n2\n2\n2\n", "1 2\n"},
        {"short hole line", 1, 2, "-1", {hole, hole}, "-65489\n-65489\n", "-1\n"},
        {"empty line", 3, 2, "1 5\n\n2 3\n", {1, 5, 5, 5, 2, 3}, "1\n5\n5\n5\n2\n3\n", "1 5\n\n2 3\n"},
        {"line parsed alone", 2, 2, "1 2\n3", {1, 2, 3, 3}, "1\n2\n3\n3\n", "1 2\n3\n"},
        {"not a number", 1, 3, "4 x 3", {4, 4, 4}, "4\n4\n4\n", "4 x 3\n"},
        {"out of float range", 1, 2, "3 1e50", {3, 3}, "3\n3\n", "3 1e50\n"},
        {"stream number forms", 1, 4, "+1 .5 2. 0010", {1, 0.5f, 2, 10}, "1\n0.5\n2\n10\n", "+1 .5 2. 0010\n"},
        {"hex", 1, 2, "0x10 4", {0, 0}, "0\n0\n", "0x10 4\n"},
        {"inf and nan", 2, 2, "2 inf\nnan 4", {2, 2, 2, 2}, "2\n2\n2\n2\n", "2 inf\nnan 4\n"},
        {"bare exponent, lone sign", 2, 2, "1 2e\n- 3", {1, 1, 1, 1}, "1\n1\n1\n1\n", "1 2e\n- 3\n"},
        {"six digits", 1, 3, "1234567 0.0000123 3.25", {1234567, 0.0000123f, 3.25f}, "1.23457e+06\n1.23e-05\n3.25\n", "1234567 0.0000123 3.25\n"},
        {"nothing read yet", 2, 2, "abc\n7", {0, 0, 7, 7}, "0\n0\n7\n7\n", "abc\n7\n"},
        {"extra numbers and lines", 1, 2, "1 2 3\n8\n", {1, 2}, "1\n2\n", "1 2 3\n"},
        {"too few lines", 4, 2, "1 1\n5 5\n", {1, 1, 5, 5, 2, 2, 3, 3}, "1\n1\n5\n5\n", "1 1\n5 5\n"},
        {"CR LF", 2, 2, "1 2\r\n3 4\r\n", {1, 2, 3, 4}, "1\n2\n3\n4\n", "1 2\n3 4\n"},
        {"no rows", -1, 3, "1 2 3\n", {}, "", ""},
        {"no columns", 2, 0, "1 2\n3\n4\n", {}, "", "1 2\n3\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile("grid.txt", c.text);
        Map map = mapOfSize(c.rows, c.columns);
        Capture out;
        EXPECT_EQ(map.loadGrid("grid.txt"), 0);
        EXPECT_EQ(heights(map), c.heights);
        EXPECT_EQ(readFile("log/logmap.txt"), c.log);
        EXPECT_EQ(out.str(), c.echo);
        map.clear();
    }
}

TEST_F(LoadGrid, MissingGridFileLeavesProvisionalTilesAndAnEmptyLog)
{
    writeFile("log/logmap.txt", "from an earlier load\n");
    Map map = mapOfSize(2, 3);
    Capture out;
    Capture err(std::cerr);
    map.loadGrid("nothing.txt");
    EXPECT_EQ(heights(map), (std::vector<float>{0, 0, 0, 1, 1, 1}));
    EXPECT_TRUE(std::filesystem::exists("log/logmap.txt"));
    EXPECT_EQ(readFile("log/logmap.txt"), "");
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "Level grid \"nothing.txt\" not loaded: the file does not open\n");
    map.clear();
}

TEST_F(LoadGrid, WithoutLogDirectoryLoadsAllTheSame)
{
    std::filesystem::remove("log");
    writeFile("grid.txt", "1 -2\n");
    Map map = mapOfSize(1, 2);
    Capture out;
    map.loadGrid("grid.txt");
    EXPECT_EQ(heights(map), (std::vector<float>{1, hole}));
    EXPECT_EQ(out.str(), "1 -2\n");
    EXPECT_FALSE(std::filesystem::exists("log"));
    map.clear();
}

TEST_F(LoadGrid, RefusesGridsBeyondTheCellLimitWithOneErrorLine)
{
    writeFile("grid.txt", "1 2 3\n");
    // 65536 x 65536 wraps to 0 in 32 bits: the product must be taken wide.
    for (auto [rows, columns] : {std::pair{4097, 4096}, {16777217, 1}, {65536, 65536}, {INT_MAX, INT_MAX}}) {
        Map map = mapOfSize(rows, columns);
        Capture out;
        Capture err(std::cerr);
        map.loadGrid("grid.txt");
        const std::string error = err.str();
        const std::string named = "\"grid.txt\" not loaded: " + std::to_string(rows) + " rows x " +
                                  std::to_string(columns) + " columns";
        EXPECT_NE(error.find(named), std::string::npos) << error;
        EXPECT_EQ(std::count(error.begin(), error.end(), '\n'), 1);
        EXPECT_EQ(map.rows, 0);
        EXPECT_EQ(map.columns, 0);
        EXPECT_TRUE(map.grid.empty());
        EXPECT_EQ(out.str(), "");
        EXPECT_EQ(readFile("log/logmap.txt"), "");
    }
}

TEST(GridLimit, AllowsUpToSixteenMebicells)
{
    EXPECT_FALSE(gridTooLarge(4096, 4096));
    EXPECT_FALSE(gridTooLarge(1, 16777216));
    EXPECT_TRUE(gridTooLarge(16777217, 1));
    EXPECT_FALSE(gridTooLarge(INT_MAX, 0));  // no tiles at all
    EXPECT_FALSE(gridTooLarge(-65536, -65536));
}

TEST_F(LoadGrid, LoadReadsHeaderThenGridAndAMissingHeaderReloadsTheSameLevel)
{
    std::filesystem::create_directory("map");
    writeFile("map/l1.txt", "2 3 2.0 1.5 map/g1.txt w 1 2 2 2 3 4 0.5 0.25\n");
    writeFile("map/g1.txt", "1 2 3\n4 -5 6\n");
    const std::string noHeader = "Level header \"map/none.txt\" not loaded: the file does not open\n";
    Map fresh;
    Capture out;
    Capture err(std::cerr);
    fresh.load("map/none.txt");  // nothing to read, nothing built
    EXPECT_TRUE(fresh.grid.empty());
    EXPECT_EQ(readFile("log/logmap.txt"), "");
    EXPECT_EQ(err.str(), noHeader);  // and no grid named, so none to report

    Map map;
    EXPECT_EQ(map.load("map/l1.txt"), 0);
    EXPECT_EQ(map.tileSizeZ, 1.5f);
    EXPECT_EQ(map.gridFile, "map/g1.txt");
    const std::vector<float> level = {1, 2, 3, 4, hole, 6};
    EXPECT_EQ(heights(map), level);
    map.clear();
    map.load("map/none.txt");
    EXPECT_EQ(heights(map), level);
    EXPECT_EQ(out.str(), "1 2 3\n4 -5 6\n1 2 3\n4 -5 6\n");
    // Once for the fresh map's load, once for the reload; the level that opened says nothing.
    EXPECT_EQ(err.str(), noHeader + noHeader);
    map.clear();
}
