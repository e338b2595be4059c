// The build commands as the main window shows them: output pages in the OEM code page,
// command panels, status panel 2, the Tasm button's colour, the gutter's error bookmarks,
// page switching, the jump from an error line to the source, and the Ctrl+F9 chain running
// a real DOS program.
#include "AppFixture.h"

#include "app/StatusBar.h"
#include "editor/widget/SourceGutter.h"
#include "editor/widget/SourceMemo.h"
#include "support/DosPrograms.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTextBlock>
#include <QToolButton>

#include <cmath>

namespace velmora::testing
{
namespace
{

const QByteArray cleanSummary = "Error messages:    None\r\nWarning messages:  None\r\n";

class BuildCommandsWindowTest : public AppFixture
{
protected:
    void TearDown() override { QDir::setCurrent(previousFolder); }

    QString tools() const { return exeDir + QStringLiteral("TTDIR"); }

    static void write(const QString &path, const QByteArray &bytes, bool executable = false)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        file.write(bytes);
        file.close();
        if (executable)
            file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // A stand-in tool in the tools folder: a shell script under the tool's file name.
    void tool(const char *name, const QByteArray &script) const
    {
        write(tools() + QLatin1Char('/') + QString::fromLatin1(name), "#!/bin/sh\n" + script, true);
    }

    // The stand-in assembler prints whatever answer() left in the tools folder.
    void answer(const QByteArray &output) const { write(tools() + QStringLiteral("/answer.txt"), output); }

    // Starts the window with a source of the given lines outside the tools folder.
    app::TVelmora &startWith(const QString &name, int lines)
    {
        tool("tasm.exe", "cat answer.txt\n");
        QByteArray text;
        for (int i = 1; i <= lines; ++i)
            text += "line " + QByteArray::number(i) + "\r\n";
        sourcePath = folder.path() + QStringLiteral("/src/") + name;
        write(sourcePath, text);
        app::TVelmora &w = start();
        w.OpenSourceFile(sourcePath);
        EXPECT_EQ(w.state().CurrentFile, sourcePath);
        return w;
    }

    QTabWidget *pages() const { return component<QTabWidget>("Pages"); }
    QString panel2() const { return component<app::TStatusBar>("sb")->panelText(2); }
    QString commandPanel(const char *name) const { return component<QLabel>(name)->text(); }
    QPlainTextEdit *memo(const char *name) const { return component<QPlainTextEdit>(name); }
    QColor tasmColour() const { return component<QToolButton>("Tasm")->palette().color(QPalette::ButtonText); }

    const QString previousFolder = QDir::currentPath();
    QString sourcePath;
};

TEST_F(BuildCommandsWindowTest, AssembleShowsTheOutputItsSummaryAndTheCommandLine)
{
    auto &w = startWith(QStringLiteral("Prog.ASM"), 3);
    tool("tasm.exe", "cat answer.txt\nprintf object > PROG.OBJ\n");
    // "Привет" in the OEM code page.
    answer("Assembling file:   Prog.ASM \x8f\xe0\xa8\xa2\xa5\xe2\r\n" + cleanSummary);
    QTest::keyClick(&w, Qt::Key_F7);

    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(pages()->currentIndex(), 1);
    EXPECT_EQ(memo("MTasm")->toPlainText(), QStringLiteral(u"Assembling file:   Prog.ASM Привет\n"
                                                           u"Error messages:    None\nWarning messages:  None\n"));
    EXPECT_EQ(commandPanel("TasmCMDStr"), QStringLiteral("tasm.exe /z  Prog.ASM >tasm.out"));
    EXPECT_EQ(panel2(), QStringLiteral("Warnings: 0 Errors: 0   -/ OK /-"));
    EXPECT_EQ(tasmColour(), QColor(0x00, 0x80, 0x00));
    EXPECT_TRUE(QFile::exists(tools() + QStringLiteral("/prog.asm")));
    EXPECT_TRUE(QFile::exists(folder.path() + QStringLiteral("/src/Prog.obj")));

    answer("Error messages:    None\r\nWarning messages:  2\r\n");
    pages()->setCurrentIndex(0);
    component<QToolButton>("Tasm")->click();
    EXPECT_EQ(pages()->currentIndex(), 1);
    EXPECT_EQ(panel2(), QStringLiteral("Warnings: 2 Errors: 0"));
    EXPECT_EQ(tasmColour(), QColor(0x80, 0x80, 0x00));

    // A count that is no number is reported; panel and colour keep the last summary.
    answer("Error messages:    3 or so\r\nWarning messages:  None\r\n");
    QTest::keyClick(&w, Qt::Key_F7);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].kind, platform::MessageKind::Error);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("'    3 or so' is not a valid integer value"));
    EXPECT_EQ(panel2(), QStringLiteral("Warnings: 2 Errors: 0"));
    EXPECT_EQ(tasmColour(), QColor(0x80, 0x80, 0x00));
}

TEST_F(BuildCommandsWindowTest, UncapturedAssembleLeavesThePageEmptyAndTheSummaryAsItWas)
{
    auto &w = startWith(QStringLiteral("prog.asm"), 2);
    answer(cleanSummary);
    w.state().settings.build.outdest = 1;
    memo("MTasm")->setPlainText(QStringLiteral("an earlier output"));
    component<app::TStatusBar>("sb")->setPanelText(2, QStringLiteral("Warnings: 1 Errors: 0"));
    QTest::keyClick(&w, Qt::Key_F7);

    EXPECT_TRUE(memo("MTasm")->toPlainText().isEmpty());
    EXPECT_EQ(panel2(), QStringLiteral("Warnings: 1 Errors: 0"));
    EXPECT_EQ(pages()->currentIndex(), 1);
    EXPECT_EQ(commandPanel("TasmCMDStr"), QStringLiteral("tasm.exe /z  prog.asm >tasm.out"));
}

TEST_F(BuildCommandsWindowTest, DoubleClickOnAnErrorLineShowsItsSourceLine)
{
    auto &w = startWith(QStringLiteral("prog.asm"), 12);
    answer("Assembling file:   prog.asm\r\n**Error** prog.asm(9) Undefined symbol: X\r\n"
           "Error messages:    1\r\nWarning messages:  None\r\n");
    QTest::keyClick(&w, Qt::Key_F7);
    ASSERT_EQ(pages()->currentIndex(), 1);
    EXPECT_EQ(tasmColour(), QColor(0xFF, 0x00, 0x00));

    QPlainTextEdit *output = memo("MTasm");
    const auto lineCentre = [output](int line) {
        return output->cursorRect(QTextCursor(output->document()->findBlockByNumber(line))).center();
    };
    QTest::mouseDClick(output->viewport(), Qt::LeftButton, {}, lineCentre(0));
    EXPECT_EQ(pages()->currentIndex(), 1) << "a line that names no source line";

    QTest::mouseDClick(output->viewport(), Qt::LeftButton, {}, lineCentre(1));
    EXPECT_EQ(pages()->currentIndex(), 0);
    EXPECT_EQ(w.editor->SelPar(), 8);
    EXPECT_EQ(w.editor->SelCol(), 0);
    EXPECT_EQ(w.editor->SelLength(), 0);
    EXPECT_TRUE(w.editor->hasFocus());
    EXPECT_EQ(component<app::TStatusBar>("sb")->panelText(1), QStringLiteral("9 : 1")) << "the caret panel follows";
}

TEST_F(BuildCommandsWindowTest, ListingIsAnnouncedWithThePacksTextAndShown)
{
    write(exeDir + QStringLiteral("info/LNGPAK_Rus.lng"), "[Language]\nList_Generated=Listing ready\n");
    auto &w = startWith(QStringLiteral("prog.asm"), 2);
    tool("tasm.exe", "printf 'listing of %s %s\\r\\n' \"$1\" \"$2\" > PROG.LST\n");
    w.findChild<QAction *>(QStringLiteral("ExpandListing1"))->trigger();

    ASSERT_EQ(dialogs.messages.size(), 1u);
    const QString beside = folder.path() + QStringLiteral("/src/prog.lst");
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Listing ready - ") + beside);
    EXPECT_TRUE(QFile::exists(beside));
    EXPECT_EQ(memo("MTasm")->toPlainText(), QStringLiteral("listing of prog.asm /la\n"));
    EXPECT_EQ(commandPanel("TasmCMDStr"), tools() + QStringLiteral("/tasm.exe prog.asm /la"));
    EXPECT_EQ(pages()->currentIndex(), 1);
}

TEST_F(BuildCommandsWindowTest, ErrorLinesGetNumberedBookmarksInTheGutter)
{
    auto &w = startWith(QStringLiteral("prog.asm"), 12);
    answer("Assembling file:   prog.asm\r\n"
           "**Error** prog.asm(5) Undefined symbol: A\r\n"
           "**Error** prog.asm(5) Need register\r\n"
           "*Warning* prog.asm(7) Argument needs type override\r\n"
           "**Error** prog.asm(9) Undefined symbol: B\r\n"
           "Error messages:    3\r\nWarning messages:  1\r\n");
    QTest::keyClick(&w, Qt::Key_F7);
    EXPECT_EQ(w.Gutter->BookmarkLine(1), 4);
    EXPECT_EQ(w.Gutter->BookmarkLine(2), -1) << "the second error names a line already marked";
    EXPECT_EQ(w.Gutter->BookmarkLine(3), 8);
    EXPECT_EQ(w.Gutter->BookmarkAt(6), -1) << "warnings get no bookmark";

    // The next summary starts from no bookmarks; an error on the first output line is not read.
    answer("**Error** prog.asm(2) Undefined symbol: C\r\nError messages:    1\r\nWarning messages:  None\r\n");
    QTest::keyClick(&w, Qt::Key_F7);
    for (int number = 0; number <= 9; ++number)
        EXPECT_EQ(w.Gutter->BookmarkLine(number), -1) << number;
    EXPECT_EQ(panel2(), QStringLiteral("Warnings: 0 Errors: 1"));
}

TEST_F(BuildCommandsWindowTest, CtrlF9RunsTheBuiltDosProgramAndShowsWhatItPrinted)
{
    if (!dosToolsInstalled())
        GTEST_SKIP() << "nasm and dosbox are needed";
    const QString built = folder.path() + QStringLiteral("/built/hello.com");
    ASSERT_TRUE(assembleDosProgram(helloComSource("Hello from prog"), built));

    auto &w = startWith(QStringLiteral("prog.asm"), 2);
    answer(cleanSummary);
    tool("tasm.exe", "cat answer.txt\nprintf object > PROG.OBJ\n");
    tool("tLink.exe", "cp '" + QFile::encodeName(built) + "' \"$2.com\"\necho linked \"$@\"\n");
    w.state().TlinkParams = QStringLiteral("/t");
    QTest::keyClick(&w, Qt::Key_F9, Qt::ControlModifier);

    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(panel2(), QStringLiteral("Warnings: 0 Errors: 0   -/ OK /-"));
    EXPECT_EQ(memo("MTLink")->toPlainText(), QStringLiteral("linked /t prog\n"));
    EXPECT_EQ(memo("MRun")->toPlainText(), QStringLiteral("Hello from prog\n"));
    EXPECT_EQ(commandPanel("RunCMDStr"), tools() + QStringLiteral("/prog.com >run.out"));
    EXPECT_EQ(pages()->currentIndex(), 3);
}

TEST_F(BuildCommandsWindowTest, AnAssemblyWithoutObjectIsRedAndF9DoesNotRunTheOldProgram)
{
    auto &w = startWith(QStringLiteral("prog.asm"), 3);
    // A source without END under /z: no message, no object file.
    answer("Assembling file:   prog.asm\r\n" + cleanSummary);
    tool("prog.exe", "touch ran.txt\necho yesterday\n");
    QTest::keyClick(&w, Qt::Key_F7);

    EXPECT_EQ(panel2(), QStringLiteral("Warnings: 0 Errors: 1"));
    EXPECT_EQ(tasmColour(), QColor(0xFF, 0x00, 0x00));
    EXPECT_TRUE(memo("MTasm")->toPlainText().contains(QStringLiteral("\nprog.obj was not produced.")));
    EXPECT_TRUE(dialogs.messages.empty());

    QTest::keyClick(&w, Qt::Key_F9);
    EXPECT_FALSE(QFile::exists(tools() + QStringLiteral("/ran.txt"))) << "yesterday's program ran";
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("prog.exe was not found in ") + w.state().toolsFolder() +
                                            QStringLiteral(": link the program first (F8). Nothing was run."));
    EXPECT_EQ(memo("MRun")->toPlainText(), dialogs.messages[0].text);
}

TEST_F(BuildCommandsWindowTest, AMissingAssemblerIsRedAndNamesTheToolsFolder)
{
    auto &w = startWith(QStringLiteral("prog.asm"), 3);
    QFile::remove(tools() + QStringLiteral("/tasm.exe"));
    component<app::TStatusBar>("sb")->setPanelText(2, QStringLiteral("Warnings: 0 Errors: 0   -/ OK /-"));
    QTest::keyClick(&w, Qt::Key_F7);

    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].kind, platform::MessageKind::Error);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("tasm.exe was not found in ") + w.state().toolsFolder() +
                                            QStringLiteral(". Put the assembler there, or change its name in "
                                                           "Preferences."));
    EXPECT_EQ(panel2(), QStringLiteral("Warnings: 0 Errors: 1"));
    EXPECT_EQ(tasmColour(), QColor(0xFF, 0x00, 0x00));

    // Ctrl+F9 with no tools at all: one message for the whole chain.
    dialogs.messages.clear();
    QTest::keyClick(&w, Qt::Key_F9, Qt::ControlModifier);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text.count(QLatin1Char('\n')), 1) << dialogs.messages[0].text.toStdString();
    EXPECT_FALSE(memo("MRun")->toPlainText().isEmpty()) << "the run page says why nothing ran";
}

TEST_F(BuildCommandsWindowTest, ParametersAreAskedInTheProgramsBoxAndStayWhenTheToolIsMissing)
{
    auto &w = startWith(QStringLiteral("prog.asm"), 2);
    QFile::remove(tools() + QStringLiteral("/tasm.exe"));
    dialogs.inputs = {QStringLiteral("/zi /m2")};
    QTest::keyClick(&w, Qt::Key_F7, Qt::ShiftModifier);

    EXPECT_EQ(dialogs.inputPrompts, std::vector<QString>{QStringLiteral("TAsm Parameters|Input parameters")});
    EXPECT_EQ(w.state().TasmParams, QStringLiteral("/zi /m2"));
    EXPECT_EQ(commandPanel("TasmCMDStr"), QStringLiteral("tasm.exe /zi /m2 prog.asm >tasm.out"));
    ASSERT_EQ(dialogs.messages.size(), 1u) << "the missing assembler";
    EXPECT_EQ(dialogs.messages[0].kind, platform::MessageKind::Error);
}

TEST_F(BuildCommandsWindowTest, ADosAssemblerWithoutDosBoxSaysWhatToInstall)
{
    auto &w = startWith(QStringLiteral("prog.asm"), 3);
    write(tools() + QStringLiteral("/tasm.exe"), QByteArray("MZ") + QByteArray(62, '\0'));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray());
    QTest::keyClick(&w, Qt::Key_F7);
    qputenv("PATH", path);

    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("DOS programs run through DOSBox; install the dosbox package."));
    EXPECT_EQ(tasmColour(), QColor(0xFF, 0x00, 0x00));
}

TEST_F(BuildCommandsWindowTest, ALongCyrillicNameGetsItsProductsBackAndItsErrorLinesJump)
{
    auto &w = startWith(QStringLiteral(u"моя первая программа.asm"), 6);
    // The stand-in assembler names the file it was given, as the real one does.
    tool("tasm.exe", "base=${2%.asm}\n"
                     "printf 'Assembling file:   %s\\r\\n**Error** %s(4) Illegal instruction\\r\\n' \"$2\" \"$2\"\n"
                     "printf 'Error messages:    1\\r\\nWarning messages:  None\\r\\n'\n"
                     "printf object > \"$(echo $base | tr a-z A-Z).OBJ\"\n");
    QTest::keyClick(&w, Qt::Key_F7);

    EXPECT_TRUE(dialogs.messages.empty());
    const QString source = folder.path() + QStringLiteral(u"/src/моя первая программа");
    EXPECT_TRUE(QFile::exists(source + QStringLiteral(".obj")));
    QPlainTextEdit *output = memo("MTasm");
    const QString errorLine = QStringLiteral(u"**Error** моя первая программа.asm(4) Illegal instruction");
    EXPECT_EQ(output->document()->findBlockByNumber(1).text(), errorLine);
    EXPECT_EQ(w.Gutter->BookmarkLine(1), 3);

    const QPoint centre = output->cursorRect(QTextCursor(output->document()->findBlockByNumber(1))).center();
    QTest::mouseDClick(output->viewport(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(pages()->currentIndex(), 0);
    EXPECT_EQ(w.editor->SelPar(), 3);

    tool("tLink.exe", "printf exe > \"$(echo $1 | tr a-z A-Z).EXE\"\nprintf map > \"$1.map\"\n");
    QTest::keyClick(&w, Qt::Key_F8);
    EXPECT_TRUE(QFile::exists(source + QStringLiteral(".exe")));
    EXPECT_TRUE(QFile::exists(source + QStringLiteral(".map")));
    EXPECT_EQ(component<QToolButton>("Tlink")->palette().color(QPalette::ButtonText), QColor(0x00, 0x80, 0x00));
}

TEST_F(BuildCommandsWindowTest, OutputPagesLineUpColumnsAndTheirPanelsAreReadable)
{
    start();
    for (const char *name : {"MTasm", "MTLink", "MRun"}) {
        QPlainTextEdit *page = memo(name);
        const QFontInfo font(page->font());
        EXPECT_TRUE(font.fixedPitch()) << name << " " << font.family().toStdString();
        EXPECT_DOUBLE_EQ(page->tabStopDistance(), 8 * QFontMetricsF(page->font()).horizontalAdvance(QLatin1Char(' ')));
    }
    // Relative luminance contrast of the command panels' text against their background.
    const auto luminance = [](const QColor &c) {
        const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    for (const char *name : {"TasmCMDStr", "TlinkCMDStr", "RunCMDStr"}) {
        const QPalette palette = component<QLabel>(name)->palette();
        const double a = luminance(palette.color(QPalette::WindowText));
        const double b = luminance(palette.color(QPalette::Window));
        EXPECT_GE((std::max(a, b) + 0.05) / (std::min(a, b) + 0.05), 4.5) << name;
    }
}

TEST_F(BuildCommandsWindowTest, F9ShowsWhatAProgramThatTalksPrintedAndTheKeyItRead)
{
    if (!dosToolsInstalled())
        GTEST_SKIP() << "nasm and dosbox are needed";
    auto &w = startWith(QStringLiteral("prog.asm"), 2);
    ASSERT_TRUE(assembleDosProgram(promptComSource('y'), tools() + QStringLiteral("/prog.com")));
    w.state().TlinkParams = QStringLiteral("/t");
    QTest::keyClick(&w, Qt::Key_F9);

    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(memo("MRun")->toPlainText(), QStringLiteral("Press a key: y\nYou pressed y\n"));
    EXPECT_EQ(commandPanel("RunCMDStr"), tools() + QStringLiteral("/prog.com >run.out"));
    EXPECT_EQ(pages()->currentIndex(), 3);
}

} // namespace
} // namespace velmora::testing
