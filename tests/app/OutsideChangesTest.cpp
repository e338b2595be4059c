// A source changed, replaced or deleted by another program while it is open: noticed when the
// window becomes active and before a save; the user decides whether to reload or overwrite.
#include "AppFixture.h"

#include "editor/widget/SourceMemo.h"

#include <QWidget>

#include <fcntl.h>
#include <sys/stat.h>

namespace velmora::testing
{
namespace
{

using platform::Answer;

class OutsideChangesTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        source = folder.path() + QStringLiteral("/prog.asm");
        writeFile(source, "mov ax,1\r\n");
    }
    static void writeFile(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    std::string text() { return window->editor->textRange(0, window->editor->TextLength()); }

    // Another window takes the focus, then the main window gets it back; returns the
    // messages shown on the way back.
    std::vector<ScriptedDialogs::Shown> reactivate()
    {
        const size_t before = dialogs.messages.size();
        QWidget other;
        other.show();
        other.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&other));
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QTest::qWait(20);
        return {dialogs.messages.begin() + qsizetype(before), dialogs.messages.end()};
    }

    QString source;
};

TEST_F(OutsideChangesTest, AChangeIsNoticedOnActivationAndReloadedOnRequest)
{
    start({source});
    writeFile(source, "mov ax,2\r\n"); // same size: only the time tells
    dialogs.answers.push_back(Answer::Yes);
    const auto shown = reactivate();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, QStringLiteral("prog.asm was changed by another program. Reload it?"));
    EXPECT_EQ(text(), "mov ax,2\r\n");
    EXPECT_FALSE(window->editor->Modified());
    EXPECT_TRUE(reactivate().empty()) << "the file is as loaded again";
}

TEST_F(OutsideChangesTest, ASaveAsksBeforeOverwritingAnotherProgramsChanges)
{
    start({source});
    window->editor->SetSelTextBuf("; mine\r\n");
    writeFile(source, "their version\r\n");
    dialogs.answers.push_back(Answer::No);
    const auto shown = reactivate();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text,
              QStringLiteral("prog.asm was changed by another program. Reload it and lose the changes made here?"));
    EXPECT_EQ(text(), "; mine\r\nmov ax,1\r\n");
    EXPECT_TRUE(reactivate().empty()) << "asked once about one change";

    const QString question = QStringLiteral(
        "prog.asm was changed by another program since it was loaded or saved here. Overwrite that program's changes?");
    dialogs.answers.push_back(Answer::No);
    window->SaveA();
    EXPECT_EQ(dialogs.messages.back().text, question);
    EXPECT_EQ(readFile(source), QByteArray("their version\r\n"));
    EXPECT_TRUE(window->editor->Modified());

    dialogs.answers.push_back(Answer::Yes);
    window->SaveA();
    EXPECT_EQ(readFile(source), QByteArray("; mine\r\nmov ax,1\r\n"));
    const size_t asked = dialogs.messages.size();
    window->SaveA();
    EXPECT_EQ(dialogs.messages.size(), asked) << "our own save is no outside change";
}

TEST_F(OutsideChangesTest, AFileReplacedUnderTheSameNameSizeAndTimeIsNoticed)
{
    start({source});
    const QString other = folder.path() + QStringLiteral("/other.asm");
    writeFile(other, "mov bx,1\r\n");
    struct stat st = {};
    ASSERT_EQ(::stat(QFile::encodeName(source).constData(), &st), 0);
    const timespec times[2] = {st.st_atim, st.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(other).constData(), times, 0), 0);
    ASSERT_EQ(::rename(QFile::encodeName(other).constData(), QFile::encodeName(source).constData()), 0);
    dialogs.answers.push_back(Answer::Yes);
    ASSERT_EQ(reactivate().size(), 1u);
    EXPECT_EQ(text(), "mov bx,1\r\n");
}

TEST_F(OutsideChangesTest, ADeletedFileKeepsTheTextWhichASaveWritesAgain)
{
    start({source});
    ASSERT_TRUE(QFile::remove(source));
    const auto shown = reactivate();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, QStringLiteral("prog.asm was deleted or moved by another program. The text stays in the "
                                            "editor; saving writes the file again."));
    EXPECT_EQ(text(), "mov ax,1\r\n");
    EXPECT_TRUE(window->editor->Modified()) << "closing now asks before the text is lost";
    window->SaveA();
    EXPECT_EQ(dialogs.messages.size(), 1u) << "nothing to overwrite, nothing asked";
    EXPECT_EQ(readFile(source), QByteArray("mov ax,1\r\n"));
}

} // namespace
} // namespace velmora::testing
