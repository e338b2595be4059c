// The editor control's properties, life cycle, listener lists and message routing.
#include "SourceMemoFixture.h"

#include "editor/core/editing/SourceNavigator.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>

#include <sstream>
#include <string>
#include <vector>

using namespace velmora;
using namespace velmora::widget;
using velmora::widget::test::SourceMemoFixture;

namespace
{

// Records every notification; optionally answers a message or acts on one.
class RecordingListener : public IsmMemoListener
{
public:
    void notify(TSourceMemo &sender, TsmNotifyCodes codes) override
    {
        codesSeen.push_back(codes);
        if (codes & ncBeforeMessage)
            messagesSeen.push_back(sender.message().Msg);
        if (action)
            action(sender, codes);
    }
    bool saw(TsmNotifyCodes code) const
    {
        return std::any_of(codesSeen.begin(), codesSeen.end(), [code](TsmNotifyCodes c) { return c & code; });
    }
    std::vector<TsmNotifyCodes> codesSeen;
    std::vector<std::uint32_t> messagesSeen;
    std::function<void(TSourceMemo &, TsmNotifyCodes)> action;
};

void typeKey(TSourceMemo &memo, Qt::Key key, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&memo, &press);
}

std::string manyLines(int n)
{
    std::string text;
    for (int i = 0; i < n; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    return text;
}

class CountingCollapseHandler : public TsmsCollapseHandler
{
public:
    void attachNotify(TSourceMemo &, bool attached) override { attachCalls.push_back(attached); }
    void paintLine(TSourceMemo &, QPainter &, const core::LineInfo &, std::int32_t, std::int32_t, std::int32_t) override
    {
        ++paintedLines;
    }
    std::vector<bool> attachCalls;
    int paintedLines = 0;
};

} // namespace

TEST(SourceMemoDefaults, NewControlWrapsWithVerticalBarAndTheFourDefaultOptions)
{
    TSourceMemo memo;
    EXPECT_EQ(memo.ScrollBars(), core::ssVertical);
    EXPECT_NE(memo.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(memo.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_TRUE(memo.WordWrap());
    core::TSourceMemoOptions expected;
    expected.set(core::smoWrapCaret).set(core::smoInsertKeyActive).set(core::smoWideOverwriteCaret);
    expected.set(core::smoAutoScrollBars);
    EXPECT_EQ(memo.Options(), expected);
    EXPECT_EQ(memo.font().family(), "Arial");
    EXPECT_EQ(memo.size(), QSize(100, 60));
    EXPECT_EQ(memo.Separators(), "\t\n\r $%&,./:;<=>");
    EXPECT_EQ(memo.LeftMargin(), 8);
    EXPECT_EQ(memo.RightMargin(), 8);
    EXPECT_EQ(memo.CaretWidth(), 1);
    EXPECT_EQ(memo.UpdateMode(), core::umBackground);
    EXPECT_EQ(memo.UndoMaxLevel(), 65536);
    EXPECT_EQ(memo.UndoMaxSpace(), 4194304);
    EXPECT_EQ(memo.EndOfTextMark().Color, core::clRed);
    EXPECT_EQ(memo.RightLinePen().Style, Qt::DotLine);
    EXPECT_EQ(memo.MouseWheelFactor(), -1);
    EXPECT_TRUE(memo.HideSelection());
    EXPECT_TRUE(memo.ShowEndParSelected());
    EXPECT_TRUE(memo.PassOverCodes());
    EXPECT_EQ(memo.TextLength(), 0);
    EXPECT_EQ(memo.ParagraphCount(), 1);
}

TEST(SourceMemoDefaults, AssigningVersionChangesNothing)
{
    TSourceMemo memo;
    const std::string before = memo.Version();
    EXPECT_FALSE(before.empty());
    memo.setVersion("something else");
    EXPECT_EQ(memo.Version(), before);
}

TEST_F(SourceMemoFixture, FontChangeResetsTheViewToTheTopAndNotifiesListeners)
{
    memo->SetTextBuf(manyLines(200).c_str());
    layout().scrollTo(10 * lineHeight(), 0, 0);
    ASSERT_GT(layout().geometry.vertOffset, 0);
    ASSERT_GT(memo->verticalScrollBar()->value(), 0);

    RecordingListener listener;
    memo->addChangeListener(&listener);
    int vscrolls = 0;
    memo->OnVScroll = [&](TSourceMemo &) { ++vscrolls; };
    QFont bigger = memo->font();
    bigger.setPixelSize(20);
    memo->setFont(bigger);

    EXPECT_EQ(layout().geometry.vertOffset, 0);
    EXPECT_EQ(layout().topLine(), 0);
    EXPECT_EQ(memo->verticalScrollBar()->value(), 0);
    EXPECT_TRUE(listener.saw(ncFontChanged));
    EXPECT_GE(vscrolls, 1);
    memo->removeChangeListener(&listener);
}

TEST_F(SourceMemoFixture, ScrollingNotifiesBothAxesAtOnceAndMovingTheBarScrollsTheView)
{
    memo->SetTextBuf(manyLines(100).c_str());
    RecordingListener listener;
    memo->addChangeListener(&listener);
    memo->verticalScrollBar()->setValue(5);
    EXPECT_EQ(layout().geometry.vertOffset, 5 * layout().verticalRange().unit);
    EXPECT_TRUE(listener.saw(ncVScroll));
    memo->removeChangeListener(&listener);
}

TEST_F(SourceMemoFixture, TypingGoesThroughTheMessageListenersWhichMayStopIt)
{
    RecordingListener listener;
    memo->addMessageListener(&listener);
    typeKey(*memo, Qt::Key_A, "a");
    EXPECT_EQ(memo->textRange(0, 10), "a");
    EXPECT_TRUE(listener.saw(ncBeforeMessage));
    EXPECT_TRUE(listener.saw(ncAfterMessage));
    // The text change reaches message listeners as a message of its own.
    EXPECT_NE(std::find(listener.messagesSeen.begin(), listener.messagesSeen.end(), kChangedMessage),
              listener.messagesSeen.end());

    listener.action = [](TSourceMemo &m, TsmNotifyCodes codes) {
        if ((codes & ncBeforeMessage) && m.message().Msg == QEvent::KeyPress)
            m.message().Result = kStopMessage;
    };
    typeKey(*memo, Qt::Key_B, "b");
    EXPECT_EQ(memo->textRange(0, 10), "a");

    // Other answers do not stop it.
    listener.action = [](TSourceMemo &m, TsmNotifyCodes codes) {
        if (codes & ncBeforeMessage)
            m.message().Result = 126;
    };
    typeKey(*memo, Qt::Key_C, "c");
    EXPECT_EQ(memo->textRange(0, 10), "ac");
    memo->removeMessageListener(&listener);
}

TEST_F(SourceMemoFixture, TypedCharactersBecomeBytesOfTheFontsCodePage)
{
    typeKey(*memo, Qt::Key_unknown, QString(QChar(0x0436))); // Cyrillic zhe
    EXPECT_EQ(memo->textRange(0, 10), "\xE6");
    memo->setFontCharset(core::kOemCharset);
    typeKey(*memo, Qt::Key_unknown, QString(QChar(0x0436)));
    EXPECT_EQ(memo->textRange(0, 10), "\xE6\xA6");
    memo->setReadOnly(true);
    typeKey(*memo, Qt::Key_X, "x");
    EXPECT_EQ(memo->TextLength(), 2);
}

TEST_F(SourceMemoFixture, ChangeListenersHearTextChangesAndMayLeaveDuringANotification)
{
    RecordingListener first;
    RecordingListener second;
    first.action = [&](TSourceMemo &m, TsmNotifyCodes) { m.removeChangeListener(&second); };
    memo->addChangeListener(&first);
    memo->addChangeListener(&second);
    int changes = 0;
    memo->OnChange = [&](core::TSourceMemoCore &) { ++changes; };
    memo->SetSelTextBuf("x");
    EXPECT_TRUE(first.saw(ncTextChanged));
    EXPECT_TRUE(second.codesSeen.empty());
    EXPECT_EQ(changes, 1);
    memo->SetSelTextBuf("y");
    EXPECT_TRUE(second.codesSeen.empty());
    EXPECT_EQ(std::count_if(first.codesSeen.begin(), first.codesSeen.end(),
                            [](TsmNotifyCodes c) { return c & ncTextChanged; }),
              2);
    memo->removeChangeListener(&first);
}

TEST(SourceMemoLifeCycle, ControlDestroyedByAListenerWhileHandlingItsOwnMessage)
{
    auto *memo = new TSourceMemo;
    RecordingListener listener;
    bool destroyed = false;
    listener.action = [&](TSourceMemo &m, TsmNotifyCodes codes) {
        if ((codes & ncAfterMessage) && m.message().Msg == QEvent::KeyPress && !destroyed) {
            destroyed = true;
            delete &m;
        }
    };
    memo->addMessageListener(&listener);
    typeKey(*memo, Qt::Key_A, "a");
    EXPECT_TRUE(destroyed);
    // A new control at the same address is handled normally.
    TSourceMemo other;
    typeKey(other, Qt::Key_B, "b");
    EXPECT_EQ(other.textRange(0, 5), "b");
}

TEST_F(SourceMemoFixture, EditCommandQueriesFollowSelectionAndModes)
{
    EXPECT_FALSE(memo->canCut());
    EXPECT_FALSE(memo->canCopy());
    EXPECT_FALSE(memo->canSelectAll());
    EXPECT_TRUE(memo->canPaste());
    memo->SetTextBuf("mov ax, 1");
    memo->selectAllCommand();
    EXPECT_TRUE(memo->canCut());
    EXPECT_TRUE(memo->canDelete());
    memo->setReadOnly(true);
    EXPECT_FALSE(memo->canCut());
    EXPECT_FALSE(memo->canDelete());
    EXPECT_FALSE(memo->canPaste());
    EXPECT_TRUE(memo->canCopy());
    memo->setDisplayOnly(true);
    EXPECT_FALSE(memo->canCopy());
    EXPECT_FALSE(memo->canSelectAll());
    memo->setReadOnly(false);
    memo->setDisplayOnly(false);

    memo->copyCommand();
    memo->setSelStart(memo->TextLength());
    memo->pasteCommand();
    EXPECT_EQ(memo->textRange(0, 100), "mov ax, 1mov ax, 1");
    EXPECT_TRUE(memo->canUndo());
    memo->undoCommand();
    EXPECT_EQ(memo->textRange(0, 100), "mov ax, 1");
    memo->redoCommand();
    memo->selectAllCommand();
    memo->deleteCommand();
    EXPECT_EQ(memo->TextLength(), 0);
}

TEST_F(SourceMemoFixture, PlacingTheCaretReportsMovesAndStyleChanges)
{
    memo->Keywords().AddKeyword("mov", core::kOptWholeWords, core::kStyleBold, 1, 0, core::clNone, core::clNone);
    memo->SetTextBuf("mov ax");
    RecordingListener listener;
    memo->addChangeListener(&listener);
    int moves = 0;
    int styles = 0;
    memo->OnSelMove = [&](TSourceMemo &) { ++moves; };
    memo->OnStyleChange = [&](TSourceMemo &) { ++styles; };
    memo->setSelStart(1); // inside the bold keyword
    EXPECT_EQ(moves, 1);
    EXPECT_EQ(styles, 1);
    ASSERT_FALSE(listener.codesSeen.empty());
    EXPECT_EQ(listener.codesSeen.back(), static_cast<TsmNotifyCodes>(ncSelMoved | ncStyleChanged));
    memo->setSelStart(2); // same style
    EXPECT_EQ(moves, 2);
    EXPECT_EQ(styles, 1);
    EXPECT_EQ(listener.codesSeen.back(), static_cast<TsmNotifyCodes>(ncSelMoved));
    memo->setSelStart(2);
    EXPECT_EQ(moves, 2);
    memo->removeChangeListener(&listener);
}

TEST_F(SourceMemoFixture, CaretWidthZeroFollowsTheLineHeight)
{
    memo->setCaretWidth(0);
    EXPECT_EQ(memo->CaretWidth(), lineHeight() / 14 + 1);
    memo->setLineHeight(60);
    EXPECT_EQ(memo->CaretWidth(), 60 / 14 + 1);
    memo->setCaretWidth(3);
    memo->setLineHeight(90);
    EXPECT_EQ(memo->CaretWidth(), 3);
}

TEST_F(SourceMemoFixture, CaretIsShownOnlyWithFocusAndWideInOverwriteMode)
{
    memo->SetTextBuf("mmmm");
    memo->setSelStart(1);
    EXPECT_TRUE(memo->caretRect().isEmpty());
    memo->show();
    memo->activateWindow();
    memo->setFocus();
    QApplication::processEvents();
    if (!memo->hasFocus())
        GTEST_SKIP() << "the platform gives no focus";
    const QRect caret = memo->caretRect();
    EXPECT_EQ(caret.width(), 1);
    EXPECT_EQ(caret.height(), lineHeight());
    EXPECT_EQ(caret.left(), memo->LeftMargin() + memo->measurer().textWidth("m", 0));
    memo->setOverwrite(true);
    EXPECT_EQ(memo->caretRect().width(), memo->measurer().textWidth("m", 0));
    memo->setDisplayOnly(true);
    EXPECT_TRUE(memo->caretRect().isEmpty());
}

TEST_F(SourceMemoFixture, ScrollBarsAndBorderChangesRebuildTheView)
{
    memo->SetTextBuf(manyLines(100).c_str());
    layout().scrollTo(4 * lineHeight(), 0, 0);
    memo->setScrollBars(core::ssBoth);
    EXPECT_NE(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(layout().geometry.vertOffset, 0);
    memo->setScrollBars(core::ssNone);
    EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    memo->setBorderStyle(bsNone);
    EXPECT_EQ(memo->frameShape(), QFrame::NoFrame);
    core::TSourceMemoOptions options = memo->Options();
    options.reset(core::smoAutoScrollBars);
    memo->setScrollBars(core::ssVertical);
    memo->setOptions(options);
    EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST_F(SourceMemoFixture, CollapseHandlerIsToldOfAttachmentPaintsEveryLineAndMayGoFirst)
{
    memo->SetTextBuf("a\r\nb\r\nc");
    auto handler = std::make_unique<CountingCollapseHandler>();
    memo->setCollapseHandler(handler.get());
    EXPECT_EQ(handler->attachCalls, std::vector<bool>{true});
    shot();
    EXPECT_EQ(handler->paintedLines, 3);
    handler.reset();
    EXPECT_EQ(memo->CollapseHandler(), nullptr);
    shot();

    CountingCollapseHandler second;
    memo->setCollapseHandler(&second);
    memo->setCollapseHandler(nullptr);
    EXPECT_EQ(second.attachCalls, (std::vector<bool>{true, false}));
}

TEST_F(SourceMemoFixture, TabIsTypedWhileWantTabsElseItMovesTheFocus)
{
    typeKey(*memo, Qt::Key_Tab, "\t");
    EXPECT_EQ(memo->textRange(0, 5), "\t");
    memo->setWantTabs(false);
    typeKey(*memo, Qt::Key_Tab, "\t");
    EXPECT_EQ(memo->textRange(0, 5), "\t");
}

TEST_F(SourceMemoFixture, LinesShowDisplayLinesAndParagraphsTheParagraphs)
{
    memo->resize(120, 200);
    memo->Paragraphs().Assign(std::vector<std::string>{"mov ax, bx mov cx, dx mov si, di", "ret"});
    EXPECT_EQ(memo->Paragraphs().Count(), 2);
    EXPECT_EQ(memo->Paragraphs().Get(1), "ret");
    EXPECT_GT(memo->Lines().Count(), memo->Paragraphs().Count());
    EXPECT_EQ(memo->Lines().Get(memo->Lines().Count() - 1), "ret");
    // The lists read bytes; their wide forms follow the font's character set.
    memo->Paragraphs().Put(1, "\xE6");
    EXPECT_EQ(memo->Paragraphs().GetWide(1), std::u16string(1, char16_t(0x0436)));
    memo->setFontCharset(core::kOemCharset);
    EXPECT_EQ(memo->Paragraphs().GetWide(1), std::u16string(1, char16_t(0x0446)));
}

TEST_F(SourceMemoFixture, LoadsAndSavesThroughStreams)
{
    std::istringstream in("first\nsecond\r\nthird");
    memo->LoadFromStream(in);
    EXPECT_EQ(memo->ParagraphCount(), 3);
    EXPECT_EQ(memo->LineCount(), 3);
    std::ostringstream out;
    memo->SaveToStream(out);
    EXPECT_EQ(out.str(), "first\r\nsecond\r\nthird");
}

TEST_F(SourceMemoFixture, BackgroundFormattingLaysOutALargeTextInTimerSlices)
{
    memo->setUpdateMode(core::umBackground);
    memo->SetTextBuf(manyLines(20000).c_str());
    int ticks = 0;
    RecordingListener listener;
    listener.action = [&](TSourceMemo &m, TsmNotifyCodes codes) {
        if ((codes & ncBeforeMessage) && m.message().Msg == kBackgroundStepMessage)
            ++ticks;
    };
    memo->addMessageListener(&listener);
    for (int i = 0; i < 2000 && layout().schedule().hasWork(); ++i)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_FALSE(layout().schedule().hasWork());
    EXPECT_GT(ticks, 0);
    EXPECT_EQ(memo->LineCount(), 20001);
    memo->removeMessageListener(&listener);
}
