// The grid as boxes: order, checkerboard, where each box stands, and the goal marker.

#include <gtest/gtest.h>

#include "levels/Map.h"
#include "shell/device.h"
#include "shell/grid_drawing.h"
#include "shell_fixture.h"

using namespace shelltest;

namespace {

// One box as drawMap drew it: the texture bound and where the box was centred.
struct Box {
    IUnknown* texture;
    D3DVECTOR centre;
};

class Grid : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        writeSingleLevel(flatLevel(1, 1, "0 0 0  0 1 0  0 0"));
        startGame();
    }
    void TearDown() override {
        map.clear();
        ShellTest::TearDown();
    }

    // Draws `map` and reads back, per draw, the texture and world transform in force.
    std::vector<Box> draw() {
        rec->clearCalls();
        drawMap(&map, &world);
        std::vector<Box> boxes;
        IUnknown* texture = nullptr;
        D3DVECTOR centre{};
        for (const platform::RecordedCall& call : rec->calls()) {
            if (call.name == "SetTexture") texture = call.object;
            if (call.name == "SetTransform") centre = translationOf(call.matrix);
            if (call.name == "DrawIndexedPrimitive") boxes.push_back(Box{texture, centre});
        }
        return boxes;
    }

    Map map;
    D3DXMATRIX world;
};

void expectAt(const Box& box, float x, float y, float z) {
    EXPECT_FLOAT_EQ(box.centre.x, x);
    EXPECT_FLOAT_EQ(box.centre.y, y);
    EXPECT_FLOAT_EQ(box.centre.z, z);
}

}  // namespace

TEST_F(Grid, TwoByThreeInRowOrderWithTheCheckerboardAndTheMarker) {
    map.makeFlat(2, 3);
    map.tileSizeX = 2.0f;
    map.tileSizeZ = 3.0f;
    for (int i = 0; i < 5; ++i) static_cast<NTile*>(map.grid[i])->height = 0.5f * i;
    static_cast<NTile*>(map.grid[5])->height = Map::holeHeight;  // holes are drawn too, far below
    map.goalRow = 1;
    map.goalHeight = 2;
    map.goalColumn = 2;

    const std::vector<Box> boxes = draw();
    EXPECT_EQ(rec->count("SetTexture"), 7u);
    EXPECT_EQ(rec->count("SetTransform"), 7u);
    ASSERT_EQ(boxes.size(), 7u);

    IUnknown* even = evenCellTexture;
    IUnknown* odd = oddCellTexture;
    const IUnknown* expectedTextures[] = {even, odd, even, odd, even, odd, goalTexture};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(boxes[i].texture, expectedTextures[i]) << "box " << i;
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 3; ++column) {
            const int i = row * 3 + column;
            expectAt(boxes[i], 2.0f * row, i == 5 ? Map::holeHeight : 0.5f * i, 3.0f * column);
        }
    }
    expectAt(boxes[6], 2.0f, 3.0f, 6.0f);

    // The textures are the files they should be.
    EXPECT_EQ(static_cast<platform::RecordingTexture*>(evenCellTexture)->texel(0, 0), evenColour);
    EXPECT_EQ(static_cast<platform::RecordingTexture*>(oddCellTexture)->texel(0, 0), oddColour);
    EXPECT_EQ(static_cast<platform::RecordingTexture*>(goalTexture)->texel(0, 0), goalColour);

    // The marker never enters the level, and the caller's matrix ends as its translation.
    EXPECT_EQ(map.grid.size(), 6u);
    const D3DVECTOR last = translationOf(world);
    EXPECT_EQ(last.x, 2.0f);
    EXPECT_EQ(last.y, 3.0f);
    EXPECT_EQ(last.z, 6.0f);
}

TEST_F(Grid, GoalMarkerStandsOneAboveTheGoalWhereverTheGoalIs) {
    struct Case {
        int goalRow, goalHeight, goalColumn;
        float tileX, tileZ;
        float x, y, z;
    };
    const Case cases[] = {
        {4, 2, 5, 1.0f, 1.0f, 4.0f, 3.0f, 5.0f},
        {-1, 0, -2, 2.0f, 0.5f, -2.0f, 1.0f, -1.0f},  // outside the grid: no lookup, no complaint
        {0, -3, 0, 1.0f, 1.0f, 0.0f, -2.0f, 0.0f},
        {0, 2147483647, 0, 1.0f, 1.0f, 0.0f, -2147483648.0f, 0.0f},  // wraps, no overflow
    };
    for (const Case& c : cases) {
        map.goalRow = c.goalRow;
        map.goalHeight = c.goalHeight;
        map.goalColumn = c.goalColumn;
        map.tileSizeX = c.tileX;
        map.tileSizeZ = c.tileZ;
        const std::vector<Box> boxes = draw();  // the map as constructed has no cell
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].texture, goalTexture);
        expectAt(boxes[0], c.x, c.y, c.z);
    }
}

TEST_F(Grid, EmptyDimensionsDrawOnlyTheMarker) {
    for (const auto& [rows, columns] : {std::pair{0, 3}, std::pair{3, 0}, std::pair{-1, -1}}) {
        map.rows = rows;
        map.columns = columns;
        const std::vector<Box> boxes = draw();
        ASSERT_EQ(boxes.size(), 1u);
        expectAt(boxes[0], 0.0f, 1.0f, 0.0f);
    }
}

TEST_F(Grid, TileWithoutTileOrBoxDrawsNothing) {
    D3DXMATRIX kept;
    kept._11 = 7.0f;
    kept._42 = -3.0f;
    const D3DXMATRIX before = kept;
    rec->clearCalls();
    EXPECT_EQ(drawTile(nullptr, 1.0f, 2.0f, &kept), &kept);
    EXPECT_TRUE(rec->calls().empty());
    EXPECT_EQ(kept._11, before._11);
    EXPECT_EQ(kept._42, before._42);

    // A box mesh that was never made: only the draws go; every cell still costs its texture
    // and its world transform, and the marker's translation is what is left behind.
    LPD3DXMESH made = boxMesh;
    boxMesh = nullptr;
    map.makeFlat(2, 2);
    map.goalRow = 3;
    map.goalHeight = 4;
    map.goalColumn = 5;
    const std::vector<Box> boxes = draw();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(callNames(rec->calls()),
              (std::vector<std::string>{"SetTexture", "SetTransform", "SetTexture", "SetTransform", "SetTexture",
                                        "SetTransform", "SetTexture", "SetTransform", "SetTexture", "SetTransform"}));
    const D3DVECTOR left = translationOf(world);
    EXPECT_EQ(left.x, 3.0f);
    EXPECT_EQ(left.y, 5.0f);
    EXPECT_EQ(left.z, 5.0f);
    expectMatrixNear(rec->device()->transform(D3DTS_WORLD), world, 0.0f);
    boxMesh = made;
}
