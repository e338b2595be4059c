#include "editor/core/store/LinesList.h"

#include "editor/core/text/EditorErrors.h"

namespace velmora::core
{

LineInfo &TLinesList::item(std::int32_t i)
{
    if (i < 0 || i >= count())
        throw ERangeError(kListIndexOutOfBounds);
    if (!paragraph_->extended()) {
        scratch_ = paragraph_->lineInfo(0);
        return scratch_;
    }
    ParExtraInfo &x = *paragraph_->data.extra;
    return i == 0 ? x.firstLine : x.furtherLines[static_cast<std::size_t>(i - 1)];
}

void TLinesList::put(std::int32_t i, const LineInfo &source)
{
    if (i == 0)
        paragraph_->setFirstLineInfo(source);
    else
        item(i) = source;
}

} // namespace velmora::core
