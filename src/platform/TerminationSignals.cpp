#include "platform/TerminationSignals.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace velmora::platform
{

namespace
{

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

int signalPipe[2] = {-1, -1};

struct Listener {
    QPointer<QObject> context;
    std::function<void()> handler;
};

Listener &listener()
{
    static Listener instance;
    return instance;
}

extern "C" void passOn(int signal)
{
    const int saved = errno;
    const char number = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &number, 1);
    errno = saved;
}

void handlePipe()
{
    char number = 0;
    while (::read(signalPipe[0], &number, 1) == 1) {
        Listener &l = listener();
        if (l.context && l.handler) {
            l.handler();
            continue;
        }
        std::signal(number, SIG_DFL);
        std::raise(number);
    }
}

void installOnce()
{
    if (signalPipe[0] >= 0 || ::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] { handlePipe(); });
    struct sigaction action = {};
    action.sa_handler = passOn;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
}

} // namespace

void onTerminationRequest(QObject *context, std::function<void()> handler)
{
    installOnce();
    listener() = {context, std::move(handler)};
}

} // namespace velmora::platform
