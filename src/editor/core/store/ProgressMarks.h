// ProgressMarks: a paragraph list's text totals and the marks of how far the work on its text
// has got: what changed since the view last took the changes, which paragraphs wait for layout,
// how far the start-stop highlighting is known to be right. The list, the editor, the layout
// engine and the highlighting write them only through the operations below.
#pragma once

#include <cstdint>

namespace velmora::core
{

class ProgressMarks
{
public:
    // Text totals: characters (a paragraph break counts two), lines, lines of shown paragraphs.
    std::int32_t textLength() const { return textLength_; }
    std::int32_t lineCount() const { return lineCount_; }
    std::int32_t visibleLineCount() const { return visibleLineCount_; }

    // The change range: paragraphs firstChangedPar .. lastChangedPar changed from display line
    // firstChangedLine on since the view last took the changes (lastChangedPar -1: none), and
    // pendingVisibleChange lines were added to the display before the view re-broke them.
    // editMark: the text changed (the change notification is due). layoutValid: the changed
    // paragraph's line records still hold where the edit did not reach, so the view may
    // re-break it from the changed line instead of from its start.
    bool editMark() const { return editMark_; }
    std::int32_t firstChangedLine() const { return firstChangedLine_; }
    std::int32_t firstChangedPar() const { return firstChangedPar_; }
    std::int32_t lastChangedPar() const { return lastChangedPar_; }
    std::int32_t pendingVisibleChange() const { return pendingVisibleChange_; }
    bool layoutValid() const { return layoutValid_; }

    // The layout queue: paragraphs firstUnformattedPar .. lastParToFormat wait for layout
    // (empty when the first is past the last or past the text).
    std::int32_t firstUnformattedPar() const { return firstUnformattedPar_; }
    std::int32_t lastParToFormat() const { return lastParToFormat_; }

    // The start-stop highlighting states are right up to this paragraph (-1: none).
    std::int32_t lastStartStopPar() const { return lastStartStopPar_; }

    // The marks of a text of `paragraphs` one-line paragraphs and `length` characters that has
    // just been loaded: all of it changed, none of it laid out or highlighted. reset(0, 0) is
    // the state of an empty list.
    void reset(std::int32_t paragraphs, std::int32_t length);

    // Totals.
    // An edit changed the text by chars, lines and shown lines; the shown lines are pending for
    // the view until it takes the changes.
    void addText(std::int32_t chars, std::int32_t lines, std::int32_t visibleLines);
    // Layout changed the number of lines (shown lines among them).
    void addLines(std::int32_t lines, std::int32_t visibleLines);

    // Change range.
    // An edit changes paragraphs p .. q from display line `line` on; paragraphs and endLine are
    // the paragraph count and the display line after the text, where an empty range starts. The
    // change notification is due, and the start-stop states from p on are no longer known to be
    // right.
    void markChanged(std::int32_t p, std::int32_t line, std::int32_t q, std::int32_t paragraphs, std::int32_t endLine);
    // A replace of paragraphs sPar .. ePar by breaks + 1 paragraphs (parChange more than before)
    // moves the end of the change range and the layout queue with the paragraphs after it.
    void paragraphsReplaced(std::int32_t sPar, std::int32_t ePar, std::int32_t breaks, std::int32_t parChange);
    void setLayoutValid(bool valid) { layoutValid_ = valid; }
    // The view has taken the changes of a text of `paragraphs` paragraphs: the range is empty
    // and nothing is pending.
    void changesTaken(std::int32_t paragraphs);
    // Whether the change notification was due; it no longer is.
    bool takeEditMark();
    // A load inside an update: the view takes the change of the line count later.
    void setPendingVisibleChange(std::int32_t lines) { pendingVisibleChange_ = lines; }

    // Layout queue.
    void queueFormatFrom(std::int32_t first);
    void queueFormatThrough(std::int32_t last);
    // Every paragraph of a text of `paragraphs` waits for layout again.
    void queueAllFormat(std::int32_t paragraphs);
    void setFirstUnformattedPar(std::int32_t par) { firstUnformattedPar_ = par; }

    // Start-stop highlighting.
    void startStopDoneThrough(std::int32_t par);
    // The states from par on are no longer known to be right.
    void startStopStaleFrom(std::int32_t par);

private:
    std::int32_t textLength_ = 0;
    std::int32_t lineCount_ = 0;
    std::int32_t visibleLineCount_ = 0;
    bool editMark_ = false;
    std::int32_t firstChangedLine_ = 0;
    std::int32_t firstChangedPar_ = 0;
    std::int32_t lastChangedPar_ = -1;
    std::int32_t pendingVisibleChange_ = 0;
    bool layoutValid_ = false;
    std::int32_t firstUnformattedPar_ = 0;
    std::int32_t lastParToFormat_ = -1;
    std::int32_t lastStartStopPar_ = -1;
};

} // namespace velmora::core
