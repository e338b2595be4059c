// The paragraphs of the editor's text as a list of strings.
#include "editor/core/text/EditorErrors.h"
#include "editor/core/editing/SourceMemoCore.h"
#include "editor/core/editing/SourceMemoStrings.h"

namespace velmora::core
{

namespace
{

void checkParagraph(const TSourceMemoCore &memo, std::int32_t index)
{
    if (index < 0 || index >= memo.ParagraphCount())
        throw ERangeError(kListIndexOutOfBounds);
}

} // namespace

std::string TSourceParaStrings::Get(std::int32_t index)
{
    checkParagraph(memo(), index);
    return std::string(memo().paragraphs().textOf(index));
}

std::int32_t TSourceParaStrings::GetCount()
{
    const TParagraphsList &pars = memo().paragraphs();
    return pars.count() - (pars.lengthOf(pars.count() - 1) == 0 ? 1 : 0);
}

void TSourceParaStrings::Put(std::int32_t index, const std::string &text)
{
    if (index < 0)
        throw ERangeError(kListIndexOutOfBounds);
    memo().setParagraphText(index, text.c_str());
}

std::int32_t TSourceParaStrings::Add(const std::string &text)
{
    appendParagraph(text);
    return GetCount() - 1;
}

void TSourceParaStrings::Insert(std::int32_t index, const std::string &text)
{
    if (index < 0)
        throw ERangeError(kListIndexOutOfBounds);
    const TParagraphsList &pars = memo().paragraphs();
    if (index < pars.count())
        insertAt(pars.startOf(index), text + "\r\n");
    else
        insertAt(pars.marks().textLength(), "\r\n" + text);
}

void TSourceParaStrings::Delete(std::int32_t index)
{
    checkParagraph(memo(), index);
    const TParagraphsList &pars = memo().paragraphs();
    const bool last = index == pars.count() - 1;
    replaceRange(pars.startOf(index), pars.lengthOf(index) + (last ? 0 : 2), nullptr);
}

} // namespace velmora::core
