#include "shell/grid_drawing.h"

#include <cstdint>

#include "shell/device.h"

D3DXMATRIX* drawTile(ITile* tile, float x, float z, D3DXMATRIX* world) {
    const NTile* box = dynamic_cast<const NTile*>(tile);
    if (box == nullptr) {
        return world;
    }
    D3DXMATRIXA16 matTranslation;
    D3DXMatrixIdentity(&matTranslation);
    D3DXMatrixIdentity(world);
    D3DXMatrixTranslation(&matTranslation, x, box->height, z);
    D3DXMatrixMultiply(world, world, &matTranslation);
    device->SetTransform(D3DTS_WORLD, world);
    // Without a box mesh (its creation failed at start-up) only the draw itself is left out.
    if (boxMesh != nullptr) {
        boxMesh->DrawSubset(0);
    }
    return world;
}

D3DXMATRIX* drawMap(Map* map, D3DXMATRIX* world) {
    for (int row = 0; row < map->rows; ++row) {
        for (int column = 0; column < map->columns; ++column) {
            const int parity = (row + column) % 2;
            device->SetTexture(0, parity == 0 ? evenCellTexture : oddCellTexture);
            const float x = static_cast<float>(row) * map->tileSizeX;
            const float z = static_cast<float>(column) * map->tileSizeZ;
            drawTile(map->getTile(row, column), x, z, world);
        }
    }

    NTile* marker = new NTile;
    // Wraps like a 32-bit sum instead of overflowing on a goal height of INT_MAX.
    const auto above = static_cast<std::int32_t>(static_cast<std::uint32_t>(map->goalHeight) + 1u);
    marker->height = static_cast<float>(above);
    device->SetTexture(0, goalTexture);
    drawTile(marker, static_cast<float>(map->goalRow) * map->tileSizeX,
             static_cast<float>(map->goalColumn) * map->tileSizeZ, world);
    delete marker;
    return world;
}
