#include "platform/Paths.h"
#include "support/ScopedEnv.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include <unistd.h>

namespace velmora::platform
{
namespace
{

using velmora::testing::ScopedEnv;

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// A temporary folder with the user's XDG config and data homes inside it.
class FoldersTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(root.isValid()); }

    QString path(const char *relative) const { return root.path() + QLatin1Char('/') + QLatin1String(relative); }
    QString folder(const char *relative) const
    {
        const QString dir = path(relative) + QLatin1Char('/');
        EXPECT_TRUE(QDir().mkpath(dir));
        return dir;
    }
    ProgramFolders inUserFolders(const QString &data) const
    {
        return {data, path("cfg/velmora/"), path("data/velmora/TTDIR")};
    }

    QTemporaryDir root;
    ScopedEnv configHome{"XDG_CONFIG_HOME", path("cfg")};
    ScopedEnv dataHome{"XDG_DATA_HOME", path("data")};
};

TEST(PathsTest, ExeDirIsTheProgramsFolderWithATrailingSlash)
{
    EXPECT_EQ(exeDir(), QCoreApplication::applicationDirPath() + QStringLiteral("/"));
}

TEST(PathsTest, UserFoldersFollowTheXdgVariablesWhenTheyAreAbsolute)
{
    struct Case {
        const char *variable;
        std::function<QString()> folder;
        const char *suffix;   // what the folder adds to the variable's value
        const char *fallback; // under the home folder
    };
    const Case cases[] = {
        {"XDG_CONFIG_HOME", userConfigFolder, "/", "/.config/"},
        {"XDG_DATA_HOME", userDataFolder, "/", "/.local/share/"},
        {"XDG_DATA_HOME", userApplicationsFolder, "/applications/", "/.local/share/applications/"},
        {"XDG_STATE_HOME", userStateFolder, "/", "/.local/state/"},
    };
    for (const Case &c : cases) {
        ScopedEnv guard(c.variable, QStringLiteral("/somewhere/else"));
        EXPECT_EQ(c.folder(), QStringLiteral("/somewhere/else") + QLatin1String(c.suffix)) << c.variable;
        for (const char *unusable : {"", "relative/dir"}) {
            qputenv(c.variable, unusable);
            EXPECT_EQ(c.folder(), QDir::homePath() + QLatin1String(c.fallback)) << c.variable << " " << unusable;
        }
        qunsetenv(c.variable);
        EXPECT_EQ(c.folder(), QDir::homePath() + QLatin1String(c.fallback)) << c.variable;
    }
}

TEST_F(FoldersTest, AWritableProgramFolderWithItsDataKeepsEverythingBesideIt)
{
    const QString exe = folder("Velmora Prog");
    ASSERT_TRUE(QDir().mkpath(exe + QStringLiteral("info")));
    const ProgramFolders beside{exe, exe, exe + QStringLiteral("TTDIR")};
    EXPECT_EQ(programFolders(exe), beside);
    EXPECT_EQ(programFolders(exe.chopped(1)), beside) << "without the trailing slash";
    // A program folder without any data (a test program's) is still the program's folder.
    const QString bare = folder("bare");
    EXPECT_EQ(programFolders(bare), (ProgramFolders{bare, bare, bare + QStringLiteral("TTDIR")}));
}

TEST_F(FoldersTest, AProgramFolderThatCannotBeWrittenSendsSettingsAndToolsToTheUsersFolders)
{
    const QString missing = path("no such folder/");
    EXPECT_EQ(programFolders(missing), inUserFolders(missing));
}

TEST_F(FoldersTest, AReadOnlyProgramFolderSendsSettingsAndToolsToTheUsersFolders)
{
    const QString exe = folder("read only");
    ASSERT_TRUE(QDir().mkpath(exe + QStringLiteral("info")));
    ASSERT_TRUE(QFile::setPermissions(exe, QFile::ReadOwner | QFile::ExeOwner));
    const bool stillWritable = ::access(QFile::encodeName(exe).constData(), W_OK) == 0;
    const ProgramFolders found = programFolders(exe);
    QFile::setPermissions(exe, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (stillWritable)
        GTEST_SKIP() << "this user may write into a read-only folder";
    EXPECT_EQ(found, inUserFolders(exe));
}

TEST_F(FoldersTest, UnsetXdgVariablesPutTheUsersFoldersUnderHome)
{
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_DATA_HOME");
    const QString missing = path("no such folder/");
    EXPECT_EQ(programFolders(missing),
              (ProgramFolders{missing, QDir::homePath() + QStringLiteral("/.config/velmora/"),
                              QDir::homePath() + QStringLiteral("/.local/share/velmora/TTDIR")}));
}

TEST_F(FoldersTest, AnInstalledProgramReadsItsPrefixWhereverItMovedAndWritesOnlyToTheUsersFolders)
{
    for (const char *prefix : {"usr", "moved/elsewhere"}) {
        const QString bin = folder(prefix) + QStringLiteral("bin/");
        ASSERT_TRUE(QDir().mkpath(bin));
        const QString data = QDir::cleanPath(bin + QStringLiteral(VELMORA_INSTALLED_DATA_DIR)) + QLatin1Char('/');
        ASSERT_TRUE(QDir().mkpath(data + QStringLiteral("info")));
        // The program's folder is writable here, yet nothing goes under the prefix.
        EXPECT_EQ(programFolders(bin), inUserFolders(data)) << prefix;
        EXPECT_TRUE(data.startsWith(path(prefix))) << data.toStdString();
    }
}

TEST_F(FoldersTest, AnInfoFolderBesideTheProgramWinsOverAnInstalledOne)
{
    const QString bin = folder("usr/bin");
    ASSERT_TRUE(QDir().mkpath(bin + QStringLiteral(VELMORA_INSTALLED_DATA_DIR "/info")));
    ASSERT_TRUE(QDir().mkpath(bin + QStringLiteral("info")));
    EXPECT_EQ(programFolders(bin), (ProgramFolders{bin, bin, bin + QStringLiteral("TTDIR")}));
}

TEST_F(FoldersTest, TheUsersToolsFolderGetsTheShippedFilesItLacks)
{
    const QString data = folder("share/velmora");
    const QString shipped = folder("share/velmora/TTDIR");
    writeFile(shipped + QStringLiteral("def_templ.asm"), "; shipped template\n");
    writeFile(shipped + QStringLiteral("readme.txt"), "shipped readme\n");
    const ProgramFolders folders = inUserFolders(data);

    provideToolsFolder(folders);
    EXPECT_EQ(readFile(folders.tools + QStringLiteral("/def_templ.asm")), "; shipped template\n");
    EXPECT_EQ(readFile(folders.tools + QStringLiteral("/readme.txt")), "shipped readme\n");

    // The user's own versions stay, whatever their letter case; a file shipped later is added.
    writeFile(folders.tools + QStringLiteral("/def_templ.asm"), "; my template\n");
    QFile::remove(folders.tools + QStringLiteral("/readme.txt"));
    writeFile(folders.tools + QStringLiteral("/README.TXT"), "my readme\n");
    writeFile(shipped + QStringLiteral("new.asm"), "; new\n");
    provideToolsFolder(folders);
    EXPECT_EQ(readFile(folders.tools + QStringLiteral("/def_templ.asm")), "; my template\n");
    EXPECT_FALSE(QFileInfo::exists(folders.tools + QStringLiteral("/readme.txt")));
    EXPECT_EQ(readFile(folders.tools + QStringLiteral("/new.asm")), "; new\n");
}

TEST_F(FoldersTest, TheShippedToolsFolderAndAnUnmakeableOneAreLeftAlone)
{
    const QString exe = folder("prog");
    provideToolsFolder({exe, exe, exe + QStringLiteral("TTDIR")});
    EXPECT_FALSE(QFileInfo::exists(exe + QStringLiteral("TTDIR"))) << "beside the program nothing is made";

    const QString data = folder("share/velmora");
    writeFile(folder("share/velmora/TTDIR") + QStringLiteral("def_templ.asm"), "; shipped\n");
    writeFile(path("data"), "a file where the data home should be");
    provideToolsFolder(inUserFolders(data)); // fails silently
    EXPECT_TRUE(QFileInfo(path("data")).isFile());
}

} // namespace
} // namespace velmora::platform
