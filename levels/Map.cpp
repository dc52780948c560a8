#include "levels/Map.h"

#include "levels/CellIndex.h"

#include <cstddef>
#include <cstdint>
#include <iostream>

namespace {

// Index of a cell inside the grid, or -1. The entry count is checked too, so a cleared
// grid whose dimensions are still set answers "outside" instead of reading past the end.
std::int64_t gridIndex(const Map& map, int row, int column)
{
    if (row < 0 || column < 0 || row >= map.rows || column >= map.columns)
        return -1;
    const std::int64_t index = std::int64_t{row} * map.columns + column;
    if (static_cast<std::uint64_t>(index) >= map.grid.size())
        return -1;
    return index;
}

// Appends rows x columns new tiles, row-major; heightOf(row) gives each tile's height.
template <typename HeightOf>
void appendTiles(std::vector<ITile*>& grid, int rows, int columns, HeightOf heightOf)
{
    if (columns <= 0)
        return;  // nothing to append, however many rows
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            NTile* tile = new NTile;
            tile->height = heightOf(row);
            grid.push_back(tile);
        }
    }
}

}  // namespace

Map::Map()
    : goalRow(0),
      goalHeight(0),
      goalColumn(0),
      tileSizeX(1.0f),
      tileSizeZ(1.0f),
      rows(-1),
      columns(-1),
      startPosition{0.0f, 0.0f, 0.0f},
      cameraAngleA(0.0f),
      cameraAngleB(0.0f)
{
}

Map::~Map() = default;

ITile* Map::getTile(int row, int column)
{
    const std::int64_t index = gridIndex(*this, row, column);
    if (index < 0) {
        std::cout << "badIndex";
        return nullptr;
    }
    return grid[static_cast<std::size_t>(index)];
}

bool Map::setTile(int row, int column, ITile* tile)
{
    const std::int64_t index = gridIndex(*this, row, column);
    if (index < 0)
        return false;
    grid[static_cast<std::size_t>(index)] = tile;
    return true;
}

int Map::initGrid()
{
    // Row index as height: a row the grid file never reaches shows up as a visible slope.
    appendTiles(grid, rows, columns, [](int row) { return static_cast<float>(row); });
    return 0;
}

int Map::makeFlat(int newRows, int newColumns)
{
    rows = newRows;
    columns = newColumns;
    appendTiles(grid, rows, columns, [](int) { return 0.0f; });
    return 0;
}

bool Map::contains(float x, float, float z)
{
    if (tileSizeX == 0.0f || tileSizeZ == 0.0f)
        return false;  // no cell at all; also keeps the division defined
    // A quotient no int holds becomes INT32_MIN, which the bounds below refuse.
    const int row = cellIndex(x / tileSizeX);
    const int column = cellIndex(z / tileSizeZ);
    // The far bounds are inclusive: the cell just past the last row or column counts as inside.
    return row >= 0 && column >= 0 && row <= rows && column <= columns;
}

void Map::clear()
{
    for (ITile* tile : grid)
        delete tile;
    grid.clear();
}
