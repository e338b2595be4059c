// The recovery copy of unsaved text: written while the text is unsaved, gone once it is saved
// or discarded, kept when the program is killed or asked to end, offered at the next start.
#include "AppFixture.h"

#include "editor/widget/SourceMemo.h"

#include <QDateTime>
#include <QFileInfo>
#include <QProcess>

#include <csignal>

namespace velmora::testing
{
namespace
{

class RecoveryCopyTest : public AppFixture
{
protected:
    QStringList copies() const { return QDir(recoveryDir()).entryList({QStringLiteral("*.recovery")}, QDir::Files); }
    QByteArray onlyCopy() const
    {
        const QStringList names = copies();
        return names.size() == 1 ? readFile(recoveryDir() + names[0]) : QByteArray("<not one copy>");
    }
    std::string text() { return window->editor->textRange(0, window->editor->TextLength()); }
    void type(const char *replacement)
    {
        window->editor->SelectAll();
        window->editor->SetSelTextBuf(replacement);
    }
    // The text of the offer of the copy of sourceFile written at written.
    static QString offer(const QString &what, const QDateTime &written)
    {
        return QStringLiteral("Velmora ended without saving %1. A recovery copy of it was written at %2.\n\n"
                              "Restore it? No deletes the copy; Cancel keeps it for the next start.")
            .arg(what, written.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
    }
};

TEST_F(RecoveryCopyTest, AKilledVelmoraLeavesACopyThatTheNextStartOffers)
{
    const QString source = writeFile("prog.asm", "mov ax,1\r\n");
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.start(QStringLiteral(VELMORA_BINARY_DIR "/tests/recovery_child"),
                {exeDir, recoveryDir(), source, QStringLiteral("int 21h ")});
    ASSERT_TRUE(child.waitForStarted());
    ASSERT_TRUE(child.waitForReadyRead(30000)) << child.readAllStandardError().toStdString();
    ASSERT_EQ(child.readAllStandardOutput(), QByteArray("written\n"));
    ::kill(pid_t(child.processId()), SIGKILL);
    ASSERT_TRUE(child.waitForFinished());
    ASSERT_EQ(copies().size(), 1u);
    const QDateTime written = QFileInfo(recoveryDir() + copies()[0]).lastModified();

    auto &w = start();
    dialogs.answers.push_back(platform::Answer::Yes);
    w.offerRecoveryCopies();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, offer(QStringLiteral("\"%1\"").arg(source), written));
    EXPECT_EQ(text(), "int 21h mov ax,1\r\n");
    EXPECT_EQ(w.state().CurrentFile, source);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("prog.asm - Velmora 3.5f"));
    EXPECT_TRUE(w.editor->Modified()) << "the restored text is not saved yet";
    EXPECT_EQ(readFile(source), QByteArray("mov ax,1\r\n"));
    ASSERT_EQ(copies().size(), 1u) << "the old copy gave way to this run's own";
    EXPECT_TRUE(onlyCopy().endsWith("int 21h mov ax,1\r\n"));

    w.SaveA();
    EXPECT_EQ(readFile(source), QByteArray("int 21h mov ax,1\r\n"));
    EXPECT_TRUE(copies().isEmpty()) << "a save leaves nothing to recover";
}

TEST_F(RecoveryCopyTest, TheCopyFollowsTheUnsavedTextAndACleanExitRemovesIt)
{
    const QString source = writeFile("prog.asm", "old\r\n");
    auto &w = start({source});
    w.writeRecoveryCopy();
    EXPECT_TRUE(copies().isEmpty()) << "nothing unsaved, no copy";

    type("first change");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !copies().isEmpty(); }, 10000)) << "written a pause after typing";
    EXPECT_EQ(onlyCopy(), "Velmora recovery copy\n" + QFile::encodeName(source).toPercentEncoding() + "\nfirst change");

    type("second change");
    app::TVelmora::runCommand([&] { w.runClick(); }); // a build step first brings the copy up to date
    EXPECT_TRUE(onlyCopy().endsWith("\nsecond change"));

    w.NewA(); // asks; the scripted answer Save saves
    EXPECT_EQ(readFile(source), QByteArray("second change"));
    EXPECT_TRUE(copies().isEmpty());

    type("untitled text");
    ASSERT_TRUE(QDir(recoveryDir()).removeRecursively()) << "a user clears the state folder meanwhile";
    w.writeRecoveryCopy();
    EXPECT_EQ(onlyCopy(), QByteArray("Velmora recovery copy\n\nuntitled text"));
    dialogs.answers.push_back(platform::Answer::Discard);
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(copies().isEmpty()) << "discarded on a clean exit";
    window.reset();
    EXPECT_TRUE(QDir(recoveryDir()).entryList(QDir::Files).isEmpty()) << "the lock file goes too";
}

TEST_F(RecoveryCopyTest, ATerminationRequestKeepsTheTextForTheNextStart)
{
    start();
    type("typed before the logout");
    writeIni("");
    const size_t asked = dialogs.messages.size();
    ASSERT_EQ(std::raise(SIGTERM), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, 5000));
    EXPECT_EQ(dialogs.messages.size(), asked) << "nothing is asked while the session ends";
    EXPECT_TRUE(readIni().contains(QStringLiteral("VirtDriveEnable=0"))) << "the settings were written";
    EXPECT_TRUE(onlyCopy().endsWith("\ntyped before the logout"));
    const QDateTime written = QFileInfo(recoveryDir() + copies()[0]).lastModified();
    window.reset();

    // Cancel keeps the copy, No deletes it.
    auto &w = start();
    dialogs.answers = {platform::Answer::Cancel};
    w.offerRecoveryCopies();
    EXPECT_EQ(dialogs.messages.back().text, offer(QStringLiteral("an untitled text"), written));
    EXPECT_EQ(w.editor->TextLength(), 0);
    EXPECT_EQ(copies().size(), 1u);
    dialogs.answers = {platform::Answer::No};
    w.offerRecoveryCopies();
    EXPECT_TRUE(copies().isEmpty());
    const size_t offers = dialogs.messages.size();
    w.offerRecoveryCopies();
    EXPECT_EQ(dialogs.messages.size(), offers) << "nothing left to offer";
}

TEST_F(RecoveryCopyTest, ACopyOfARunningVelmoraIsNotOfferedAndLocksLeftWithoutACopyGo)
{
    auto &first = start();
    type("still being edited");
    first.writeRecoveryCopy();
    writeFile("state/velmora/12345-0.lock", "");
    auto second = std::make_unique<app::TVelmora>(app::StartUp{exeDir, {}, recoveryDir()});
    second->offerRecoveryCopies();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(copies().size(), 1u);
    const QStringList locks = QDir(recoveryDir()).entryList({QStringLiteral("*.lock")}, QDir::Files);
    EXPECT_EQ(locks.size(), 2) << "the two running Velmoras' own";
    EXPECT_FALSE(locks.contains(QStringLiteral("12345-0.lock")));
}

TEST_F(RecoveryCopyTest, AFailedCopyIsReportedOnceNotAfterEveryPause)
{
    auto &w = start();
    ASSERT_TRUE(QDir(folder.path() + QStringLiteral("/state")).removeRecursively());
    writeFile("state", "a file where the folder was");
    type("text");
    w.writeRecoveryCopy();
    type("more text");
    w.writeRecoveryCopy();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(
        QStringLiteral("The recovery copy of the unsaved text could not be written. Cannot create file")))
        << dialogs.messages[0].text.toStdString();
}

} // namespace
} // namespace velmora::testing
