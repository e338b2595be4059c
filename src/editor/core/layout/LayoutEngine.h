// TLayoutEngine: the display lines of one editor and the view that shows them.
//
// It breaks paragraphs into display lines (TLineBreaker), keeps the store's line totals and
// first-line numbers in step after every paragraph it lays out, holds the view's geometry
// (client size, scroll offsets, top line) and metrics, computes the scroll ranges and scrolls.
// Layout runs at once, on demand or in background slices by the schedule's UpdateMode.
// Invariant: after every call the store's totals and first lines agree with its line lists,
// whether or not each paragraph's lines are up to date (flag pfLinesValid).
#pragma once

#include "editor/core/layout/FormatSchedule.h"
#include "editor/core/layout/LayoutWindow.h"
#include "editor/core/layout/LineBreaker.h"
#include "editor/core/layout/LineWidths.h"
#include "editor/core/editing/SourceMemoCore.h"
#include "editor/core/layout/TextMeasurer.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace velmora::core
{

enum TScrollStyle : std::uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };

// The view's geometry, in pixels.
struct TViewGeometry {
    std::int32_t clientWidth = 0;
    std::int32_t clientHeight = 0;
    std::int32_t vertOffset = 0; // of the window's top edge in the document
    std::int32_t horzOffset = 0; // of the window's left edge
    std::int32_t caretX = 0;     // the caret's cached window position
    std::int32_t caretY = 0;
};

// One step of an animated scroll over distance pixels of which moved are done, elapsed ms after
// it began, lasting time ms (negative: linear, positive: decelerating). At least one pixel
// towards the goal, never past it; 0 once there.
std::int64_t scrollAnimationStep(std::int64_t distance, std::int64_t moved, std::int64_t elapsed, std::int32_t time);

class TLayoutEngine
{
public:
    // Attaches two navigators to memo; the layout must go before the editor does.
    TLayoutEngine(TSourceMemoCore &memo, TTextMeasurer &measurer);
    ~TLayoutEngine();
    TLayoutEngine(const TLayoutEngine &) = delete;
    TLayoutEngine &operator=(const TLayoutEngine &) = delete;

    TSourceMemoCore &memo() { return memo_; }
    TParagraphsList &paragraphs() { return memo_.paragraphs(); }
    TLineBreaker &breaker() { return breaker_; }
    TFormatSchedule &schedule() { return schedule_; }
    void setWindow(TLayoutWindow *window) { window_ = window ? window : &silentWindow_; }
    TLayoutWindow &window() { return *window_; }

    // The window exists from here on: metrics, geometry, layout by UpdateMode.
    void createHandle(std::int32_t clientWidth, std::int32_t clientHeight);
    bool HandleAllocated() const { return handle_; }

    // Brings the highlighting of a paragraph up to date before it is laid out: the start-stop
    // scan up to it and the keyword pass over it. Called for a paragraph whose flag
    // pfKeywordsDone is clear or that the start-stop scan has not reached; unset, nothing is
    // highlighted.
    std::function<void(std::int32_t par)> HighlightParagraph;

    // ---- Properties (setters do nothing for an unchanged value, else re-lay out and repaint)
    bool WordWrap() const { return memo_.WordWrap(); }
    void setWordWrap(bool on);
    TAlignment Alignment() const { return memo_.Alignment(); }
    void setAlignment(TAlignment a);
    std::int32_t TabStops() const { return memo_.TabStops(); }
    void setTabStops(std::int32_t n);
    std::int32_t ColumnWrap() const { return columnWrap_; }
    void setColumnWrap(std::int32_t n);
    const std::string &WordWrapChars() const { return breaker_.rules.wordWrapChars; }
    void setWordWrapChars(const std::string &chars);
    std::int32_t LeftMargin() const { return leftMargin_; }
    void setLeftMargin(std::int32_t px);
    std::int32_t RightMargin() const { return rightMargin_; }
    void setRightMargin(std::int32_t px);
    // 0 or negative: automatic (font height + 1); at most 65535.
    std::int32_t LineHeight() const { return lineHeightProperty_; }
    void setLineHeight(std::int32_t h);
    bool Justified() const { return justified_; }
    void setJustified(bool on);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void setScrollBars(TScrollStyle s);
    // Duration of animated scrolling in ms: negative linear, positive decelerating, 0 at once.
    std::int32_t ScrollTime = 300;
    // Set by the control while it scrolls repeatedly (auto-scroll, held keys): scrolls that
    // follow each other within 201 ms are not animated.
    bool repeatedScrolling = false;
    // The font changed (Font's metrics or style bits): new metrics, full re-layout, view to top.
    void fontChanged(std::uint8_t fontStyle);
    void altFontChanged();

    // ---- Metrics
    std::int32_t lineHeight() const { return lineHeight_; }
    std::int32_t baseline() const { return baseline_; }
    std::int32_t textBottom() const { return textBottom_; }
    // Where the special underline of a pen of this width is drawn, and its amplitude.
    std::int32_t specialUnderlineAmplitude(std::int32_t penWidth) const { return penWidth * 3 / 2 + 1; }
    std::int32_t specialUnderlineY(std::int32_t penWidth) const;
    std::int32_t blankWidth() const { return breaker_.rules.blankWidth; }
    std::int32_t measuringChunk() const { return breaker_.rules.chunk; }
    std::uint8_t fontStyle() const { return breaker_.rules.fontStyle; }
    // Display lines that fit the window, plus one.
    std::int32_t visibleLineCount() const { return clientLines_; }
    void recomputeMetrics();

    // ---- Geometry
    TViewGeometry geometry;
    std::int32_t textAreaWidth() const { return geometry.clientWidth; }
    std::int32_t topLine() const;
    // The window's new client size (after the inherited resize).
    void resize(std::int32_t clientWidth, std::int32_t clientHeight);

    // ---- Layout
    // Wrap width of a paragraph: pixels, or characters when ColumnWrap > 0; at least 1.
    std::int32_t wrapWidth(const ParInfo &par) const;
    bool columnMode() const { return columnWrap_ > 0; }
    // Forgets every line width and lays out, queues or marks every paragraph by UpdateMode.
    void relayoutAll();
    // The text was replaced as a whole: re-lay it out by UpdateMode (not inside an update).
    void textReplaced();
    // A load replaced the text: the view goes to the top, and with layOut the text is laid out.
    void textLoaded(bool layOut);
    // The view refresh that ends every edit: re-breaks the recorded changed range as far as
    // the window shows it, keeps the top line, scrolls, repaints and queues the rest.
    void refreshAfterEdit();
    // An edit is about to change paragraphs first .. last: their lines leave the widths.
    void paragraphsTouched(std::int32_t first, std::int32_t last);
    // The edit left paragraphs first .. last in their place: their lines join the widths.
    void paragraphsReplaced(std::int32_t first, std::int32_t last);
    // Repaints the display lines from the one holding position from to the one holding to.
    void repaintBetween(std::int32_t from, std::int32_t to);
    // Lays out paragraph par if its lines are not up to date.
    void layOutParagraph(std::int32_t par);
    // Lays out queued paragraphs in order until display line line is laid out.
    void layOutUpToLine(std::int32_t line);
    // Formats paragraphs first .. last (clamped); onlyMissing skips those laid out already.
    // With progress and an OnProgress handler, progress is reported by ProgressInterval.
    void formatRange(std::int32_t first, std::int32_t last, bool progress, bool onlyMissing);
    // Formats the queued paragraphs, first unformatted through last to format, until none is left.
    void formatPending();

    // Breaks paragraph i from line fromLine (0: whole) and stores its lines, keeping the
    // store's totals and first lines in step. With earlyStopFrom >= 0 the old lines are kept
    // after a new line that ends beyond that offset where an old one ended, with the same
    // state after it (old lines starting after that offset must be right). Returns the change of its visible
    // line count.
    std::int32_t breakParagraph(std::int32_t i, std::int32_t fromLine, std::int32_t earlyStopFrom);
    // Changes whenever a paragraph is broken again or every one is queued for it, so that
    // widths remembered from an earlier layout can be told stale.
    std::uint64_t layoutStamp() const { return layoutStamp_; }
    // The view's bookkeeping after paragraphs first .. last were laid out: navigators there
    // drop their cached line, the top line stays, the scroll ranges follow.
    void afterLayout(std::int32_t first, std::int32_t last);

    // ---- Widest line and scrolling
    // The widest stored display line, in pixels.
    std::int32_t widestLine() const { return lineWidths_.widest(); }
    // Horizontal scrolling applies: word wrap off or ColumnWrap > 0.
    bool horizontalScrolling() const { return !WordWrap() || columnWrap_ > 0; }
    const TScrollRange &verticalRange() const { return vRange_; }
    const TScrollRange &horizontalRange() const { return hRange_; }
    // Returns whether the range changed.
    bool updateVerticalRange();
    void updateHorizontalRange();
    void updateScrollPositions();
    // Moves the view to the offsets, animated over time ms (see ScrollTime).
    void scrollTo(std::int32_t vertOffset, std::int32_t horzOffset, std::int32_t time);
    void scrollCaretIntoView(TSourceNavigator &caret);

private:
    void setMargin(std::int32_t &margin, std::int32_t px);
    // Sets every stored line's width to 0 (none is laid out for the current rules any more).
    void forgetLineWidths();
    void dropNavigatorLines(std::int32_t firstPar, std::int32_t lastPar);
    void keepTopLine(std::int32_t oldOffset);
    void updateRules();
    // Queues paragraphs first .. last for layout; applyRequeue() moves the first unformatted
    // paragraph back to them once the running pass is over.
    void requeue(std::int32_t first, std::int32_t last);
    void applyRequeue();
    bool laidOut(std::int32_t i) { return paragraphs().par(i)->flags & pfLinesValid; }

    TSourceMemoCore &memo_;
    TLineBreaker breaker_;
    TFormatSchedule schedule_;
    TLayoutWindow silentWindow_;
    TLayoutWindow *window_ = &silentWindow_;
    TSourceNavigator *top_;     // first character of the top line
    TSourceNavigator *scratch_; // private conversions

    bool handle_ = false;
    std::int32_t columnWrap_ = 0;
    std::int32_t leftMargin_ = 8;
    std::int32_t rightMargin_ = 8;
    std::int32_t lineHeightProperty_ = 0;
    bool justified_ = false;
    TScrollStyle scrollBars_ = ssVertical;

    std::int32_t lineHeight_ = 1;
    std::int32_t baseline_ = 0;
    std::int32_t textBottom_ = 0;
    std::int32_t clientLines_ = 1;

    TLineWidths lineWidths_;
    // breakParagraph's lines before and after, kept so that laying out allocates only now and then.
    std::vector<LineInfo> oldLines_;
    std::vector<LineInfo> freshLines_;

    std::int32_t requeueFrom_ = INT32_MAX;
    std::uint64_t layoutStamp_ = 0;

    TScrollRange vRange_;
    TScrollRange hRange_;
    bool settingRange_ = false;
    std::uint32_t lastScrollEnd_ = 0;
};

} // namespace velmora::core
