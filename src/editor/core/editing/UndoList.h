// The undo list: records of the changes made, an undo position (records before it can be
// undone, records from it on redone), the total size and the two limits.
//
// A group is what one Undo takes back: a record made outside an update alone, or the adjacent
// records of one update block with the same group number. The limits trim whole groups, so
// that undoing and redoing everything that is left always gives a text the edits produced;
// and once an update block's group has been trimmed away while it grows, the rest of the
// block is not recorded either.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

namespace velmora::core
{

struct UndoRecord {
    std::int32_t start = 0;
    std::int32_t end = 0;   // start + length of the text the change inserted
    std::int32_t group = 0; // the update count at the time of the change
    // The outermost update block the change was made in; keeps separate blocks of the same
    // depth from being undone as one.
    std::uint64_t session = 0;
    std::string removed; // breaks as 13, 10

    // What the record counts against UndoMaxSpace: a 12-byte header, the text and its NUL.
    std::int64_t size() const { return 12 + static_cast<std::int64_t>(removed.size()) + 1; }
};

class TUndoList
{
public:
    static constexpr std::int32_t kMaxLevelLimit = 134217727;

    std::int32_t position() const { return position_; }
    void setPosition(std::int32_t p) { position_ = p; }
    std::int32_t count() const { return static_cast<std::int32_t>(records_.size()); }
    std::int64_t size() const { return size_; }
    UndoRecord &record(std::int32_t i) { return records_[static_cast<std::size_t>(i)]; }

    // Replaces a record's text, keeping the size total right.
    void setRemoved(std::int32_t i, std::string removed);
    void clear();
    // Deletes every record at or after the position.
    void dropRedo();
    // Appends after trimming to UndoMaxLevel, then trims to UndoMaxSpace. False when nothing
    // is left to undo afterwards (the change counts as not recorded).
    bool append(UndoRecord record);

    std::int32_t UndoMaxLevel() const { return maxLevel_; }
    // "Undo set too high" above kMaxLevelLimit; trims the list to n records.
    void setUndoMaxLevel(std::int32_t n);
    std::int32_t UndoMaxSpace() const { return maxSpace_; }
    void setUndoMaxSpace(std::int32_t n);

private:
    void deleteRecord(std::int32_t i);
    bool sameGroup(std::int32_t a, std::int32_t b);
    // Delete the group of the first record and the group of the last record.
    void deleteOldestGroup();
    void deleteNewestGroup();

    std::deque<UndoRecord> records_;
    std::int32_t position_ = 0;
    std::int64_t size_ = 0;
    std::int32_t maxLevel_ = 65536;
    std::int32_t maxSpace_ = 4194304;
    // The update block whose group was trimmed while it was the newest: its further records
    // are refused.
    std::uint64_t droppedSession_ = 0;
};

} // namespace velmora::core
