#include "platform/sdl/box_process.h"

#include <SDL.h>
#include <pthread.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace platform {
namespace {

// The command line of a box process: program, this flag, the game's pid, caption, text.
constexpr char boxFlag[] = "--quorvel-message-box";

// Even a game killed outright must leave no box behind.
void dieWithParent() { prctl(PR_SET_PDEATHSIG, SIGKILL); }

}  // namespace

bool BoxProcess::start(const std::string& caption, const std::string& text) {
    end();
    const std::string parent = std::to_string(getpid());
    char* const argv[] = {const_cast<char*>("quorvel"), const_cast<char*>(boxFlag),
                          const_cast<char*>(parent.c_str()), const_cast<char*>(caption.c_str()),
                          const_cast<char*>(text.c_str()), nullptr};

    posix_spawnattr_t attributes;
    if (posix_spawnattr_init(&attributes) != 0) {
        return false;
    }
    // A group of its own, so that ending it ends whatever it forks too; the game's signal
    // handlers and mask are not the box's.
    sigset_t none;
    sigset_t stopSignals;
    sigemptyset(&none);
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setsigdefault(&attributes, &stopSignals);
    posix_spawnattr_setsigmask(&attributes, &none);

    pid_t pid = -1;
    const int failed = posix_spawn(&pid, "/proc/self/exe", nullptr, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    if (failed != 0) {
        return false;
    }
    pid_ = pid;
    return true;
}

bool BoxProcess::finished(bool& dismissed) {
    dismissed = false;
    if (pid_ <= 0) {
        return true;
    }
    int status = 0;
    const pid_t waited = waitpid(pid_, &status, WNOHANG);
    if (waited == 0 || (waited < 0 && errno == EINTR)) {
        return false;
    }
    pid_ = -1;
    dismissed = waited > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return true;
}

void BoxProcess::end() {
    if (pid_ <= 0) {
        return;
    }
    kill(-pid_, SIGKILL);
    kill(pid_, SIGKILL);
    while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
}

int runAsBoxProcess(int argc, char** argv) {
    if (argc != 5 || std::strcmp(argv[1], boxFlag) != 0) {
        return -1;
    }
    dieWithParent();
    if (std::to_string(getppid()) != argv[2]) {
        return 1;  // the game was gone before this process could be tied to it
    }
    // SDL shows the box from a child of its own: tie that one to this process too.
    pthread_atfork(nullptr, nullptr, dieWithParent);
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, argv[3], argv[4], nullptr) != 0) {
        // The player must still learn what happened; say it on the console instead.
        std::fprintf(stderr, "%s: %s (no message box: %s)\n", argv[3], argv[4], SDL_GetError());
        return 1;
    }
    return 0;
}

}  // namespace platform
