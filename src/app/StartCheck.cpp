#include "app/StartCheck.h"

#include "app/MainWindow.h"
#include "app/help/HelpFile.h"
#include "app/language/LanguagePack.h"

#include <QFileInfo>

namespace velmora::app
{

StartReport startReport(const TVelmora &window)
{
    StartReport report;
    const auto line = [&report](const char *what, const QString &path, const QString &found, bool ok) {
        report.lines << QStringLiteral("%1: %2 (%3)").arg(QLatin1String(what), path, found);
        report.complete = report.complete && ok;
    };

    line("settings file", window.settingsFilePath(), QStringLiteral("read at start, written at exit"), true);

    const bool packLoaded = LanguagePack::load(window.state().LanguageFile).has_value();
    line("language pack", window.state().LanguageFile,
         packLoaded ? QStringLiteral("loaded") : QStringLiteral("missing"), packLoaded);

    try {
        const qsizetype topics = HelpFile::load(window.state().HelpFile).topics().size();
        line("help file", window.state().HelpFile, QStringLiteral("%1 topics").arg(topics), true);
    } catch (const HelpFileError &e) {
        line("help file", window.state().HelpFile, QString::fromUtf8(e.what()), false);
    }

    const QString tools = window.state().toolsFolder();
    const bool toolsFound = QFileInfo(tools).isDir();
    line("tools folder", tools, toolsFound ? QStringLiteral("present") : QStringLiteral("missing"), toolsFound);
    return report;
}

} // namespace velmora::app
