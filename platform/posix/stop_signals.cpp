#include "platform/posix/stop_signals.h"

#include <errno.h>
#include <pthread.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <atomic>
#include <new>

namespace {

// In memory shared with the box child: the child must see a signal that came after the fork,
// and the parent must learn the child's pid, which SDL keeps to itself.
struct Shared {
    std::atomic<int> signals{0};
    std::atomic<pid_t> boxPid{0};
};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<pid_t>::is_always_lock_free &&
                  std::atomic<Shared*>::is_always_lock_free,
              "a signal handler may touch lock-free atomics only");

std::atomic<Shared*> shared{nullptr};
std::atomic<pid_t> owner{0};  // a forked copy of the handler is not the game's

constexpr int stopSignals[] = {SIGTERM, SIGINT};
struct sigaction before[2];
bool caught[2] = {false, false};
int signalsTaken = 0;

// Per thread: only the thread that shows the box forks for it.
thread_local bool boxOpening = false;
thread_local pid_t boxParent = 0;
thread_local sigset_t maskBeforeFork;

void onStopSignal(int number) {
    const int savedErrno = errno;
    if (getpid() != owner.load()) {
        // A child forked for something else: do what the signal would do there without us.
        struct sigaction plain {};
        plain.sa_handler = SIG_DFL;
        sigaction(number, &plain, nullptr);
        raise(number);
    } else if (Shared* page = shared.load()) {
        page->signals.fetch_add(1);
        const pid_t box = page->boxPid.load();
        if (box > 0) {
            kill(box, SIGKILL);
        }
    }
    errno = savedErrno;
}

sigset_t stopSet() {
    sigset_t set;
    sigemptyset(&set);
    for (int number : stopSignals) {
        sigaddset(&set, number);
    }
    return set;
}

// A signal that comes during the fork waits until the child can be told apart from us.
void beforeFork() {
    if (boxOpening) {
        const sigset_t stop = stopSet();
        pthread_sigmask(SIG_BLOCK, &stop, &maskBeforeFork);
    }
}

void afterForkInParent() {
    if (boxOpening) {
        pthread_sigmask(SIG_SETMASK, &maskBeforeFork, nullptr);
    }
}

void afterForkInChild() {
    if (!boxOpening) {
        return;
    }
    struct sigaction plain {};
    plain.sa_handler = SIG_DFL;
    for (int i = 0; i < 2; ++i) {
        if (caught[i]) {
            sigaction(stopSignals[i], &plain, nullptr);
        }
    }
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != boxParent) {
        _exit(1);  // the parent died before the line above could see to it
    }
    Shared* page = shared.load();
    page->boxPid.store(getpid());
    // Stored first, read second, as the handler does the other way round: one of the two
    // sees the other, so a signal between the fork and the store is not missed.
    if (page->signals.load() != 0) {
        _exit(1);
    }
    pthread_sigmask(SIG_SETMASK, &maskBeforeFork, nullptr);
}

// Made once, for the process: fork handlers cannot be taken back.
Shared* sharedPage() {
    static Shared* page = []() -> Shared* {
        void* memory = mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
        if (memory == MAP_FAILED) {
            return nullptr;
        }
        if (pthread_atfork(beforeFork, afterForkInParent, afterForkInChild) != 0) {
            munmap(memory, sizeof(Shared));
            return nullptr;
        }
        return new (memory) Shared{};
    }();
    return page;
}

}  // namespace

bool platform::catchStopSignals() {
    Shared* page = sharedPage();
    if (page == nullptr) {
        return false;
    }
    page->signals.store(0);
    page->boxPid.store(0);
    signalsTaken = 0;
    owner.store(getpid());
    shared.store(page);

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
    return true;
}

void platform::releaseStopSignals() {
    for (int i = 0; i < 2; ++i) {
        if (caught[i]) {
            sigaction(stopSignals[i], &before[i], nullptr);
            caught[i] = false;
        }
    }
}

bool platform::stopSignalled() {
    Shared* page = shared.load();
    return page != nullptr && page->signals.load() != 0;
}

bool platform::takeStopSignals() {
    Shared* page = shared.load();
    if (page == nullptr) {
        return false;
    }
    const int count = page->signals.load();
    const bool news = count != signalsTaken;
    signalsTaken = count;
    return news;
}

platform::BoxChildScope::BoxChildScope() {
    boxParent = getpid();
    boxOpening = shared.load() != nullptr;  // nothing to do unless the signals are ours
}

platform::BoxChildScope::~BoxChildScope() {
    boxOpening = false;
    if (Shared* page = shared.load()) {
        page->boxPid.store(0);
    }
}
