// The main window of an installed program (its data under the prefix, cf.ini and the tools
// folder in the user's folders) and the report that "--check-start" prints.
#include "AppFixture.h"

#include "app/StartCheck.h"
#include "editor/widget/SourceMemo.h"
#include "support/ScopedEnv.h"

#include <QAbstractButton>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace velmora::testing
{
namespace
{

class InstalledProgramTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        prefix = folder.path() + QStringLiteral("/prefix/");
        exeDir = prefix + QStringLiteral("bin/");
        data = QDir::cleanPath(exeDir + QStringLiteral(VELMORA_INSTALLED_DATA_DIR)) + QLatin1Char('/');
        ASSERT_TRUE(QDir().mkpath(exeDir));
        ASSERT_TRUE(QDir().mkpath(data + QStringLiteral("info")));
        ASSERT_TRUE(QDir().mkpath(data + QStringLiteral("TTDIR")));
    }

    void writeData(const QString &name, const QByteArray &bytes) const
    {
        QFile file(data + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    void installShippedHelp() const
    {
        ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_SOURCE_DIR "/data/info/intro.hlp"),
                                data + QStringLiteral("info/intro.hlp")));
    }
    // Every file and folder under the prefix with its size and time.
    QStringList prefixFiles() const
    {
        QStringList files;
        QDirIterator it(prefix, QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo info(it.next());
            files << info.filePath() + QLatin1Char(' ') + QString::number(info.size()) + QLatin1Char(' ') +
                         info.lastModified().toString(Qt::ISODateWithMs);
        }
        files.sort();
        return files;
    }

    QString userConfig() const { return folder.path() + QStringLiteral("/config/"); }
    QString userData() const { return folder.path() + QStringLiteral("/data/"); }

    QString prefix, data;
    ScopedEnv configHome{"XDG_CONFIG_HOME", folder.path() + QStringLiteral("/config")};
    ScopedEnv dataHome{"XDG_DATA_HOME", folder.path() + QStringLiteral("/data")};
};

TEST_F(InstalledProgramTest, ReadsItsDataUnderThePrefixAndWritesOnlyIntoTheUsersFolders)
{
    writeData(QStringLiteral("info/LNGPAK_Rus.lng"), "[Language]\ntasm.Caption=Assemble\n");
    writeData(QStringLiteral("TTDIR/def_templ.asm"), ".model small\r\nend\r\n");
    installShippedHelp();
    const QStringList installed = prefixFiles();

    auto &w = start();
    EXPECT_EQ(w.state().LanguageFile, data + QStringLiteral("info/LNGPAK_Rus.lng"));
    EXPECT_EQ(component<QAbstractButton>("Tasm")->text(), QStringLiteral("Assemble")) << "the pack was applied";
    EXPECT_EQ(w.state().HelpFile, data + QStringLiteral("info/intro.hlp"));
    EXPECT_EQ(w.settingsFilePath(), userConfig() + QStringLiteral("velmora/cf.ini"));
    EXPECT_EQ(w.state().toolsFolder(), userData() + QStringLiteral("velmora/TTDIR"));
    EXPECT_EQ(w.editor->textRange(0, w.editor->TextLength()), ".model small\r\nend\r\n")
        << "the template comes from the user's copy of the shipped tools folder";

    w.ExitA();
    EXPECT_TRUE(QFileInfo::exists(userConfig() + QStringLiteral("velmora/cf.ini")));
    EXPECT_EQ(prefixFiles(), installed);
}

TEST_F(InstalledProgramTest, TheStartReportNamesWhatWasFound)
{
    writeData(QStringLiteral("info/LNGPAK_Rus.lng"), "[Language]\ntasm.Caption=Assemble\n");
    installShippedHelp();
    auto &w = start();

    const app::StartReport report = app::startReport(w);
    EXPECT_TRUE(report.complete);
    ASSERT_EQ(report.lines.size(), 4);
    EXPECT_EQ(report.lines[0], QStringLiteral("settings file: ") + userConfig() +
                                   QStringLiteral("velmora/cf.ini (read at start, written at exit)"));
    EXPECT_EQ(report.lines[1],
              QStringLiteral("language pack: ") + data + QStringLiteral("info/LNGPAK_Rus.lng (loaded)"));
    EXPECT_TRUE(report.lines[2].startsWith(QStringLiteral("help file: ") + data + QStringLiteral("info/intro.hlp (")));
    EXPECT_TRUE(report.lines[2].endsWith(QStringLiteral(" topics)"))) << report.lines[2].toStdString();
    EXPECT_EQ(report.lines[3],
              QStringLiteral("tools folder: ") + userData() + QStringLiteral("velmora/TTDIR (present)"));
}

TEST_F(InstalledProgramTest, TheStartReportIsIncompleteWithoutPackHelpOrToolsFolder)
{
    auto &w = start();
    app::StartReport report = app::startReport(w);
    EXPECT_FALSE(report.complete);
    EXPECT_TRUE(report.lines[1].endsWith(QStringLiteral("(missing)")));
    EXPECT_TRUE(report.lines[2].contains(QStringLiteral("Cannot open help file"))) << report.lines[2].toStdString();

    // A pack and help alone are not enough: a build needs the tools folder.
    writeData(QStringLiteral("info/LNGPAK_Rus.lng"), "[Language]\ntasm.Caption=Assemble\n");
    installShippedHelp();
    ASSERT_TRUE(QDir(w.state().toolsFolder()).removeRecursively());
    report = app::startReport(w);
    EXPECT_FALSE(report.complete);
    EXPECT_TRUE(report.lines[3].endsWith(QStringLiteral("(missing)")));
    ASSERT_TRUE(QDir().mkpath(w.state().toolsFolder()));
    EXPECT_TRUE(app::startReport(w).complete);
}

} // namespace
} // namespace velmora::testing
