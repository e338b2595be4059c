#include "platform/DesktopPrograms.h"

#include <QProcess>
#include <QStandardPaths>

namespace velmora::platform
{

bool openFolder(const QString &folder)
{
    return QProcess::startDetached(QStringLiteral("xdg-open"), {folder});
}

bool startCalculator()
{
    for (const char *name : {"gnome-calculator", "kcalc", "mate-calc", "galculator", "qalculate-gtk", "xcalc"}) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!program.isEmpty())
            return QProcess::startDetached(program, {});
    }
    return false;
}

} // namespace velmora::platform
