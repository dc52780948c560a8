#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

#include "levels/GridLimit.h"
#include "levels/Map.h"
#include "levels/TextFile.h"

namespace {

// A failed extraction writes 0 or a range limit into its target; going through a temporary
// keeps the field as it was. The stream stays failed, so every later field keeps its value too.
template <typename T>
bool readField(std::istream& in, T& field)
{
    T value{};
    if (!(in >> value))
        return false;
    field = value;
    return true;
}

// The game goes on without the file, as it always has; the player at least learns which one.
void reportNotOpened(const char* what, const std::string& path)
{
    std::cerr << what << " \"" << path << "\" not loaded: the file does not open\n";
}

}  // namespace

int Map::load(std::string path)
{
    // A header that does not open leaves gridFile as it was: the previous level is read again.
    readHeader(path);
    loadGrid(gridFile);
    return 0;
}

int Map::readHeader(std::string path)
{
    std::ifstream file;
    if (!openTextFile(file, path)) {
        reportNotOpened("Level header", path);
        return 0;
    }
    std::istringstream buffer(std::string(std::istreambuf_iterator<char>(file), {}));
    file.close();

    // A short header is not an error: the fields it does not reach keep their values.
    readField(buffer, rows) && readField(buffer, columns) && readField(buffer, tileSizeX) &&
        readField(buffer, tileSizeZ) && readField(buffer, gridFile) &&
        readField(buffer, secondWord) && readField(buffer, goalRow) &&
        readField(buffer, goalHeight) && readField(buffer, goalColumn) &&
        readField(buffer, startPosition.x) && readField(buffer, startPosition.y) &&
        readField(buffer, startPosition.z) && readField(buffer, cameraAngleA) &&
        readField(buffer, cameraAngleB);
    return 1;
}

int Map::loadGrid(std::string path)
{
    // Emptied on every load, even one that reads nothing; without log/ it silently stays shut.
    std::ofstream log("log/logmap.txt");

    if (gridTooLarge(rows, columns)) {
        std::cerr << "Level grid \"" << path << "\" not loaded: " << rows << " rows x " << columns
                  << " columns is more than " << maxGridCells << " cells\n";
        rows = 0;
        columns = 0;
        return 0;
    }

    // Every cell gets a tile now, so rows the file does not reach still have one.
    initGrid();

    std::ifstream file;
    if (!openTextFile(file, path)) {
        if (!path.empty())  // no header has named a grid yet: its own line said so
            reportNotOpened("Level grid", path);
        return 0;
    }

    // The value read last stands in for every missing number, across lines too.
    float py = 0.0f;
    std::string ligne;
    for (int row = 0; row < rows && readTextLine(file, ligne); ++row) {
        std::istringstream buf(ligne);
        std::cout << ligne << '\n';
        for (int column = 0; column < columns; ++column) {
            readField(buf, py);
            NTile* tile = new NTile;
            tile->height = py < 0.0f ? holeHeight : py;
            ITile* provisional = getTile(row, column);
            setTile(row, column, tile);
            delete provisional;  // nothing else points at it
            log << tile->height << "\n";
        }
    }
    return 0;
}
