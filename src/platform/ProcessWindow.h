// Another process's window on the desktop: the child's own window, which the user has to
// type into while the child runs.
#pragma once

#include <sys/types.h>

namespace velmora::platform
{

// Brings the visible top-level window of process pid to the front with the keyboard focus.
// The window is the one whose owner names pid as its process (_NET_WM_PID on X11). True
// when it was found and asked to come forward; false while there is none yet, and on a
// display other than X11.
bool activateProcessWindow(pid_t pid);

} // namespace velmora::platform
