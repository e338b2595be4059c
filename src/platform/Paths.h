// Where the program's own files live: the program folder, its data, the folder of cf.ini,
// the tools folder and the user's XDG folders.
#pragma once

#include <QString>

namespace velmora::platform
{

// The folder of the running executable, ending in "/".
QString exeDir();

// The user's XDG folders, ending in "/": the variable's value when it is an absolute path,
// else the usual folder under the home folder.
QString userConfigFolder();       // $XDG_CONFIG_HOME, ~/.config
QString userDataFolder();         // $XDG_DATA_HOME, ~/.local/share
QString userApplicationsFolder(); // userDataFolder() + "applications/"
QString userStateFolder();        // $XDG_STATE_HOME, ~/.local/state

// The three folders the program works with.
struct ProgramFolders {
    QString data;     // holds "info", the shipped "TTDIR" and contee.com; ends in "/"
    QString settings; // holds cf.ini; ends in "/"
    QString tools;    // the tools folder, spelled "TTDIR"; no trailing "/"

    bool operator==(const ProgramFolders &) const = default;
};

// The one decision of where the folders are, made from the program's folder:
// - beside the program (a build tree, an unpacked folder): exeDir holds "info". While exeDir
//   is writable, cf.ini and the tools folder are there too.
// - installed: exeDir holds no "info" but the installed data folder does, which is
//   VELMORA_INSTALLED_DATA_DIR taken from exeDir (bin/ -> share/velmora/), so the prefix
//   can move.
// When the program is installed or its folder is not writable, cf.ini goes to
// userConfigFolder() + "velmora/" and the tools folder is userDataFolder() + "velmora/TTDIR".
ProgramFolders programFolders(const QString &exeDir);

// Makes a tools folder in the user's folders ready: creates it and copies into it every
// file of the shipped "TTDIR" (the default template) that it lacks, so that the user can
// change them. Does nothing when the tools folder is the shipped one. Failures pass
// silently; a build then reports the folder it cannot enter.
void provideToolsFolder(const ProgramFolders &folders);

} // namespace velmora::platform
