#include "editor/core/UndoList.h"

#include "editor/core/EditorErrors.h"

#include <algorithm>

namespace velmora::core
{

void TUndoList::deleteRecord(std::int32_t i)
{
    size_ -= record(i).size();
    if (i < position_)
        --position_;
    records_.erase(records_.begin() + i);
}

void TUndoList::setRemoved(std::int32_t i, std::string removed)
{
    UndoRecord &r = record(i);
    size_ -= r.size();
    r.removed = std::move(removed);
    size_ += r.size();
}

void TUndoList::clear()
{
    records_.clear();
    position_ = 0;
    size_ = 0;
}

void TUndoList::dropRedo()
{
    while (count() > position_)
        deleteRecord(count() - 1);
}

bool TUndoList::append(UndoRecord record)
{
    if (maxLevel_ > 0)
        while (position_ > maxLevel_)
            deleteRecord(0);
    size_ += record.size();
    records_.push_back(std::move(record));
    ++position_;
    if (maxSpace_ > 0) {
        while (size_ > maxSpace_ && count() > position_)
            deleteRecord(count() - 1);
        while (size_ > maxSpace_ && position_ > 0)
            deleteRecord(0);
    }
    return position_ > 0;
}

void TUndoList::setUndoMaxLevel(std::int32_t n)
{
    if (n > kMaxLevelLimit)
        throw EListError(kUndoSetTooHigh);
    if (n >= 0) {
        const std::int32_t keep = std::max(position_, n);
        while (count() > keep)
            deleteRecord(count() - 1);
        while (n < position_)
            deleteRecord(0);
    }
    maxLevel_ = n;
}

void TUndoList::setUndoMaxSpace(std::int32_t n)
{
    if (n > 0) {
        while (position_ < count() && n < size_)
            deleteRecord(count() - 1);
        while (n < size_ && count() > 0)
            deleteRecord(0);
    }
    maxSpace_ = n;
}

} // namespace velmora::core
