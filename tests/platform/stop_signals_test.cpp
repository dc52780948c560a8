// SIGTERM and SIGINT as stop requests. Every test runs in a process of its own, so the
// handlers one installs do not reach the next.

#include <gtest/gtest.h>
#include <signal.h>

#include "platform/posix/stop_signals.h"

namespace {

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

}  // namespace
