// The main window's source editor: its configuration at creation, what apply pushes into it
// and its number highlighter, the caret panel and the preferences window's hooks.
#include "AppFixture.h"
#include "app/StatusBar.h"
#include "app/prefs/PrefsWindow.h"
#include "editor/core/highlight/AssemblerSyntax.h"
#include "editor/core/highlight/NumberHighlighter.h"
#include "editor/core/keyfiles/KeywordList.h"
#include "editor/widget/SourceMemo.h"

#include <QAbstractButton>

namespace velmora::testing
{
namespace
{

class MainWindowEditorTest : public AppFixture
{
protected:
    widget::TSourceMemo &editor() const
    {
        auto *memo = component<widget::TSourceMemo>("editor");
        EXPECT_EQ(memo, window->editor);
        return *window->editor;
    }
    QString caretPanel() const { return component<app::TStatusBar>("sb")->panelText(1); }
};

TEST_F(MainWindowEditorTest, EditorStartsWithItsDesignTimeConfiguration)
{
    writeIni("[Font]\nName=Liberation Mono\nSize=13\n");
    start();
    widget::TSourceMemo &memo = editor();

    EXPECT_TRUE(memo.isVisible());
    EXPECT_EQ(memo.ScrollBars(), core::ssVertical);
    const core::TSourceMemoOptions &options = memo.Options();
    for (auto option : {core::smoWrapCaret, core::smoInsertKeyActive, core::smoWideOverwriteCaret,
                        core::smoAutoScrollBars, core::smoSmartTabs})
        EXPECT_TRUE(options.test(option)) << option;
    EXPECT_EQ(options.count(), 5u);
    EXPECT_EQ(memo.Separators(), std::string(core::kAsmSeparators));
    EXPECT_EQ(memo.EndOfTextMark(), (widget::TsmPen{core::clRed, 0, Qt::SolidLine}));
    EXPECT_EQ(memo.RightLinePen().Style, Qt::DotLine);
    EXPECT_EQ(memo.CaretWidth(), 1);
    EXPECT_EQ(memo.ScrollTime(), 1);
    EXPECT_EQ(memo.FontCharset(), core::kCyrillicCharset);
    EXPECT_EQ(memo.AltFont().family(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(memo.AltFont().pixelSize(), 11);

    // The assembler look: its keywords, the comment and string spans, numbers in its notation.
    core::TKeywordList assembler;
    core::fillAssemblerKeywordList(assembler);
    ASSERT_EQ(memo.Keywords().Count(), assembler.Count());
    for (int i = 0; i < assembler.Count(); ++i)
        EXPECT_EQ(memo.Keywords().GetKeyAttributes(i), assembler.GetKeyAttributes(i)) << assembler.Get(i);
    ASSERT_EQ(memo.StartStopKeys().Count(), 3);
    EXPECT_EQ(memo.StartStopKeys().Item(0).StartKey, ";");
    EXPECT_EQ(memo.Highlighter(), &window->NumberHL);
    EXPECT_TRUE(window->NumberHL.AsmNotation());
    EXPECT_EQ(window->NumberHL.Separators(), " ()*+,-/:;<=>[]");

    // The settings replace the design-time font name, size and colour.
    EXPECT_EQ(memo.font().family(), QStringLiteral("Liberation Mono"));
    EXPECT_EQ(memo.font().pointSize(), 13);
    EXPECT_EQ(memo.FontColor(), 0xC0DCC0) << "the default fc";
    EXPECT_EQ(memo.Color(), 0) << "the default bc, black";
    EXPECT_EQ(window->NumberHL.Foreground(), 0xF0CAA6) << "the default NumbersColor";
    EXPECT_EQ(memo.TextLength(), 0);
}

TEST_F(MainWindowEditorTest, ApplyPushesColoursStyleAndWrapIntoTheEditor)
{
    auto &w = start();
    widget::TSourceMemo &memo = editor();
    const QFont started = memo.font();
    w.state().settings.bc = 255;
    w.state().settings.fc = 65280;
    w.state().settings.BF = true;
    w.state().settings.WW = true;
    w.state().settings.oNumbersHL = false;
    w.state().settings.NumbersColor = 0x123456;
    w.apply();

    EXPECT_EQ(memo.Color(), 255);
    EXPECT_EQ(memo.FontColor(), 65280);
    EXPECT_TRUE(memo.font().bold());
    EXPECT_TRUE(memo.WordWrap());
    EXPECT_EQ(w.NumberHL.Foreground(), 65280) << "numbers look like ordinary text";
    // Red is the low byte: the background is painted red, not blue.
    const QImage shown = memo.viewport()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(shown.width() - 3, shown.height() - 3), QColor(Qt::red));

    w.state().settings.oNumbersHL = true;
    w.state().settings.BF = false;
    w.state().settings.WW = false;
    w.apply();
    EXPECT_EQ(w.NumberHL.Foreground(), 0x123456);
    EXPECT_FALSE(memo.font().bold());
    EXPECT_FALSE(memo.WordWrap());
    EXPECT_EQ(memo.font().family(), started.family()) << "apply keeps the font name and size";
    EXPECT_EQ(memo.font().pointSize(), started.pointSize());
}

TEST_F(MainWindowEditorTest, NewEmptiesTheEditor)
{
    auto &w = start();
    editor().SetTextBuf("mov ax, 5\r\n");
    dialogs.answers.push_back(platform::Answer::Discard);
    w.NewA();
    EXPECT_EQ(editor().TextLength(), 0);
}

TEST_F(MainWindowEditorTest, ClickInTheEditorShowsTheCaretPosition)
{
    start();
    widget::TSourceMemo &memo = editor();
    memo.SetTextBuf("mov ax, 5\r\nint 21h\r\n");
    memo.setSelStart(14); // "int 21h", after "int"
    EXPECT_EQ(caretPanel(), QStringLiteral("2 : 4")) << "both numbers are 1-based";

    QTest::mouseClick(memo.viewport(), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(caretPanel(), QStringLiteral("1 : 1"));
}

// Pixels of exactly this colour (red in the low byte) in the editor's text area.
int pixelsOf(widget::TSourceMemo &memo, int colour)
{
    const QImage shown = memo.viewport()->grab().toImage();
    const QColor wanted(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    int count = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            count += shown.pixelColor(x, y) == wanted;
    return count;
}

TEST_F(MainWindowEditorTest, PreferencesHooksActOnTheEditorAtOnce)
{
    start();
    window->createOtherWindows();
    widget::TSourceMemo &memo = editor();

    window->PrefsW->ChooseFont = [](const QFont &) {
        QFont chosen(QStringLiteral("Liberation Serif"));
        chosen.setPointSize(21);
        return std::optional<QFont>(chosen);
    };
    window->PrefsW->show();
    window->PrefsW->findChild<QAbstractButton *>(QStringLiteral("SpeedButton1"))->click();
    EXPECT_EQ(memo.font().family(), QStringLiteral("Liberation Serif"));
    EXPECT_EQ(memo.font().pointSize(), 21);
    window->PrefsW->hide();

    // A new number colour shows on the numbers already in the text.
    const int blue = 0xFF0000;
    const int green = 0x00FF00;
    memo.SetTextBuf("8888 8888");
    window->SetNumbersForeground(blue);
    EXPECT_GT(pixelsOf(memo, blue), 0);
    window->SetNumbersForeground(green);
    EXPECT_EQ(window->NumberHL.Foreground(), green);
    EXPECT_GT(pixelsOf(memo, green), 0);
    EXPECT_EQ(pixelsOf(memo, blue), 0);
}

} // namespace
} // namespace velmora::testing
