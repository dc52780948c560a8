#pragma once
// SIGTERM and SIGINT as a request to stop: counted for the event loop, which closes the
// windows, and fatal to a message box's child process. SDL shows a box in a child and waits
// for it without end, so a signal can free the game only by ending that child.

namespace platform {

// From now on the two signals are counted instead of ending the process, even one that was
// ignored (as SIGINT is in a background job of a script). False, with nothing changed, when
// the memory shared with box children cannot be had.
bool catchStopSignals();
// Gives the two signals back what they did before catchStopSignals.
void releaseStopSignals();

// A stop signal has come since catchStopSignals.
bool stopSignalled();
// Stop signals have come since the last call.
bool takeStopSignals();

// While one is alive, a process forked by this thread is taken for a message box: the two
// signals do their default there, it dies with its parent, and a stop signal to the parent
// kills it (at once, if one came before it could be told).
class BoxChildScope {
public:
    BoxChildScope();
    ~BoxChildScope();
    BoxChildScope(const BoxChildScope&) = delete;
    BoxChildScope& operator=(const BoxChildScope&) = delete;
};

}  // namespace platform
