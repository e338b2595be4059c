// What the program relies on to notice how a run ends: locks that the system drops with their
// process, and termination signals turned into ordinary calls on the GUI thread.
#include "platform/FileLock.h"
#include "platform/TerminationSignals.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>

#include <sys/wait.h>
#include <unistd.h>

namespace velmora::platform
{
namespace
{

TEST(FileLockTest, ALockIsHeldUntilItsHolderGoes)
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/run.lock");
    auto first = std::make_unique<FileLock>(path);
    ASSERT_TRUE(first->locked());
    EXPECT_FALSE(FileLock(path).locked());
    first.reset();
    EXPECT_TRUE(FileLock(path).locked());

    // A process that is killed while it holds the lock loses it.
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        FileLock held(path);
        const char c = held.locked() ? 'y' : 'n';
        [[maybe_unused]] const auto written = ::write(ready[1], &c, 1);
        for (;;)
            ::pause();
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ASSERT_EQ(c, 'y');
    EXPECT_FALSE(FileLock(path).locked());
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_TRUE(FileLock(path).locked());
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST(TerminationSignalsTest, ATerminationSignalBecomesACallWhileItsContextLives)
{
    int calls = 0;
    auto context = std::make_unique<QObject>();
    onTerminationRequest(context.get(), [&] { ++calls; });
    for (int signal : {SIGTERM, SIGHUP, SIGINT})
        ASSERT_EQ(std::raise(signal), 0);
    EXPECT_EQ(calls, 0) << "nothing is done inside the signal handler";
    EXPECT_TRUE(QTest::qWaitFor([&] { return calls == 3; }, 2000)) << calls;

    // Without a context the signal ends the process, as it would without a handler.
    context.reset();
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::raise(SIGTERM);
        QCoreApplication::processEvents();
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
}

} // namespace
} // namespace velmora::platform
