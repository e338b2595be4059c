// TLinesList: a cursor over the display lines of one paragraph. A compact paragraph shows its
// one implicit line through a scratch record.
#pragma once

#include "editor/core/store/ParagraphRecord.h"

namespace velmora::core
{

class TLinesList
{
public:
    void setParagraph(ParInfo *paragraph) { paragraph_ = paragraph; }
    ParInfo *paragraph() const { return paragraph_; }

    // Line i; ERangeError "List index out of bounds" outside 0 .. count - 1. The reference
    // stays valid until the line list or the paragraph changes.
    LineInfo &item(std::int32_t i);
    std::int32_t count() const { return paragraph_->lineCount(); }
    void get(std::int32_t i, LineInfo &destination) { destination = item(i); }
    void put(std::int32_t i, const LineInfo &source);
    // n <= 0 counts as 1; a compact paragraph with one line stays compact.
    void setCount(std::int32_t n) { paragraph_->setLineCount(n); }

private:
    ParInfo *paragraph_ = nullptr;
    LineInfo scratch_;
};

} // namespace velmora::core
