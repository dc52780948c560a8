#pragma once
// A message box shown by a process of its own. SDL's box holds its caller until it is
// dismissed; shown from another process, it leaves the game's thread free to read its
// window's events while the box is open (a close request goes to the window at once, as
// Windows' box dispatches it), and lets the game end the box when the game ends.

#include <sys/types.h>

#include <string>

namespace platform {

class BoxProcess {
public:
    BoxProcess() = default;
    ~BoxProcess() { end(); }
    BoxProcess(const BoxProcess&) = delete;
    BoxProcess& operator=(const BoxProcess&) = delete;

    // Starts showing the box (UTF-8 caption and text) in a new run of this executable; false
    // when no process could be started.
    bool start(const std::string& caption, const std::string& text);
    // Without waiting: true once the box has gone, dismissed telling whether the player
    // dismissed it (rather than the box failing to show).
    bool finished(bool& dismissed);
    // Ends the box, and whatever its process started, at once.
    void end();

private:
    pid_t pid_ = -1;
};

// When this executable was started as a box process (by BoxProcess::start): shows the box and
// answers the exit code, 0 once the box is dismissed. -1 when the command line is not a box's.
int runAsBoxProcess(int argc, char** argv);

}  // namespace platform
