#pragma once

#include <string>
#include <vector>

#include "levels/Tile.h"

// One loaded level: the header values and the row-major grid of tiles.
// Row counts along x, column along z; tile (row, column) is grid[row * columns + column].
class Map {
public:
    struct Position {
        float x;
        float y;
        float z;
    };

    // Height given to every hole (a negative value in a grid file).
    static constexpr float holeHeight = -65489.0f;

    Map();
    ~Map();  // frees the vector; the tiles still in it are left alone

    int goalRow;
    int goalHeight;
    int goalColumn;
    float tileSizeX;
    float tileSizeZ;
    int rows;
    int columns;
    Position startPosition;
    float cameraAngleA;
    float cameraAngleB;
    std::string secondWord;
    std::string gridFile;
    std::vector<ITile*> grid;

    // Outside the grid (negative indices too): writes "badIndex" on std::cout, returns null.
    // The tile is lent: it lives until clear().
    ITile* getTile(int row, int column);
    // Outside the grid: false and no change. Never deletes the tile it replaces.
    bool setTile(int row, int column, ITile* tile);
    // Both fills append rows x columns tiles to whatever grid holds.
    int initGrid();  // height = row index
    int makeFlat(int rows, int columns);  // height 0
    // The cell of (x, z) with the far bounds inclusive: row == rows still counts.
    bool contains(float x, float y, float z);
    void clear();  // deletes every tile; the level's other fields stay

    // The loaders append to grid, so give them an empty one. Short or missing files are not
    // errors: whatever they do not give keeps its value.
    int load(std::string path);
    int readHeader(std::string path);  // 0 when the header does not open, else 1
    int loadGrid(std::string path);    // refuses more than maxGridCells: rows, columns set to 0
};
