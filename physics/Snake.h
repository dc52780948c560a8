#pragma once

#include <cstdint>

#include "levels/Map.h"
#include "physics/Entite.h"

// The player's ball.
class Snake : public Entite {
public:
    Snake();
    ~Snake() override;

    // One motion step at time `now` (ms). False when the ball is in the goal area.
    bool update(Map* map, std::uint32_t now);
    void logContacts();
};
