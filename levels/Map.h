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

    ITile* getTile(int row, int column);
    bool setTile(int row, int column, ITile* tile);
    int initGrid();
    int makeFlat(int rows, int columns);
    bool contains(float x, float y, float z);
    void clear();

    int load(std::string path);
    int readHeader(std::string path);
    int loadGrid(std::string path);
};
