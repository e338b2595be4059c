// The requests to end the program that come as signals: SIGTERM (a logout, a shutdown, kill),
// SIGHUP (the terminal went away) and SIGINT (Ctrl+C in the terminal). A signal handler may
// do next to nothing, so it only writes the signal's number into a pipe; the GUI thread
// reads it from there and calls the handler in the ordinary flow of events.
#pragma once

#include <QObject>

#include <functional>

namespace velmora::platform
{

// From now on these signals call handler on the GUI thread while context lives; a later
// call replaces the handler. Without a living context a signal has its default effect (the
// process ends). A QCoreApplication must exist.
void onTerminationRequest(QObject *context, std::function<void()> handler);

} // namespace velmora::platform
