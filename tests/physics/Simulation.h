#pragma once
// A level built in memory and a ball driven over it by a test clock.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "levels/Map.h"
#include "levels/Tile.h"
#include "physics/Snake.h"
#include "support/scratch_directory.h"

constexpr float hole = Map::holeHeight;

// heights[row][column]: rows run along x, columns along z.
struct Level {
    Map map;

    explicit Level(std::initializer_list<std::vector<float>> heights, float tileX = 1.0f, float tileZ = 1.0f)
    {
        map.tileSizeX = tileX;
        map.tileSizeZ = tileZ;
        map.goalRow = map.goalColumn = 1000;  // out of the way unless a test moves it
        map.rows = static_cast<int>(heights.size());
        map.columns = heights.size() ? static_cast<int>(heights.begin()->size()) : 0;
        for (const auto& row : heights)
            for (float h : row) {
                NTile* tile = new NTile;
                tile->height = h;
                map.grid.push_back(tile);
            }
    }
    Level(const Level&) = delete;
    Level& operator=(const Level&) = delete;
    ~Level() { map.clear(); }
};

struct Simulation {
    Level level;
    Snake ball;
    std::uint32_t now = 1000;  // past the first 500 ms, where jumpStart 0 still counts as a jump

    explicit Simulation(std::initializer_list<std::vector<float>> heights, float tileX = 1.0f, float tileZ = 1.0f)
        : level(heights, tileX, tileZ)
    {
    }

    // Takes the first update (which lifts the ball to 5) and then places the ball.
    void place(float x, float y, float z, float vx = 0.0f, float vy = 0.0f, float vz = 0.0f)
    {
        ball.update(&level.map, now);
        ball.position = {x, y, z};
        ball.velocity = {vx, vy, vz};
    }
    // One turn of the game loop: update, then the flags are dropped for the next turn.
    bool step(std::uint32_t ms = 20)
    {
        now += ms;
        const bool result = ball.update(&level.map, now);
        lastContacts = ball.contacts;
        ball.contacts.clear();
        return result;
    }
    ContactFlags lastContacts;
};

// The whole of a file, or "<missing>" when it does not exist.
inline std::string readFile(const char* name)
{
    std::ifstream in(name, std::ios::binary);
    if (!in)
        return "<missing>";
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
