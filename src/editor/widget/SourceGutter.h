// TSourceGutter: the strip beside a TSourceMemo that shows, for each display line of the memo,
// its line or paragraph number, a bookmark icon, or what its owner draws, in rows that line up
// with the memo's lines on screen. It keeps ten numbered bookmarks (0-9) and any number of
// breakpoints as navigators in the memo's text, so that they move with every edit, marks the
// execution line with an arrow (and the memo with a band), and follows the memo through its
// listener lists: paints and key-down messages after the memo handled them (the bookmark hot
// keys Ctrl+Shift+digit and Ctrl+digit), text changes, vertical scrolling and font changes.
// Breakpoints are in SourceGutterBreakpoints.cpp, painting is in SourceGutterPaint.cpp.
#pragma once

#include "editor/core/store/SourceMemoOptions.h"
#include "editor/widget/SourceMemoTypes.h"

#include <QImage>
#include <QMetaObject>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QPainter;

namespace velmora::core
{
class TSourceNavigator;
}

namespace velmora::widget
{

class TBookmarkIcons;

inline constexpr std::int32_t clBtnFace = static_cast<std::int32_t>(0xFF00000F);
inline constexpr std::int32_t clBtnShadow = static_cast<std::int32_t>(0xFF000010);
inline constexpr std::int32_t clBtnHighlight = static_cast<std::int32_t>(0xFF000014);
// The breakpoint circle, the execution arrow (filled, outlined) and the memo's execution band.
inline constexpr std::int32_t clBreakpoint = 0x0000E0;
inline constexpr std::int32_t clExecutionArrow = 0x00E0FF;
inline constexpr std::int32_t clExecutionArrowEdge = 0x008000;
inline constexpr std::int32_t clExecutionBand = 0xA0FFE0;

class TSourceGutter : public QWidget, private IsmMemoListener
{
public:
    static constexpr std::int32_t kBookmarkCount = 10;

    // Owner drawing of one row: text and graphic carry what the previous row of the same paint
    // left in them; the text is drawn at the row's baseline, a non-null graphic at its top left.
    using TsgDrawItemEvent =
        std::function<void(TSourceGutter &sender, std::int32_t lineIndex, QString &text, QImage &graphic)>;

    explicit TSourceGutter(QWidget *parent = nullptr);
    ~TSourceGutter() override;

    // ---- Published properties (setters do nothing for an unchanged value)
    TSourceMemo *SourceMemo() const { return memo_; }
    // Frees all bookmarks and moves the gutter's listener to the new memo.
    void setSourceMemo(TSourceMemo *memo);
    bool LineNumbers() const { return lineNumbers_; }
    void setLineNumbers(bool on) { setAndRepaint(lineNumbers_, on); }
    // Wins over LineNumbers.
    bool ParagraphNumbers() const { return paragraphNumbers_; }
    void setParagraphNumbers(bool on) { setAndRepaint(paragraphNumbers_, on); }
    core::TAlignment Alignment() const { return alignment_; }
    void setAlignment(core::TAlignment a) { setAndRepaint(alignment_, a); }
    // The digit hot keys set and jump to bookmarks.
    bool Bookmarks() const { return bookmarks_; }
    void setBookmarks(bool on) { bookmarks_ = on; }
    // On: bookmarks keep their exact position. Off: they sit at line starts and are deleted
    // with their text.
    bool KeepBookmarks() const { return keepBookmarks_; }
    void setKeepBookmarks(bool on);
    // Count lines and paragraphs as the memo's Lines and Paragraphs lists do (without an empty
    // last line).
    bool IgnoreLastLineIfEmpty() const { return ignoreLastLineIfEmpty_; }
    void setIgnoreLastLineIfEmpty(bool on);
    std::int32_t Color() const { return color_; }
    void setColor(std::int32_t colour) { setAndRepaint(color_, colour); }
    TsgDrawItemEvent OnDrawItem;
    // On: a left click toggles the breakpoint of the clicked row (before OnClick), and the strip
    // for the breakpoint and execution marks is kept even while none is shown.
    bool Breakpoints() const { return breakpointsOn_; }
    void setBreakpoints(bool on) { setAndRepaint(breakpointsOn_, on); }
    // A left button pressed and released over the gutter; a double click. The other mouse
    // events are Qt's own.
    std::function<void(TSourceGutter &)> OnClick;
    std::function<void(TSourceGutter &)> OnDblClick;

    // ---- Bookmarks; numbers outside 0-9, negative lines and calls without a memo are ignored.
    // Removes bookmark number from line when it is there; else, when no bookmark is on the
    // line, sets it at the line's start. Returns whether something changed.
    virtual bool ToggleBookmark(std::int32_t line, std::int32_t number);
    // Sets bookmark number at a text offset (at its line start while KeepBookmarks is off).
    virtual void SetBookmark(std::int32_t offset, std::int32_t number);
    // The line of the bookmark, -1 for an empty slot.
    std::int32_t BookmarkLine(std::int32_t number) const;
    // The lowest bookmark number on a display line, -1 for none.
    std::int32_t BookmarkAt(std::int32_t line) const;
    void ClearBookmarks();

    // ---- Breakpoints: at most one per paragraph, kept at the paragraph's start. They follow
    // their text through edits, are deleted with the text at their paragraph's start and merge
    // when two paragraphs become one. Paragraphs are 0-based (source line - 1); a line is a
    // display line as BookmarkAt takes it, any row of a wrapped paragraph standing for it.
    // Sets a breakpoint on the paragraph shown on line, or removes the one there; false for a
    // line outside the text or without a memo.
    bool ToggleBreakpoint(std::int32_t line);
    bool HasBreakpoint(std::int32_t line) const;
    // The paragraphs holding breakpoints, ascending.
    std::vector<std::int32_t> BreakpointLines() const;
    // Replaces all breakpoints; paragraphs outside the text are skipped.
    void SetBreakpointLines(const std::vector<std::int32_t> &paragraphs);
    void ClearBreakpoints();
    // Called whenever BreakpointLines changed: by the calls above, a click or an edit. Breakpoints
    // freed with the memo (or when the gutter moves to another memo) are not reported.
    std::function<void(TSourceGutter &)> OnBreakpointsChanged;

    // ---- The execution line: a paragraph (-1: none) marked by an arrow on its first row and,
    // in the memo, by a band of ExecutionBand (clExecutionBand unless set) behind all its rows.
    // It stays at that paragraph number through edits and scrolls nothing.
    std::int32_t ExecutionLine() const { return executionLine_; }
    void SetExecutionLine(std::int32_t paragraph);
    std::int32_t ExecutionBand() const { return executionBand_; }
    void SetExecutionBand(std::int32_t colour);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void notify(TSourceMemo &sender, TsmNotifyCodes codes) override;
    void afterMessage();
    bool eventFilter(QObject *watched, QEvent *event) override;
    void digitKey(int digit, Qt::KeyboardModifiers shift);
    void textChanged();
    void scrolled();
    void attach();
    void detach();
    // After an edit: every breakpoint back at its paragraph's start, one per paragraph.
    void settleBreakpoints();
    void addBreakpoint(std::int32_t paragraph);
    // The breakpoint on paragraph, or null.
    core::TSourceNavigator *breakpointAt(std::int32_t paragraph) const;
    void freeBreakpoints();
    // Calls OnBreakpointsChanged when BreakpointLines differs from what was reported last.
    void reportBreakpoints();
    // The first rows of the breakpoints' paragraphs, ascending; the execution line's, -1 for none.
    std::vector<std::int32_t> breakpointRows() const;
    std::int32_t executionRow() const;
    // The paragraph shown on a display line, -1 outside the text.
    std::int32_t paragraphOfLine(std::int32_t line) const;
    // How far the gutter's top stands below the memo's viewport top; the display line at y.
    std::int32_t rowShift() const;
    std::int32_t lineAt(std::int32_t y) const;
    // The breakpoint and execution marks' size, and the width of the strip left of the
    // numbers and icons that holds them (0 while it is not needed).
    std::int32_t markSize() const;
    std::int32_t markStripWidth() const;
    void paintMarks(QPainter &painter, std::int32_t top, bool breakpoint, bool execution) const;
    void freeBookmark(std::int32_t number);
    core::TSourceNavigator &bookmark(std::int32_t number);
    // Line start while KeepBookmarks is off; refreshes the at-line-start flag.
    void placeBookmark(core::TSourceNavigator &nav);
    void rememberCounts();
    std::int32_t lineCount() const;
    std::int32_t paragraphCount() const;
    std::int32_t vertOffset() const;
    std::array<std::int32_t, kBookmarkCount> bookmarkLines() const;
    // x of an item of width w by Alignment within the text area width.
    std::int32_t alignedX(std::int32_t w) const;
    template <typename T> void setAndRepaint(T &field, T value)
    {
        if (field == value)
            return;
        field = value;
        update();
    }

    TSourceMemo *memo_ = nullptr;
    QMetaObject::Connection memoDestroyed_;
    std::array<core::TSourceNavigator *, kBookmarkCount> slots_{};
    std::vector<core::TSourceNavigator *> breakpoints_;
    std::vector<std::int32_t> reportedBreakpoints_;
    std::int32_t executionLine_ = -1;
    std::int32_t executionBand_ = clExecutionBand;
    std::shared_ptr<const TBookmarkIcons> icons_;

    bool lineNumbers_ = true;
    bool paragraphNumbers_ = false;
    core::TAlignment alignment_ = core::taCenter;
    bool bookmarks_ = true;
    bool breakpointsOn_ = false;
    bool keepBookmarks_ = true;
    bool ignoreLastLineIfEmpty_ = false;
    std::int32_t color_ = clBtnFace;

    // Remembered for change detection.
    std::int32_t vertOffset_ = 0;
    std::int32_t lineCount_ = 0;
    std::int32_t paragraphCount_ = 0;
    std::int32_t clientLines_ = 0;
    bool wordWrap_ = false;
    std::array<std::int32_t, kBookmarkCount> paintedLines_{};
    std::vector<std::int32_t> paintedBreakpoints_;
    std::int32_t paintedExecution_ = -1;
    bool leftPressed_ = false;
    // The digit (-1: none) and shift state of the key press the memo is handling.
    int pendingDigit_ = -1;
    Qt::KeyboardModifiers pendingShift_;
};

} // namespace velmora::widget
