#include "physics/Entite.h"

#include <cstdint>

#include "levels/CellIndex.h"

void ContactFlags::clear()
{
    pres = false;
    loin = false;
    gauche = false;
    droite = false;
    dessus = false;
}

// lastUpdate, jumpDuration, tileUnder and jumpRequest belong to whoever creates the entity;
// they start at zero here so nothing reads an indeterminate value.
Entite::Entite()
    : position{1.0f, 1.0f, 1.0f},
      velocity{0.0f, 0.0f, 0.0f},
      lastUpdate(0),
      jumpStart(0),
      jumpDuration(0),
      started(false),
      radius(1.0f),
      contacts(),
      tileUnder(nullptr),
      jumpRequest(false)
{
}

Entite::~Entite() = default;

namespace {

// Cell arithmetic is done in 64 bits: an index of INT32_MIN (a point off any grid) must
// not overflow when a neighbour is formed from it.
bool inGrid(const Map& map, std::int64_t row, std::int64_t column)
{
    return row >= 0 && column >= 0 && row < map.rows && column < map.columns;
}

// The height of the tile in a cell that passed inGrid. A grid that breaks its own
// invariant (a missing or foreign tile) gives no height rather than a crash.
bool heightAt(Map& map, std::int64_t row, std::int64_t column, float& height, ITile** tile = nullptr)
{
    ITile* found = map.getTile(static_cast<int>(row), static_cast<int>(column));
    if (tile)
        *tile = found;
    const NTile* plain = dynamic_cast<const NTile*>(found);
    if (!plain)
        return false;
    height = plain->height;
    return true;
}

bool wallAt(Map& map, std::int64_t row, std::int64_t column, float distance, float radius, float y)
{
    float height = 0.0f;
    if (!inGrid(map, row, column) || !heightAt(map, row, column, height))
        return false;
    return radius >= distance && height > y;
}

}  // namespace

void Entite::updateContacts(Map* map)
{
    contacts.clear();

    const float tx = map->tileSizeX;
    const float tz = map->tileSizeZ;
    contacts.row = cellIndex(position.x / tx);
    contacts.column = cellIndex(position.z / tz);

    const std::int64_t row = contacts.row;
    const std::int64_t column = contacts.column;
    const float x = position.x;
    const float z = position.z;
    const float lowX = static_cast<float>(row - 1) * tx - x;
    const float highX = x - static_cast<float>(row + 1) * tx;
    const float lowZ = static_cast<float>(column - 1) * tz - z;
    const float highZ = z - static_cast<float>(column + 1) * tz;

    contacts.pres = wallAt(*map, row, column - 1, lowZ, radius, position.y);
    contacts.loin = wallAt(*map, row, column + 1, highZ, radius, position.y);
    contacts.droite = wallAt(*map, row + 1, column, highX, radius, position.y);
    contacts.gauche = wallAt(*map, row - 1, column, lowX, radius, position.y);

    if (inGrid(*map, row, column)) {
        float height = 0.0f;
        if (heightAt(*map, row, column, height, &tileUnder))
            // The 1.0 is a double: the sum is not rounded back to float before comparing.
            contacts.dessus = static_cast<double>(position.y) < static_cast<double>(height) + 1.0;
    }
}
