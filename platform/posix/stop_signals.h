#pragma once
// SIGTERM and SIGINT as a request to stop: counted for the event loop, which closes the
// windows, and which ends a message box that is open.

namespace platform {

// From now on the two signals are counted instead of ending the process, even one that was
// ignored (as SIGINT is in a background job of a script). False when they could not be taken.
bool catchStopSignals();
// Gives the two signals back what they did before catchStopSignals.
void releaseStopSignals();

// A stop signal has come since catchStopSignals.
bool stopSignalled();
// Stop signals have come since the last call.
bool takeStopSignals();

}  // namespace platform
