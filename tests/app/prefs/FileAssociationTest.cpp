// Registering the program for ".asm" files: the desktop entry, the default-application
// choice through xdg-mime or mimeapps.list, and the preferences window's button.
#include "platform/FileAssociation.h"
#include "PrefsFixture.h"

#include <QCoreApplication>
#include <QPushButton>

#include <stdexcept>

namespace velmora::testing
{
namespace
{

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString execLine(const QString &entry)
{
    for (const QString &line : entry.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("Exec=")))
            return line.mid(5);
    return {};
}

// Temporary data, configuration and program folders standing in for the user's.
class FileAssociationTest : public PrefsFixture
{
protected:
    QTemporaryDir home;
    QString dataHome = home.filePath(QStringLiteral("data"));
    QString configHome = home.filePath(QStringLiteral("config"));
    QString binDir = home.filePath(QStringLiteral("bin"));
    ScopedEnv data{"XDG_DATA_HOME", dataHome};
    ScopedEnv config{"XDG_CONFIG_HOME", configHome};
    ScopedEnv path{"PATH", binDir}; // holds no xdg-mime unless a test puts one there

    void SetUp() override
    {
        PrefsFixture::SetUp();
        ASSERT_TRUE(QDir().mkpath(binDir));
    }

    QString desktopPath() const { return dataHome + QStringLiteral("/applications/example.velmora.Velmora.desktop"); }
    QString mimeAppsPath() const { return configHome + QStringLiteral("/mimeapps.list"); }

    // An xdg-mime stand-in that records its arguments and ends with exitCode.
    QString installXdgMime(int exitCode)
    {
        const QString record = home.filePath(QStringLiteral("xdg-mime.args"));
        QFile script(binDir + QStringLiteral("/xdg-mime"));
        EXPECT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho \"$@\" > '" + record.toUtf8() + "'\necho 'no desktop' >&2\nexit " +
                     QByteArray::number(exitCode) + "\n");
        script.close();
        script.setPermissions(script.permissions() | QFile::ExeOwner);
        return record;
    }
};

TEST_F(FileAssociationTest, DesktopEntryQuotesTheProgramAndPassesTheFile)
{
    EXPECT_EQ(execLine(platform::asmDesktopEntry(QStringLiteral("/opt/velmora/velmora"))),
              QStringLiteral("\"/opt/velmora/velmora\" %f"));
    // Reserved characters are escaped inside the quotes, then backslashes once more as
    // the entry's string values require; a percent sign is doubled.
    EXPECT_EQ(execLine(platform::asmDesktopEntry(QStringLiteral("/my progs/a\"b$c`d\\e%f/velmora"))),
              QStringLiteral("\"/my progs/a\\\\\"b\\\\$c\\\\`d\\\\\\\\e%%f/velmora\" %f"));
    const QString entry = platform::asmDesktopEntry(QStringLiteral("/x"));
    EXPECT_TRUE(entry.startsWith(QStringLiteral("[Desktop Entry]\n")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nMimeType=text/x-asm;\n")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nType=Application\n")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nIcon=example.velmora.Velmora\n")));
}

TEST_F(FileAssociationTest, WithoutXdgMimeTheChoiceGoesIntoMimeAppsListKeepingOtherLines)
{
    ASSERT_TRUE(QDir().mkpath(configHome));
    QFile list(mimeAppsPath());
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("[Default Applications]\ntext/html=browser.desktop\ntext/x-asm=other.desktop\n\n"
               "[Added Associations]\ntext/x-asm=other.desktop;\n");
    list.close();

    platform::associateAsmFiles(QStringLiteral("/opt/velmora/velmora"));
    platform::associateAsmFiles(QStringLiteral("/opt/velmora/velmora"));

    EXPECT_EQ(execLine(readText(desktopPath())), QStringLiteral("\"/opt/velmora/velmora\" %f"));
    EXPECT_EQ(readText(mimeAppsPath()),
              QStringLiteral("[Default Applications]\ntext/html=browser.desktop\n"
                             "text/x-asm=example.velmora.Velmora.desktop\n\n[Added Associations]\n"
                             "text/x-asm=example.velmora.Velmora.desktop;other.desktop;\n"));
}

TEST_F(FileAssociationTest, XdgMimeMakesTheEntryTheDefaultAndItsFailureIsReported)
{
    const QString record = installXdgMime(0);
    platform::associateAsmFiles(QStringLiteral("/p"));
    EXPECT_EQ(readText(record), QStringLiteral("default example.velmora.Velmora.desktop text/x-asm\n"));
    EXPECT_FALSE(QFileInfo::exists(mimeAppsPath()));

    installXdgMime(3);
    try {
        platform::associateAsmFiles(QStringLiteral("/p"));
        ADD_FAILURE() << "a failing xdg-mime must be reported";
    } catch (const std::runtime_error &e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).contains(QStringLiteral("no desktop")));
    }
}

TEST_F(FileAssociationTest, ButtonAsksFirstThenRegistersTheRunningProgram)
{
    writeInfoFile(QStringLiteral("LNGPAK_Rus.lng"), "[Prefs_Language]\nAssociate=Associate?\n");
    startWithPrefs();
    showPrefs();
    auto *associate = prefsControl<QPushButton>("Button1");

    dialogs.answers = {platform::Answer::Cancel};
    associate->click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Associate?"));
    EXPECT_FALSE(QFileInfo::exists(desktopPath()));

    dialogs.answers = {platform::Answer::Ok};
    associate->click();
    EXPECT_EQ(dialogs.messages.size(), 2u);
    const QString exec = execLine(readText(desktopPath()));
    EXPECT_EQ(exec, QLatin1Char('"') + QCoreApplication::applicationFilePath() + QStringLiteral("\" %f"));
    EXPECT_TRUE(readText(mimeAppsPath()).contains(QStringLiteral("text/x-asm=example.velmora.Velmora.desktop\n")));
}

TEST_F(FileAssociationTest, AFolderThatCannotBeWrittenIsReportedByTheButton)
{
    // A file where the data folder should be: the applications folder cannot be made.
    QFile blocker(dataHome);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    startWithPrefs();
    showPrefs();
    dialogs.answers = {platform::Answer::Ok};
    prefsControl<QPushButton>("Button1")->click();
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].kind, platform::MessageKind::Error);
    EXPECT_TRUE(dialogs.messages[1].text.contains(QStringLiteral("example.velmora.Velmora.desktop")));
}

} // namespace
} // namespace velmora::testing
