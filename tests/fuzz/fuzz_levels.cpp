// Fuzzes the level files: a header (Map::readHeader), its grid (Map::loadGrid) and the level
// list (MapList::load). The input is the three files one after another, separated by NUL
// bytes; a part that is not there is a file that does not exist.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <iostream>

#include "fuzz_files.h"
#include "levels/GridLimit.h"
#include "levels/Map.h"
#include "levels/MapList.h"

namespace {

const char* const kFiles[] = {"header", "grid", "list"};

// Grids up to maxGridCells are the game's to load, but one of millions of tiles takes seconds
// (a 4 KB input asks for 4096 x 4096: 12 s here) and only runs more turns of the loop a small
// grid runs. Such inputs are turned away so the run spends its time elsewhere; those past
// maxGridCells, which loadGrid refuses at once, still go through.
constexpr std::int64_t kMaxFuzzedCells = 1 << 16;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::enterScratchDirectory();
    // The loaders still open and write their logs, but into /dev/null: a large grid logs a
    // line per tile, and the disk is not what is under test.
    if (symlink("/dev/null", "log/logmap.txt") != 0 || symlink("/dev/null", "log/GameLog.txt") != 0) {
        std::perror("symlink");
        std::abort();
    }
    // loadGrid echoes every grid line and getTile reports bad indices on std::cout; the stream
    // without a buffer drops them unformatted.
    std::cout.rdbuf(nullptr);
    std::cerr.rdbuf(nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::size_t start = 0;
    for (const char* file : kFiles) {
        if (start > size) {
            std::remove(file);
            continue;
        }
        std::size_t end = start;
        while (end < size && data[end] != 0) {
            ++end;
        }
        fuzz::writeFile(file, data + start, end - start);
        start = end + 1;
    }

    // As Map::load does, but the grid is always the file above: the name the header gives is
    // a path anywhere on the machine, and the machine's files are not under test.
    Map map;
    map.readHeader("header");
    const std::int64_t cells = std::int64_t{map.rows} * map.columns;
    if (map.rows > 0 && map.columns > 0 && cells > kMaxFuzzedCells && !gridTooLarge(map.rows, map.columns)) {
        return -1;  // not kept in the corpus either
    }
    map.loadGrid("grid");
    // What the game asks of a level as it starts: the goal tile and where the ball stands.
    map.getTile(map.goalRow, map.goalColumn);
    map.contains(map.startPosition.x, map.startPosition.y, map.startPosition.z);
    map.contains(map.goalRow * map.tileSizeX, 0.0f, map.goalColumn * map.tileSizeZ);
    for (int row = 0; row < map.rows && row < 4; ++row) {
        for (int column = 0; column < map.columns && column < 4; ++column) {
            if (map.getTile(row, column) == nullptr) {
                std::fprintf(stderr, "no tile at (%d, %d) of a %d x %d grid\n", row, column, map.rows, map.columns);
                std::abort();
            }
        }
    }
    map.clear();

    MapList list;
    list.load("list");
    for (std::size_t i = 0; i <= list.size(); ++i) {
        (void)list[i];
    }
    return 0;
}
