// The program's state beside its windows: the build state (the source, the tools' parameters
// and folder), the last file, where the program's files are, and the settings of cf.ini. The
// main window owns it and its windows read it; the build commands read and change the build
// state and the build settings by reference.
#pragma once

#include "app/Settings.h"
#include "platform/Paths.h"
#include "toolchain/BuildState.h"

#include <QString>

namespace velmora::app
{

struct ProgramState : toolchain::BuildState {
    QString LastFile;     // last file opened or saved; key Config/LastF
    QString CaptionBase;  // velm_caption + " " + velm_version
    QString ExeDir;       // the program's folder, ending in "/"
    QString LanguageFile; // Folders.data + "info/" + LNGFile
    QString HelpFile;     // the pack's help file in Folders.data + "info/", else "intro.hlp" there
    // Where the data, cf.ini and the tools folder are: decided from ExeDir at creation.
    platform::ProgramFolders Folders;
    Settings settings;
};

} // namespace velmora::app
