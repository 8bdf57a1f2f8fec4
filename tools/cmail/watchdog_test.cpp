#include "watchdog.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sendwerk::cmail {
namespace {

using Clock = std::chrono::steady_clock;

TEST(Watchdog, DisarmedInTimeNeverFires)
{
    bool fired = false;
    {
        Watchdog watchdog(Clock::now() + std::chrono::hours(1), [&] {
            fired = true;
            return 1;
        });
    }
    EXPECT_FALSE(fired);
}

// The firing watchdog ends the process, so it runs in a child.
TEST(Watchdog, FiresAndEndsTheProcessWithTheStatusOfItsCallback)
{
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(pipeFds[0]);
        Watchdog watchdog(Clock::now() + std::chrono::milliseconds(50), [&] {
            const char mark = 'w';
            (void)!write(pipeFds[1], &mark, 1);
            return 7;
        });
        // Waits until the watchdog ends the process.
        pause();
        _exit(0);
    }
    close(pipeFds[1]);
    pollfd ready{pipeFds[0], POLLIN, 0};
    if (poll(&ready, 1, 10000) != 1)
        kill(child, SIGKILL);
    char mark = 0;
    EXPECT_EQ(read(pipeFds[0], &mark, 1), 1);
    EXPECT_EQ(mark, 'w');
    close(pipeFds[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 7);
}

}  // namespace
}  // namespace sendwerk::cmail
