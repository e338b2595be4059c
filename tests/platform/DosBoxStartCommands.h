// Test helper: the DOS commands a DOSBox start runs, in order (its "-c" arguments).
#pragma once

#include "platform/DosRunner.h"

#include <QStringList>

namespace velmora::testing
{

inline QStringList startCommands(const platform::DosBoxStart &start)
{
    QStringList commands;
    for (qsizetype i = 0; i + 1 < start.arguments.size(); ++i)
        if (start.arguments[i] == QLatin1String("-c"))
            commands << start.arguments[i + 1];
    return commands;
}

} // namespace velmora::testing
