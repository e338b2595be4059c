// Another process's window on the desktop: the child's own window, which the user has to
// type into while the child runs.
#pragma once

#include <sys/types.h>

class QWidget;

namespace velmora::platform
{

// Brings the visible top-level window of process pid to the front with the keyboard focus.
// The window is the one whose owner names pid as its process (_NET_WM_PID on X11). True
// when it was found and asked to come forward; false while there is none yet, and on a
// display other than X11.
bool activateProcessWindow(pid_t pid);

// Brings window, one of ours, to the front with the keyboard focus again after another
// process's window had it. On X11 this asks as activateProcessWindow does, since the
// toolkit's own request carries the time of the last event it saw and loses to a focus
// change made later.
void activateOwnWindow(QWidget &window);

} // namespace velmora::platform
