#include "shell/key_table.h"

#include "shell/globals.h"
#include "shell/level_flow.h"

namespace {

constexpr double steeringStep = 0.001;
constexpr double cameraStep = 0.1;

// In double, then back to the float field.
void nudge(float& value, double step) { value = static_cast<float>(value + step); }

}  // namespace

void ApplyKey(WPARAM key) {
    const ContactFlags& walls = ball.contacts;
    if (key == keyQuit) {
        PostQuitMessage(0);
    } else if (key == keyLowX) {
        if (!walls.gauche) nudge(ball.velocity.x, -steeringStep);
    } else if (key == keyHighZ) {
        if (!walls.loin) nudge(ball.velocity.z, steeringStep);
    } else if (key == keyHighX) {
        if (!walls.droite) nudge(ball.velocity.x, steeringStep);
    } else if (key == keyLowZ) {
        if (!walls.pres) nudge(ball.velocity.z, -steeringStep);
    } else if (key == keyJump) {
        ball.jumpRequest = true;
    } else if (key == keyAngleAUp) {
        nudge(currentCameraAngleA, cameraStep);
    } else if (key == keyAngleADown) {
        nudge(currentCameraAngleA, -cameraStep);
    } else if (key == keyAngleBUp) {
        nudge(currentCameraAngleB, cameraStep);
    } else if (key == keyAngleBDown) {
        nudge(currentCameraAngleB, -cameraStep);
    }
}
