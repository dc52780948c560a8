#include "shell/level_flow.h"

#include <cstdint>
#include <iostream>

#include "platform/win32.h"
#include "shell/globals.h"
#include "shell/messages.h"

int currentLevel = 0;
float currentCameraAngleA = 0.0f;
float currentCameraAngleB = 0.0f;

namespace {

void showExclamation(const char* text, const char* caption) {
    MessageBoxA(nullptr, text, caption, MB_OK | MB_ICONEXCLAMATION);
}

// Position, velocity and camera angles all come from the level just loaded.
void placeBallAtLevelStart() {
    ReturnBallToStart();
    currentCameraAngleA = gameMap.cameraAngleA;
    currentCameraAngleB = gameMap.cameraAngleB;
}

}  // namespace

void ReturnBallToStart() {
    ball.position.x = gameMap.startPosition.x;
    ball.position.y = gameMap.startPosition.y;
    ball.position.z = gameMap.startPosition.z;
    ball.velocity.x = 0.0f;
    ball.velocity.y = 0.0f;
    ball.velocity.z = 0.0f;
}

bool StartGame() {
    mapList.load(messages::levelListFile);
    // A missing list reads as an empty one; without an entry 0 there is no game to start.
    if (mapList.size() == 0) {
        std::cerr << "Quorvel: no level to play: the level list \"" << messages::levelListFile
                  << "\" is missing or empty\n";
        return false;
    }
    gameMap.load(mapList[0]);
    placeBallAtLevelStart();
    return true;
}

void AdvanceLevel() {
    const std::size_t entries = mapList.size();
    if (entries == 0) {
        return;  // no game was started; there is no level to go to
    }
    // Both sides unsigned 32-bit, as the level index has always been compared.
    const std::uint32_t lastIndex = static_cast<std::uint32_t>(entries) - 1u;
    if (static_cast<std::uint32_t>(currentLevel) >= lastIndex) {
        showExclamation(messages::gameOverText, messages::gameOverCaption);
        return;
    }
    ++currentLevel;
    gameMap.clear();
    gameMap.load(mapList[static_cast<std::size_t>(currentLevel)]);
    // The new level is already loaded while the player reads this.
    showExclamation(messages::nextLevelText, messages::nextLevelCaption);
    placeBallAtLevelStart();
}
