#include "editor/core/editing/UndoList.h"

#include "editor/core/text/EditorErrors.h"

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

bool TUndoList::sameGroup(std::int32_t a, std::int32_t b)
{
    const UndoRecord &ra = record(a);
    const UndoRecord &rb = record(b);
    return ra.group != 0 && ra.group == rb.group && ra.session == rb.session;
}

void TUndoList::deleteOldestGroup()
{
    std::int32_t n = 1;
    while (n < count() && sameGroup(0, n))
        ++n;
    if (n == count() && record(0).group != 0)
        droppedSession_ = record(0).session;
    while (n-- > 0)
        deleteRecord(0);
}

void TUndoList::deleteNewestGroup()
{
    const std::int32_t last = count() - 1;
    std::int32_t first = last;
    while (first > 0 && sameGroup(last, first - 1))
        --first;
    while (count() > first)
        deleteRecord(count() - 1);
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
    droppedSession_ = 0;
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
            deleteOldestGroup();
    // The group this record would join is gone: recording it would leave half a group.
    if (record.group != 0 && record.session == droppedSession_)
        return false;
    size_ += record.size();
    records_.push_back(std::move(record));
    ++position_;
    if (maxSpace_ > 0) {
        while (size_ > maxSpace_ && count() > position_)
            deleteNewestGroup();
        while (size_ > maxSpace_ && position_ > 0)
            deleteOldestGroup();
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
            deleteNewestGroup();
        while (n < position_)
            deleteOldestGroup();
    }
    maxLevel_ = n;
}

void TUndoList::setUndoMaxSpace(std::int32_t n)
{
    if (n > 0) {
        while (position_ < count() && n < size_)
            deleteNewestGroup();
        while (n < size_ && count() > 0)
            deleteOldestGroup();
    }
    maxSpace_ = n;
}

} // namespace velmora::core
