// The display lines of the editor's text as a list of strings (the editor's Lines).
#include "editor/core/text/EditorErrors.h"
#include "editor/core/editing/SourceMemoCore.h"
#include "editor/core/editing/SourceMemoStrings.h"

namespace velmora::core
{

std::string TSourceLinesStrings::Get(std::int32_t index)
{
    if (index < 0)
        return {};
    TSourceNavigator nav(&memo());
    if (memo().WordWrap()) {
        if (index >= lineCountThrough(index))
            return {};
        nav.setLineNumber(index);
    } else {
        if (index >= memo().ParagraphCount())
            throw ERangeError(kListIndexOutOfBounds);
        memo().view().layOutParagraph(index);
        nav.setParNumber(index);
    }
    return std::string(nav.lineText());
}

std::int32_t TSourceLinesStrings::GetCount()
{
    const TParagraphsList &pars = memo().paragraphs();
    const ParInfo *last = pars.par(pars.count() - 1);
    const LineInfo lastLine = last->lineInfo(last->lineCount() - 1);
    return pars.marks().lineCount() - (lastLine.nextLineStart == lastLine.lineStart ? 1 : 0);
}

void TSourceLinesStrings::Put(std::int32_t index, const std::string &text)
{
    if (index < 0 || index >= lineCountThrough(index))
        return;
    const LineSpan line = lineSpan(index);
    replaceRange(line.start, line.length, text.c_str());
    scrollCaretIntoView();
}

std::int32_t TSourceLinesStrings::Add(const std::string &text)
{
    memo().setSelLength(0);
    appendParagraph(text);
    memo().setSelStart(memo().TextLength());
    scrollCaretIntoView();
    return GetCount() - 1;
}

void TSourceLinesStrings::Insert(std::int32_t index, const std::string &text)
{
    if (index < 0)
        return;
    const std::int32_t lines = lineCountThrough(index);
    if (index > lines)
        return;
    if (index < lines)
        insertAt(lineSpan(index).start, text + "\r\n");
    else
        insertAt(memo().TextLength(), "\r\n" + text);
    scrollCaretIntoView();
}

void TSourceLinesStrings::Delete(std::int32_t index)
{
    if (index < 0)
        return;
    lineCountThrough(index);
    if (index >= GetCount())
        return;
    const LineSpan line = lineSpan(index);
    const bool withBreak = line.endsParagraph && !line.lastParagraph;
    replaceRange(line.start, line.length + (withBreak ? 2 : 0), nullptr);
    scrollCaretIntoView();
}

std::int32_t TSourceLinesStrings::lineCountThrough(std::int32_t index)
{
    memo().view().layOutUpToLine(index);
    return memo().LineCount();
}

TSourceLinesStrings::LineSpan TSourceLinesStrings::lineSpan(std::int32_t index)
{
    TSourceNavigator nav(&memo());
    nav.setLineNumber(index);
    LineSpan span;
    span.start = nav.Pos();
    span.length = static_cast<std::int32_t>(nav.lineText().size());
    span.endsParagraph = nav.ParOffset() + span.length == nav.paragraph()->length();
    span.lastParagraph = nav.ParNumber() == memo().ParagraphCount() - 1;
    return span;
}

void TSourceLinesStrings::scrollCaretIntoView()
{
    memo().view().scrollCaretIntoView(memo().origin());
}

} // namespace velmora::core
