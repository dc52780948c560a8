// SIGTERM and SIGINT as stop requests, and the message box child they must end. Every test
// runs in a process of its own, so the handlers one installs do not reach the next.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/posix/stop_signals.h"

namespace {

// Forks a child that writes one byte to the pipe and then waits up to five seconds to be
// killed. Returns its pid; ready is the pipe's reading end.
pid_t forkWaitingChild(int& ready) {
    int ends[2];
    if (pipe(ends) != 0) {
        return -1;
    }
    const pid_t child = fork();
    if (child == 0) {
        close(ends[0]);
        const char byte = 'r';
        if (write(ends[1], &byte, 1) != 1) {
            _exit(3);
        }
        for (int i = 0; i < 100; ++i) {
            usleep(50000);
        }
        _exit(0);
    }
    close(ends[1]);
    ready = ends[0];
    return child;
}

// The child's wait status, after it has ended.
int reap(pid_t child) {
    int status = 0;
    return waitpid(child, &status, 0) == child ? status : -1;
}

bool sentByte(int ready) {
    char byte = 0;
    const bool sent = read(ready, &byte, 1) == 1;
    close(ready);
    return sent;
}

TEST(StopSignalsTest, SignalsAreCountedEvenAnIgnoredSigintAndGivenBackOnRelease) {
    ASSERT_NE(signal(SIGINT, SIG_IGN), SIG_ERR);  // as in a background job of a script
    ASSERT_TRUE(platform::catchStopSignals());
    raise(SIGINT);
    EXPECT_TRUE(platform::stopSignalled());
    EXPECT_TRUE(platform::takeStopSignals());
    EXPECT_FALSE(platform::takeStopSignals());

    raise(SIGTERM);
    raise(SIGTERM);
    EXPECT_TRUE(platform::takeStopSignals());
    EXPECT_FALSE(platform::takeStopSignals());
    EXPECT_TRUE(platform::stopSignalled());

    platform::releaseStopSignals();
    struct sigaction term {};
    struct sigaction interrupt {};
    sigaction(SIGTERM, nullptr, &term);
    sigaction(SIGINT, nullptr, &interrupt);
    EXPECT_EQ(term.sa_handler, SIG_DFL);
    EXPECT_EQ(interrupt.sa_handler, SIG_IGN);
}

TEST(StopSignalsTest, AStopKillsTheBoxChildWhetherItCameBeforeOrAfterTheFork) {
    ASSERT_TRUE(platform::catchStopSignals());
    {
        platform::BoxChildScope scope;
        int ready = -1;
        const pid_t child = forkWaitingChild(ready);
        ASSERT_GT(child, 0);
        ASSERT_TRUE(sentByte(ready));
        raise(SIGTERM);
        const int status = reap(child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "wait status " << status;
    }
    {
        platform::BoxChildScope scope;  // the stop has already come: the child never runs
        int ready = -1;
        const pid_t child = forkWaitingChild(ready);
        ASSERT_GT(child, 0);
        EXPECT_FALSE(sentByte(ready));
        const int status = reap(child);
        EXPECT_FALSE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "wait status " << status;
    }
}

TEST(StopSignalsTest, AStopInAChildForkedForSomethingElseEndsItAndStopsNothingHere) {
    ASSERT_TRUE(platform::catchStopSignals());
    int ready = -1;
    const pid_t child = forkWaitingChild(ready);
    ASSERT_GT(child, 0);
    ASSERT_TRUE(sentByte(ready));
    kill(child, SIGTERM);
    const int status = reap(child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << "wait status " << status;
    EXPECT_FALSE(platform::stopSignalled());
}

}  // namespace
