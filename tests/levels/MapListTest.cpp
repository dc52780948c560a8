#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "LevelTestSupport.h"
#include "levels/MapList.h"

namespace {

std::vector<std::string> entriesOf(const MapList& list)
{
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < list.size(); ++i)
        entries.push_back(list[i]);
    return entries;
}

using LevelList = InTempDir;

}  // namespace

TEST_F(LevelList, EveryLineIsAnEntryKeptAsReadAndLogged)
{
    struct Case {
        const char* text;  // null: no file at all
        std::vector<std::string> entries;
    };
    const Case cases[] = {
        {"map/a.txt\n\nmap/c.txt\n", {"map/a.txt", "", "map/c.txt"}},
        {"map/a.txt\n\nmap/c.txt", {"map/a.txt", "", "map/c.txt"}},
        {"map/a.txt\n\n", {"map/a.txt", ""}},
        {"map/a.txt\r\nmap/b.txt\r\n", {"map/a.txt", "map/b.txt"}},
        {"a\r\r\nb\r", {"a\r", "b\r"}},  // only the CR of a CR LF goes
        {" map/a.txt \n\tmap/b.txt\t\n", {" map/a.txt ", "\tmap/b.txt\t"}},
        {"\n", {""}},
        {"", {}},
        {nullptr, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text ? c.text : "(no file)"));
        std::filesystem::remove("jeu.txt");
        if (c.text)
            writeFile("jeu.txt", c.text);
        writeFile("log/GameLog.txt", "older\n");
        MapList list;
        EXPECT_EQ(list.load("jeu.txt"), 1);
        EXPECT_EQ(entriesOf(list), c.entries);
        std::string log = "map lues :\n";
        for (const std::string& entry : c.entries)
            log += entry + "\n";
        EXPECT_EQ(readFile("log/GameLog.txt"), log);
    }
}

TEST_F(LevelList, LoadsAppendAndTheLogHoldsOnlyTheLastOne)
{
    writeFile("one.txt", "a\nb\n");
    writeFile("two.txt", "c");
    MapList list;
    list.load("one.txt");
    list.load("one.txt");
    list.load("two.txt");
    EXPECT_EQ(entriesOf(list), (std::vector<std::string>{"a", "b", "a", "b", "c"}));
    EXPECT_EQ(readFile("log/GameLog.txt"), "map lues :\nc\n");
    EXPECT_EQ(list[5], "");  // past the end: a path that opens nothing

    std::filesystem::remove_all("log");
    list.load("two.txt");
    EXPECT_EQ(list.size(), 6u);
    EXPECT_FALSE(std::filesystem::exists("log"));
}
