// The display tests' entry: like the game's, a run started to show a message box does only that.

#include <gtest/gtest.h>

#include "platform/sdl/box_process.h"

int main(int argc, char** argv) {
    const int boxExit = platform::runAsBoxProcess(argc, argv);
    if (boxExit >= 0) {
        return boxExit;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
