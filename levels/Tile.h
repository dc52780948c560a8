#pragma once

// A cell of the level grid. The grid owns its tiles and deletes them through ITile*.
class ITile {
public:
    ITile() = default;
    virtual ~ITile() = default;
    virtual void act() = 0;  // no behaviour yet; kept for tiles that will do something
};

// The only kind of tile: a box at some height. A hole is an NTile far below the grid.
// Every creator sets height straight away; it starts at 0 so a forgotten one is still defined.
class NTile : public ITile {
public:
    NTile() = default;
    ~NTile() override = default;
    void act() override {}

    float height = 0.0f;
};
