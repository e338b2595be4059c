// Where the program's own files live: the program folder and the folder of cf.ini.
#pragma once

#include <QString>

namespace velmora::platform
{

// The folder of the running executable, ending in "/".
QString exeDir();

// The folder that holds cf.ini, ending in "/": exeDir when it is writable, else
// $XDG_CONFIG_HOME/velmora/ (~/.config/velmora/ when the variable is unset, empty or relative).
QString settingsFolder(const QString &exeDir);

} // namespace velmora::platform
