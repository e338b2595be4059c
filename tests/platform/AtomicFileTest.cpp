// The atomic file write: a file is replaced whole or not at all, whatever fails on the way.
#include "platform/AtomicFile.h"
#include "support/SmallDisk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <string>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora::platform
{
namespace
{

// Runs body as a user without root's right to write anything: in a child process as user
// nobody when the test runs as root, else here. Returns body's result.
int withoutRootRights(const std::function<int()> &body)
{
    if (::geteuid() != 0)
        return body();
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0)
        ::_exit(::setgid(65534) == 0 && ::setuid(65534) == 0 ? body() : 101);
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// 0 when writing bytes to file fails with error and a message naming its cause.
int refused(const QString &file, std::string_view bytes, int error)
{
    try {
        writeFileAtomically(file, bytes);
        return 1;
    } catch (const FileWriteError &e) {
        return e.error() == error && QString::fromUtf8(e.what()).contains(e.cause()) ? 0 : 2;
    }
}

class AtomicFileTest : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return dir.path() + QLatin1Char('/') + name; }

    static void put(const QString &file, const QByteArray &bytes)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    static QByteArray contents(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    // The folder holds exactly these names: no temporary file was left behind.
    QStringList names() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System); }

    // Writes and expects a failure whose message starts with prefix and names the cause.
    static void expectFailure(const QString &file, std::string_view bytes, const QString &prefix, int error)
    {
        try {
            writeFileAtomically(file, bytes);
            ADD_FAILURE() << "the write should have failed";
        } catch (const FileWriteError &e) {
            const QString message = QString::fromUtf8(e.what());
            EXPECT_TRUE(message.startsWith(prefix + QStringLiteral(" \"") + file + QStringLiteral("\". ")))
                << message.toStdString();
            EXPECT_TRUE(message.contains(QString::fromLocal8Bit(std::strerror(error)))) << message.toStdString();
            EXPECT_EQ(e.error(), error);
        }
    }

    QTemporaryDir dir;
};

TEST_F(AtomicFileTest, ReplacesTheFileWholeKeepingItsPermissionsAndLinks)
{
    const QString file = path(QStringLiteral("prog.asm"));
    put(file, "old text");
    ASSERT_TRUE(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    const QFileDevice::Permissions permissions = QFileInfo(file).permissions();
    writeFileAtomically(file, "new\r\ntext");
    EXPECT_EQ(contents(file), QByteArray("new\r\ntext"));
    EXPECT_EQ(QFileInfo(file).permissions(), permissions);
    EXPECT_EQ(names(), QStringList{QStringLiteral("prog.asm")});

    // A link is written through: it stays a link, its target gets the text.
    ASSERT_TRUE(QFile::link(file, path(QStringLiteral("link.asm"))));
    writeFileAtomically(path(QStringLiteral("link.asm")), "through the link");
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("link.asm"))).isSymLink());
    EXPECT_EQ(contents(file), QByteArray("through the link"));

    writeFileAtomically(path(QStringLiteral("fresh.asm")), "");
    EXPECT_EQ(contents(path(QStringLiteral("fresh.asm"))), QByteArray());
}

TEST_F(AtomicFileTest, NamesUpToTheFileSystemsLimitSave)
{
    for (int length : {249, 255}) {
        const QString name = QString(length - 4, QLatin1Char('n')) + QStringLiteral(".asm");
        ASSERT_EQ(QFile::encodeName(name).size(), length);
        writeFileAtomically(path(name), "mov ax,1");
        EXPECT_EQ(contents(path(name)), QByteArray("mov ax,1")) << length;
        writeFileAtomically(path(name), "mov ax,2");
        EXPECT_EQ(contents(path(name)), QByteArray("mov ax,2")) << length;
    }
    expectFailure(path(QString(256, QLatin1Char('n'))), "x", QStringLiteral("Cannot write file"), ENAMETOOLONG);
}

TEST_F(AtomicFileTest, AFolderThatCannotTakeTheFileOrAReadOnlyFileChangesNothing)
{
    expectFailure(path(QStringLiteral("no such folder/a.asm")), "x", QStringLiteral("Cannot create file"), ENOENT);
    EXPECT_TRUE(names().isEmpty());

    const QString file = path(QStringLiteral("protected.asm"));
    put(file, "kept");
    ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::Permissions(0x4444)));
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777)));
    EXPECT_EQ(withoutRootRights([&] { return refused(file, "replaced", EACCES); }), 0)
        << "1: replaced, 2: another error";
    EXPECT_EQ(contents(file), QByteArray("kept"));
}

TEST_F(AtomicFileTest, AFullDiskLeavesTheOldFileAsItWas)
{
    testing::SmallDisk disk(dir.path(), 64);
    if (!disk.mounted())
        GTEST_SKIP() << "a small tmpfs cannot be mounted here";
    const QString file = path(QStringLiteral("big.asm"));
    const QByteArray old(30000, 'o');
    put(file, old);
    expectFailure(file, std::string(90025, 'n'), QStringLiteral("Cannot write file"), ENOSPC);
    EXPECT_EQ(contents(file), old);
    EXPECT_EQ(names(), QStringList{QStringLiteral("big.asm")});
}

TEST_F(AtomicFileTest, AWriteCutShortByTheFileSizeLimitLeavesTheOldFile)
{
    const QString file = path(QStringLiteral("limited.asm"));
    put(file, "old");
    rlimit previous{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = previous;
    limit.rlim_cur = 65536;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    expectFailure(file, std::string(90025, 'n'), QStringLiteral("Cannot write file"), EFBIG);
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(contents(file), QByteArray("old"));
    EXPECT_EQ(names(), QStringList{QStringLiteral("limited.asm")});
}

// A writable file in a folder that takes no new file is not overwritten in place.
TEST_F(AtomicFileTest, AWritableFileInALockedFolderIsRefusedNotOverwrittenInPlace)
{
    const QString file = path(QStringLiteral("shared.asm"));
    put(file, "the old text");
    ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::Permissions(0x6666)));
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x5555)));
    EXPECT_EQ(withoutRootRights([&] {
                  try {
                      writeFileAtomically(file, "new");
                      return 1;
                  } catch (const FileWriteError &e) {
                      return e.error() == EACCES && std::string(e.what()).find("another name") != std::string::npos ? 0
                                                                                                                    : 2;
                  }
              }),
              0)
        << "1: written in place, 2: another error";
    QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7700));
    EXPECT_EQ(contents(file), QByteArray("the old text"));
}

} // namespace
} // namespace velmora::platform
