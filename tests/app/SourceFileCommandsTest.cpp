// New, the default template, open, save, save as, the last file and the source's folder,
// through the main window with scripted dialogs.
#include "AppFixture.h"

#include <QFileInfo>

#include "editor/widget/SourceMemo.h"

#include <QDir>
#include <QTabWidget>

namespace velmora::testing
{
namespace
{

class SourceFileCommandsTest : public AppFixture
{
protected:
    std::string text() { return window->editor->textRange(0, window->editor->TextLength()); }

    // Replaces the text as typing would, marking it changed.
    void edit(const char *replacement)
    {
        window->editor->SelectAll();
        window->editor->SetSelTextBuf(replacement);
    }
};

TEST_F(SourceFileCommandsTest, NewTakesTheTemplateOnlyWhenAskedAndItExists)
{
    auto &w = start();
    w.state().settings.def_templ = true;
    w.NewA();
    EXPECT_EQ(w.editor->TextLength(), 0) << "no template file";
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Untitled - Velmora 3.5f"));

    QFile templ(exeDir + QStringLiteral("TTDIR/def_templ.asm"));
    ASSERT_TRUE(templ.open(QIODevice::WriteOnly));
    templ.write(".model small\r\nend\r\n");
    templ.close();
    w.state().settings.def_templ = false;
    w.NewA();
    EXPECT_EQ(w.editor->TextLength(), 0);
    w.DefaultTemplate1Click();
    EXPECT_EQ(text(), ".model small\r\nend\r\n");
    EXPECT_TRUE(w.state().CurrentFile.isEmpty());
    EXPECT_FALSE(w.state().settings.def_templ);
    w.NewA();
    EXPECT_TRUE(dialogs.messages.empty()) << "a template just loaded is no unsaved change";
}

TEST_F(SourceFileCommandsTest, CancelledSaveDialogsWriteNothingAndKeepTheNames)
{
    auto &w = start();
    w.state().LastFile = QStringLiteral("/elsewhere/last.asm");
    edit("mov ax,1");
    dialogs.files.push_back(std::nullopt);
    w.SaveA();
    EXPECT_EQ(dialogs.fileRequests.size(), 1u) << "untitled text asks for a name";
    EXPECT_TRUE(w.state().CurrentFile.isEmpty());
    EXPECT_EQ(w.state().LastFile, QStringLiteral("/elsewhere/last.asm"));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList());

    const QString named = writeFile("a.asm", "old\r\n");
    dialogs.answers.push_back(platform::Answer::Discard);
    w.OpenSourceFile(named);
    EXPECT_EQ(w.state().CurrentFile, named);
    edit("new");
    dialogs.files.push_back(std::nullopt);
    w.SaveAsA();
    EXPECT_EQ(dialogs.fileRequests.back().fileName, named) << "the dialog proposes the current name";
    EXPECT_EQ(w.state().CurrentFile, named);
    EXPECT_EQ(readFile(named), QByteArray("old\r\n"));
}

TEST_F(SourceFileCommandsTest, SaveAsNamesTheTextAndSaveKeepsEveryByte)
{
    QByteArray bytes;
    for (int b = 1; b < 256; ++b)
        if (b != '\r' && b != '\n')
            bytes.append(char(b));
    bytes = bytes.left(120) + "\r\n\r\n" + bytes.mid(120) + "\r\nlast line without a break";
    const QString source = writeFile("all.asm", bytes);
    auto &w = start({source});
    w.SaveA();
    EXPECT_EQ(readFile(source), bytes);

    const QString copy = folder.path() + QStringLiteral("/copy.asm");
    dialogs.files.push_back(copy);
    w.SaveAsA();
    EXPECT_EQ(readFile(copy), bytes);
    EXPECT_EQ(w.state().CurrentFile, copy);
    EXPECT_EQ(w.state().LastFile, copy);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("copy.asm - Velmora 3.5f"));
    EXPECT_FALSE(w.editor->Modified());
}

TEST_F(SourceFileCommandsTest, ChangedTextIsNotDiscardedWithoutAsking)
{
    const QString source = writeFile("prog.asm", "mov ax,1\r\n");
    auto &w = start({source});
    edit("changed");

    dialogs.answers.push_back(platform::Answer::Cancel);
    w.NewA();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Save changes to prog.asm?"));
    EXPECT_EQ(text(), "changed");
    EXPECT_EQ(w.state().CurrentFile, source);

    dialogs.answers.push_back(platform::Answer::Cancel);
    EXPECT_FALSE(w.close()) << "Cancel keeps the window open";
    EXPECT_TRUE(w.isVisible());

    dialogs.answers.push_back(platform::Answer::Save);
    w.LastFileA();
    EXPECT_EQ(readFile(source), QByteArray("changed")) << "Save writes before the file is loaded again";
    EXPECT_EQ(text(), "changed");

    edit("thrown away");
    dialogs.answers.push_back(platform::Answer::Discard);
    w.NewA();
    EXPECT_EQ(w.editor->TextLength(), 0);
    EXPECT_EQ(readFile(source), QByteArray("changed"));
    EXPECT_TRUE(w.close()) << "nothing changed since New: closing asks nothing";
}

TEST_F(SourceFileCommandsTest, FilesThatCannotBeReadOrWrittenChangeNothing)
{
    const QString source = writeFile("prog.asm", "mov ax,1\r\n");
    auto &w = start({source});
    component<QTabWidget>("Pages")->setCurrentIndex(2);
    w.state().LastFile = folder.path() + QStringLiteral("/gone.asm");
    app::TVelmora::runCommand([&] { w.LastFileA(); });
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(
        dialogs.messages[0].text.startsWith(QStringLiteral("Cannot open file \"") + w.state().LastFile + "\". "))
        << dialogs.messages[0].text.toStdString();
    EXPECT_EQ(text(), "mov ax,1\r\n");
    EXPECT_EQ(w.state().CurrentFile, source);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("prog.asm - Velmora 3.5f"));
    EXPECT_EQ(component<QTabWidget>("Pages")->currentIndex(), 2);

    edit("unsaved");
    const QString unwritable = folder.path() + QStringLiteral("/no such folder/new.asm");
    dialogs.files.push_back(unwritable);
    app::TVelmora::runCommand([&] { w.SaveAsA(); });
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text, QStringLiteral("The folder %1 does not exist. The file was not saved.")
                                            .arg(QFileInfo(unwritable).absolutePath()));
    EXPECT_EQ(w.state().CurrentFile, source) << "a name that could not be written is not kept";
    EXPECT_TRUE(w.editor->Modified());
    EXPECT_EQ(readFile(source), QByteArray("mov ax,1\r\n"));
}

TEST_F(SourceFileCommandsTest, AFileCutShortAtANulIsNotOverwrittenWithoutAsking)
{
    const QByteArray bytes("ab\r\ncd\0ef\r\n", 11);
    const QString source = writeFile("nul.asm", bytes);
    auto &w = start({source});
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              QStringLiteral("nul.asm contains a NUL byte at offset 6: only the text before it was loaded"));
    EXPECT_EQ(text(), "ab\r\ncd");

    // No answer queued: the box answers with its default button, as Enter would.
    w.SaveA();
    EXPECT_EQ(readFile(source), bytes) << "Enter must not drop the file's tail";
    dialogs.answers.push_back(platform::Answer::Yes);
    w.SaveA();
    EXPECT_EQ(readFile(source), QByteArray("ab\r\ncd"));
    w.SaveA();
    EXPECT_EQ(dialogs.messages.size(), 3u) << "once confirmed, saving asks no more";
}

TEST_F(SourceFileCommandsTest, LastFileLoadsOnTheEditorPageAndOpenFolderGetsTheFolderWhole)
{
    const QString source = writeFile("my src.asm", "int 21h\r\n");
    auto &w = start();
    QStringList opened;
    w.OpenFolder = [&](const QString &f) { opened << f; };
    component<QTabWidget>("Pages")->setCurrentIndex(3);
    w.LastFileA();
    EXPECT_EQ(component<QTabWidget>("Pages")->currentIndex(), 0) << "page 0 also without a last file";
    w.state().LastFile = source;
    w.LastFileA();
    EXPECT_EQ(w.state().CurrentFile, source);
    EXPECT_EQ(text(), "int 21h\r\n");

    QDir().mkpath(folder.path() + QStringLiteral("/my src"));
    w.state().CurrentFile = folder.path() + QStringLiteral("/my src/a.asm");
    w.OpenfolderClick();
    EXPECT_EQ(opened, QStringList{folder.path() + QStringLiteral("/my src/")});
}

} // namespace
} // namespace velmora::testing
