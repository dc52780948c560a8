#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "LevelTestSupport.h"
#include "levels/Map.h"

namespace {

using Fields = std::vector<std::string>;

// The fourteen header fields of a Map, in file order, as the stream writes them.
Fields fieldsOf(const Map& m)
{
    Fields fields;
    auto add = [&](const auto& value) {
        std::ostringstream text;
        text << value;
        fields.push_back(text.str());
    };
    add(m.rows), add(m.columns), add(m.tileSizeX), add(m.tileSizeZ), add(m.gridFile);
    add(m.secondWord), add(m.goalRow), add(m.goalHeight), add(m.goalColumn);
    add(m.startPosition.x), add(m.startPosition.y), add(m.startPosition.z);
    add(m.cameraAngleA), add(m.cameraAngleB);
    return fields;
}

// Values no header below gives, so a field left alone is told from one that was read.
Map mapWithEarlierValues()
{
    Map m;
    m.rows = -9, m.columns = -8, m.tileSizeX = 7.5f, m.tileSizeZ = 6.5f;
    m.gridFile = "old.txt", m.secondWord = "oldword";
    m.goalRow = -3, m.goalHeight = -2, m.goalColumn = -1;
    m.startPosition = {-4.5f, -5.5f, -6.5f};
    m.cameraAngleA = -7.5f, m.cameraAngleB = -8.5f;
    return m;
}

const Fields full{"5", "7", "2", "0.5", "map/g1.txt", "word", "3", "1", "6", "2", "3.5", "4", "0.25", "-1.5"};

using ReadHeader = InTempDir;

}  // namespace

TEST_F(ReadHeader, KeepsEveryFieldFromTheFirstFailedExtractionOn)
{
    struct Case {
        const char* text;
        int fieldsRead;
        const char* rows = "5";
    };
    const Case cases[] = {
        {"5 7 2 0.5 map/g1.txt word 3 1 6 2 3.5 4 0.25 -1.5", 14},
        {"5\t7\n2\r\n0.5\n\n  map/g1.txt\tword 3 1\n6 2 3.5 4 0.25 -1.5\n", 14},  // any whitespace
        {"5 7 2 0.5 map/g1.txt word 3 1 6 2 3.5 4 0.25 -1.5 99 extra", 14},
        {"5 7 2 .5e0 map/g1.txt word +3 1 6 2. 35e-1 4 0.25 -1.5", 14},  // stream number forms
        {"010 007 2 0.5 map/g1.txt word 03 01 6 2 3.5 4 0.25 -1.5", 14, "10"},  // decimal, never octal
        {"0x10 7", 1, "0"},  // no hex: the 0 alone, then "x10" begins no integer
        {"- 7", 0},          // a sign alone is no number
        {"5 7 2 1e map/g1.txt", 3},  // an exponent without digits fails the whole float
        {"5 7 inf 0.5", 2},
        {"5 7 nan 0.5", 2},
        {"", 0},
        {"   \n\t", 0},
        {"5 7", 2},
        {"4.5 7 2", 1, "4"},  // ".5" begins no integer
        {"5x 7", 1},
        {"5 7 2 0.5 map/g1.txt word 3 1 6 2 3.5 4 0.25", 13},
        {"5 3000000000 2", 1},  // beyond 32 bits: a failure, not the range limit
        {"5 -2147483649 2", 1},
        {"5 7 1e50 0.5", 2},  // beyond a float: likewise
        {"5 7 2 0.5 map/g1.txt word 3 one 6", 7},
        {"5 7 2 0.5 map/g1.txt word 3 1 6 2 3.5 four", 11},
    };
    const Fields earlier = fieldsOf(mapWithEarlierValues());
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.text << '"');
        writeFile("level.txt", c.text);
        Map map = mapWithEarlierValues();
        EXPECT_EQ(map.readHeader("level.txt"), 1);
        Fields expected = earlier;
        std::copy(full.begin(), full.begin() + c.fieldsRead, expected.begin());
        if (c.fieldsRead > 0)
            expected[0] = c.rows;
        EXPECT_EQ(fieldsOf(map), expected);
    }
}

TEST_F(ReadHeader, FileThatDoesNotOpenChangesNothing)
{
    std::filesystem::create_directory("adir");
    for (const char* path : {"nothing.txt", "", "adir"}) {
        Map map = mapWithEarlierValues();
        Capture err(std::cerr);
        EXPECT_EQ(map.readHeader(path), 0) << path;
        EXPECT_EQ(fieldsOf(map), fieldsOf(mapWithEarlierValues()));
        EXPECT_EQ(err.str(), "Level header \"" + std::string(path) + "\" not loaded: the file does not open\n");
    }
}
