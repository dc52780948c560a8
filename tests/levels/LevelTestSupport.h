#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "levels/Map.h"
#include "levels/Tile.h"
#include "support/scratch_directory.h"

// Runs each test in a fresh temporary working directory holding an empty log/, since every
// path the loaders use is relative to the working directory.
class InTempDir : public ::testing::Test {
protected:
    void SetUp() override { scratch.emplace(); }
    void TearDown() override { scratch.reset(); }

    std::optional<ScratchDirectory> scratch;
};

inline void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Collects what the code under test writes on std::cout (or another stream) while it lives.
class Capture {
public:
    explicit Capture(std::ostream& stream = std::cout) : stream(stream), saved(stream.rdbuf(text.rdbuf())) {}
    ~Capture() { stream.rdbuf(saved); }
    std::string str() const { return text.str(); }

private:
    std::ostream& stream;
    std::ostringstream text;
    std::streambuf* saved;
};

// A tile that counts its deletions, to see who deletes what.
struct CountingTile : ITile {
    explicit CountingTile(int& deletions) : deletions(deletions) {}
    ~CountingTile() override { ++deletions; }
    void act() override {}
    int& deletions;
};

inline std::vector<float> heights(const Map& map)
{
    std::vector<float> result;
    for (ITile* tile : map.grid)
        result.push_back(static_cast<NTile*>(tile)->height);
    return result;
}

inline Map mapOfSize(int rows, int columns)
{
    Map map;
    map.rows = rows;
    map.columns = columns;
    return map;
}
