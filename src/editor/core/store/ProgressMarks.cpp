#include "editor/core/store/ProgressMarks.h"

#include <algorithm>
#include <utility>

namespace velmora::core
{

void ProgressMarks::reset(std::int32_t paragraphs, std::int32_t length)
{
    textLength_ = length;
    lineCount_ = paragraphs;
    visibleLineCount_ = paragraphs;
    editMark_ = false;
    firstChangedLine_ = 0;
    firstChangedPar_ = 0;
    lastChangedPar_ = paragraphs - 1;
    pendingVisibleChange_ = 0;
    layoutValid_ = false;
    firstUnformattedPar_ = 0;
    lastParToFormat_ = paragraphs - 1;
    lastStartStopPar_ = -1;
}

void ProgressMarks::addText(std::int32_t chars, std::int32_t lines, std::int32_t visibleLines)
{
    textLength_ += chars;
    addLines(lines, visibleLines);
    pendingVisibleChange_ += visibleLines;
}

void ProgressMarks::addLines(std::int32_t lines, std::int32_t visibleLines)
{
    lineCount_ += lines;
    visibleLineCount_ += visibleLines;
}

void ProgressMarks::markChanged(std::int32_t p, std::int32_t line, std::int32_t q, std::int32_t paragraphs,
                                std::int32_t endLine)
{
    editMark_ = true;
    if (lastChangedPar_ == -1) {
        firstChangedPar_ = paragraphs;
        firstChangedLine_ = endLine;
    }
    if (firstChangedPar_ >= p) {
        firstChangedPar_ = p;
        firstChangedLine_ = std::min(firstChangedLine_, line);
    }
    lastChangedPar_ = std::max(lastChangedPar_, q);
    startStopStaleFrom(p);
    layoutValid_ = false;
}

void ProgressMarks::paragraphsReplaced(std::int32_t sPar, std::int32_t ePar, std::int32_t breaks,
                                       std::int32_t parChange)
{
    lastChangedPar_ += parChange;
    if (parChange == 0 && breaks == 0)
        return;
    if (sPar < firstUnformattedPar_)
        firstUnformattedPar_ = ePar < firstUnformattedPar_ ? firstUnformattedPar_ + parChange : sPar;
    if (sPar < lastParToFormat_ && ePar < lastParToFormat_)
        lastParToFormat_ += parChange;
    else
        lastParToFormat_ = sPar + breaks;
}

void ProgressMarks::changesTaken(std::int32_t paragraphs)
{
    firstChangedPar_ = paragraphs;
    lastChangedPar_ = -1;
    firstChangedLine_ = lineCount_;
    pendingVisibleChange_ = 0;
}

bool ProgressMarks::takeEditMark()
{
    return std::exchange(editMark_, false);
}

void ProgressMarks::queueFormatFrom(std::int32_t first)
{
    firstUnformattedPar_ = std::min(firstUnformattedPar_, first);
}

void ProgressMarks::queueFormatThrough(std::int32_t last)
{
    lastParToFormat_ = std::max(lastParToFormat_, last);
}

void ProgressMarks::queueAllFormat(std::int32_t paragraphs)
{
    firstUnformattedPar_ = 0;
    lastParToFormat_ = paragraphs - 1;
}

void ProgressMarks::startStopDoneThrough(std::int32_t par)
{
    lastStartStopPar_ = std::max(lastStartStopPar_, par);
}

void ProgressMarks::startStopStaleFrom(std::int32_t par)
{
    lastStartStopPar_ = std::min(lastStartStopPar_, par - 1);
}

} // namespace velmora::core
