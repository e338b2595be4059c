#include "platform/ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace velmora::platform
{

namespace
{

// Owns the byte strings of an argv- or envp-style array and the array itself.
class CStringArray
{
public:
    explicit CStringArray(const QStringList &items)
    {
        for (const QString &item : items)
            bytes_.push_back(item.toLocal8Bit());
        for (QByteArray &b : bytes_)
            pointers_.push_back(b.data());
        pointers_.push_back(nullptr);
    }
    char *const *data() { return pointers_.data(); }

private:
    std::vector<QByteArray> bytes_;
    std::vector<char *> pointers_;
};

// posix_spawn's file actions and attributes, released on every path.
struct SpawnSetup {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    SpawnSetup()
    {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
    }
    ~SpawnSetup()
    {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
};

} // namespace

ChildProcess::~ChildProcess()
{
    if (hasEnded())
        return;
    kill();
    waitpid(pid_, nullptr, 0);
}

int ChildProcess::start(const QString &program, const QStringList &arguments, const QStringList &environment,
                        const QString &outputFile, bool quiet)
{
    SpawnSetup setup;
    const QByteArray output = outputFile.toLocal8Bit();
    posix_spawn_file_actions_addopen(&setup.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (!outputFile.isEmpty())
        posix_spawn_file_actions_addopen(&setup.actions, STDOUT_FILENO, output.constData(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0666);
    else if (quiet)
        posix_spawn_file_actions_addopen(&setup.actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    if (quiet)
        posix_spawn_file_actions_addopen(&setup.actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    // Its own process group, so that ending it also ends what it started; default signal
    // handling and an empty mask whatever the parent has set.
    sigset_t all, none;
    sigfillset(&all);
    sigemptyset(&none);
    posix_spawnattr_setpgroup(&setup.attributes, 0);
    posix_spawnattr_setsigdefault(&setup.attributes, &all);
    posix_spawnattr_setsigmask(&setup.attributes, &none);
    posix_spawnattr_setflags(&setup.attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

    CStringArray argv(QStringList{program} + arguments);
    CStringArray envp(environment);
    const QByteArray path = program.toLocal8Bit();
    pid_t pid = -1;
    const int error = posix_spawn(&pid, path.constData(), &setup.actions, &setup.attributes, argv.data(), envp.data());
    if (error != 0)
        return error;
    pid_ = pid;
    ended_ = false;
    return 0;
}

bool ChildProcess::hasEnded()
{
    if (ended_)
        return true;
    pid_t result;
    do
        result = waitpid(pid_, nullptr, WNOHANG);
    while (result < 0 && errno == EINTR);
    ended_ = result != 0; // reaped, or no longer ours to wait for
    return ended_;
}

void ChildProcess::terminate()
{
    signalGroup(SIGTERM);
}

void ChildProcess::kill()
{
    signalGroup(SIGKILL);
}

void ChildProcess::signalGroup(int signal)
{
    if (!ended_)
        ::kill(-pid_, signal);
}

} // namespace velmora::platform
