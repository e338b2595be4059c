// Programs of the desktop the window starts for the user: its file manager on a folder and
// a calculator. Both start detached; false when nothing could be started.
#pragma once

#include <QString>

namespace velmora::platform
{

// Opens the folder with the desktop's folder opener, the folder given as one argument.
bool openFolder(const QString &folder);

// Starts the first calculator found on PATH among the usual desktop calculators.
bool startCalculator();

} // namespace velmora::platform
