// "--check-start": the program starts as usual, says on standard output where it found its
// files, and closes as the Exit command does; a check of an installation.
#pragma once

#include <QStringList>

namespace velmora::app
{

class TVelmora;

struct StartReport {
    QStringList lines;    // one per file or folder: what it is, its path, what was found
    bool complete = true; // false when the language pack, the help file or the tools folder is missing
};

// What the started window found: the settings file, the language pack, the help file and the
// tools folder. The pack and the help file are read again for the report.
StartReport startReport(const TVelmora &window);

} // namespace velmora::app
