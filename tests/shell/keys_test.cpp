// The key table: what each key changes, and the wall that stops a steering key.

#include <gtest/gtest.h>

#include "shell/globals.h"
#include "shell/key_table.h"
#include "shell/level_flow.h"

namespace {

struct KeyCase {
    WPARAM key;
    bool ContactFlags::*wall;  // the flag that stops it, or null
    double velocityX, velocityZ, angleA, angleB;
    bool jump;
};

const KeyCase keyCases[] = {
    {'J', &ContactFlags::gauche, -0.001, 0, 0, 0, false},
    {'I', &ContactFlags::loin, 0, 0.001, 0, 0, false},
    {'L', &ContactFlags::droite, 0.001, 0, 0, 0, false},
    {'K', &ContactFlags::pres, 0, -0.001, 0, 0, false},
    {'M', nullptr, 0, 0, 0, 0, true},
    {'Q', nullptr, 0, 0, 0.1, 0, false},
    {'D', nullptr, 0, 0, -0.1, 0, false},
    {'Z', nullptr, 0, 0, 0, 0.1, false},
    {'S', nullptr, 0, 0, 0, -0.1, false},
    // Anything else, lower-case letters and codes with high bits included, does nothing.
    {'A', nullptr, 0, 0, 0, 0, false},
    {'j', nullptr, 0, 0, 0, 0, false},
    {0x10000 + 'L', nullptr, 0, 0, 0, 0, false},
};

void resetBall(float start) {
    ball.velocity = {start, start, start};
    ball.jumpRequest = false;
    currentCameraAngleA = start;
    currentCameraAngleB = start;
}

// Stored as floats after arithmetic in double.
float stepped(float start, double step) { return static_cast<float>(static_cast<double>(start) + step); }

}  // namespace

TEST(Keys, EachKeyChangesItsOwnFieldOnce) {
    for (const KeyCase& c : keyCases) {
        SCOPED_TRACE(testing::Message() << "key 0x" << std::hex << c.key);
        const float start = 0.3f;  // not exact in binary, so the double step shows
        resetBall(start);
        ball.contacts.clear();
        // Walls stop steering keys only; every other key acts whatever the flags.
        const bool walled = c.wall == nullptr;
        ball.contacts.pres = ball.contacts.loin = ball.contacts.gauche = ball.contacts.droite = walled;
        ApplyKey(c.key);
        EXPECT_EQ(ball.velocity.x, stepped(start, c.velocityX));
        EXPECT_EQ(ball.velocity.z, stepped(start, c.velocityZ));
        EXPECT_EQ(ball.velocity.y, start);
        EXPECT_EQ(currentCameraAngleA, stepped(start, c.angleA));
        EXPECT_EQ(currentCameraAngleB, stepped(start, c.angleB));
        EXPECT_EQ(ball.jumpRequest, c.jump);
    }
}

TEST(Keys, SteeringStopsOnlyAtTheWallOnItsSide) {
    for (const KeyCase& c : keyCases) {
        if (c.wall == nullptr) continue;
        for (bool ContactFlags::*wall :
             {&ContactFlags::pres, &ContactFlags::loin, &ContactFlags::gauche, &ContactFlags::droite,
              &ContactFlags::dessus}) {
            resetBall(0.0f);
            ball.contacts.clear();
            ball.contacts.*wall = true;
            ApplyKey(c.key);
            const bool stopped = wall == c.wall;
            EXPECT_EQ(ball.velocity.x, stopped ? 0.0f : stepped(0.0f, c.velocityX));
            EXPECT_EQ(ball.velocity.z, stopped ? 0.0f : stepped(0.0f, c.velocityZ));
        }
    }
}
