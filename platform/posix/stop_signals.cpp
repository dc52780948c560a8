#include "platform/posix/stop_signals.h"

#include <signal.h>

#include <atomic>

namespace {

std::atomic<int> signalsCome{0};
static_assert(std::atomic<int>::is_always_lock_free, "a signal handler may touch lock-free atomics only");
int signalsTaken = 0;

constexpr int stopSignals[] = {SIGTERM, SIGINT};
struct sigaction before[2];
bool caught[2] = {false, false};

void onStopSignal(int) { signalsCome.fetch_add(1); }

}  // namespace

bool platform::catchStopSignals() {
    signalsCome.store(0);
    signalsTaken = 0;
    struct sigaction handler {};
    handler.sa_handler = onStopSignal;
    sigemptyset(&handler.sa_mask);
    handler.sa_flags = SA_RESTART;
    // Even a SIGINT ignored from the start (a background job of a script) is taken: whoever
    // sends it to the game means it to stop.
    for (int i = 0; i < 2; ++i) {
        if (!caught[i]) {
            caught[i] = sigaction(stopSignals[i], &handler, &before[i]) == 0;
        }
    }
    return caught[0] && caught[1];
}

void platform::releaseStopSignals() {
    for (int i = 0; i < 2; ++i) {
        if (caught[i]) {
            sigaction(stopSignals[i], &before[i], nullptr);
            caught[i] = false;
        }
    }
}

bool platform::stopSignalled() { return signalsCome.load() != 0; }

bool platform::takeStopSignals() {
    const int count = signalsCome.load();
    const bool news = count != signalsTaken;
    signalsTaken = count;
    return news;
}
