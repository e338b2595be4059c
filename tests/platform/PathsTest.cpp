#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace velmora::platform
{
namespace
{

// Sets an environment variable for one test and puts the old value back.
class EnvironmentGuard
{
public:
    explicit EnvironmentGuard(const char *name)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name))
    {
    }
    ~EnvironmentGuard()
    {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char *name_;
    bool had_;
    QByteArray old_;
};

TEST(PathsTest, ExeDirIsTheProgramsFolderWithATrailingSlash)
{
    EXPECT_EQ(exeDir(), QCoreApplication::applicationDirPath() + QStringLiteral("/"));
}

TEST(PathsTest, SettingsStayBesideTheProgramWhenItsFolderIsWritable)
{
    QTemporaryDir dir;
    EXPECT_EQ(settingsFolder(dir.path() + QStringLiteral("/")), dir.path() + QStringLiteral("/"));
    EXPECT_EQ(settingsFolder(dir.path()), dir.path() + QStringLiteral("/"));
}

TEST(PathsTest, SettingsMoveToTheUsersConfigFolderOtherwise)
{
    EnvironmentGuard guard("XDG_CONFIG_HOME");
    QTemporaryDir dir;
    const QString missing = dir.path() + QStringLiteral("/no such folder/");

    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path() + QStringLiteral("/cfg")));
    EXPECT_EQ(settingsFolder(missing), dir.path() + QStringLiteral("/cfg/velmora/"));

    for (const char *unusable : {"", "relative/cfg"}) {
        qputenv("XDG_CONFIG_HOME", unusable);
        EXPECT_EQ(settingsFolder(missing), QDir::homePath() + QStringLiteral("/.config/velmora/")) << unusable;
    }
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(settingsFolder(missing), QDir::homePath() + QStringLiteral("/.config/velmora/"));
}

} // namespace
} // namespace velmora::platform
