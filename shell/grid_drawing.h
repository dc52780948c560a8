#pragma once
// The level drawn as boxes: one per grid cell, in a checkerboard, and the goal marker.

#include "levels/Map.h"
#include "levels/Tile.h"
#include "platform/d3dx9.h"

// The unit box centred at (x, the tile's height, z), with the texture already set. `world` is
// the caller's working matrix and ends as that translation. A null tile draws nothing and
// changes nothing; without a box mesh only the draw is left out.
D3DXMATRIX* drawTile(ITile* tile, float x, float z, D3DXMATRIX* world);

// Every cell of the grid, then the goal marker one unit above the goal height.
D3DXMATRIX* drawMap(Map* map, D3DXMATRIX* world);
