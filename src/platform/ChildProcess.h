// A child process started without a shell and waited for by polling, so that the caller
// can keep an event loop running meanwhile.
#pragma once

#include <QString>
#include <QStringList>

#include <sys/types.h>

namespace velmora::platform
{

class ChildProcess
{
public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;
    // A child still running is killed and reaped, so none is left behind.
    ~ChildProcess();

    // Starts program with arguments as argv[1..] and the given environment ("NAME=value"),
    // in a process group of its own, in the current directory. Standard input reads
    // /dev/null; standard output goes to outputFile (created or truncated) when one is
    // named; with quiet, standard output and error are discarded unless outputFile takes
    // the output. Returns 0, or the errno of the failure.
    int start(const QString &program, const QStringList &arguments, const QStringList &environment,
              const QString &outputFile, bool quiet);

    // True once the child has ended (it is reaped then). True also when nothing was started.
    bool hasEnded();

    // The child's process id; meaningless when nothing was started.
    pid_t pid() const { return pid_; }

    // Asks the child's process group to end (SIGTERM), or forces it to (SIGKILL).
    void terminate();
    void kill();

private:
    void signalGroup(int signal);

    pid_t pid_ = -1;
    bool ended_ = true;
};

} // namespace velmora::platform
