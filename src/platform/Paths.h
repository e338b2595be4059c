// Where the program's own files live: the program folder, the folder of cf.ini and the
// user's XDG folders.
#pragma once

#include <QString>

namespace velmora::platform
{

// The folder of the running executable, ending in "/".
QString exeDir();

// The user's XDG folders, ending in "/": the variable's value when it is an absolute path,
// else the usual folder under the home folder.
QString userConfigFolder();       // $XDG_CONFIG_HOME, ~/.config
QString userApplicationsFolder(); // $XDG_DATA_HOME/applications, ~/.local/share/applications
QString userStateFolder();        // $XDG_STATE_HOME, ~/.local/state

// The folder that holds cf.ini, ending in "/": exeDir when it is writable, else
// $XDG_CONFIG_HOME/velmora/ (~/.config/velmora/ when the variable is unset, empty or relative).
QString settingsFolder(const QString &exeDir);

} // namespace velmora::platform
