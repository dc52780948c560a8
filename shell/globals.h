#pragma once
// The game's three global objects, shared by the loop, the level flow and the drawing.

#include "levels/Map.h"
#include "levels/MapList.h"
#include "physics/Snake.h"

extern Map gameMap;
extern Snake ball;
extern MapList mapList;
