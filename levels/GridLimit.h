#pragma once

#include <cstdint>

// A level asking for more cells than this is taken as a corrupt header, not as a level:
// its tiles would not fit in memory, and its indices would not fit in an int.
constexpr std::int64_t maxGridCells = 16777216;  // 4096 x 4096

// Negative or zero dimensions make no tiles, so only a product of two positives can be too large.
inline bool gridTooLarge(int rows, int columns)
{
    return rows > 0 && columns > 0 && std::int64_t{rows} * columns > maxGridCells;
}
