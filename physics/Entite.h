#pragma once

#include <cstdint>

#include "levels/Map.h"
#include "levels/Tile.h"

// What an entity touches this turn: a wall on each horizontal side, standing, and its cell.
struct ContactFlags {
    bool pres = false;    // wall at low z
    bool loin = false;    // wall at high z
    bool gauche = false;  // wall at low x
    bool droite = false;  // wall at high x
    bool dessus = false;  // standing on its own cell's tile
    std::int32_t row = 0;
    std::int32_t column = 0;

    void clear();  // the five flags only; the cell stays
};

// A sphere that moves over a level.
class Entite {
public:
    struct Vector {
        float x;
        float y;
        float z;
    };

    Entite();
    virtual ~Entite();
    virtual void updateContacts(Map* map);

    Vector position;
    Vector velocity;
    std::uint32_t lastUpdate;
    std::uint32_t jumpStart;
    std::uint32_t jumpDuration;
    bool started;
    float radius;
    ContactFlags contacts;
    ITile* tileUnder;
    bool jumpRequest;
};
