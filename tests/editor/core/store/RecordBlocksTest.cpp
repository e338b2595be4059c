// The paragraph records' block structure: inserting and erasing records at and across block
// edges, splitting and merging blocks, and the lazily shifted starts and first lines, each
// checked against a plain vector model after every step.
#include "editor/core/store/ParagraphsList.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <vector>

using namespace velmora::core;

namespace
{

// The list with its record insert and erase open to the test.
class OpenList : public TParagraphsList
{
public:
    using TDynArray2::eraseRecords;
    using TDynArray2::insertRecords;
};

struct ModelRecord {
    std::intptr_t id;
    std::int32_t start;
    std::int32_t line;
};

class BlocksModel
{
public:
    explicit BlocksModel(unsigned seed = 1) : rng_(seed) {}

    std::int32_t perBlock() const { return list_.itemsPerBlock(); }
    std::int32_t size() const { return static_cast<std::int32_t>(model_.size()); }

    // n new records before index at, with ascending starts from the record before them.
    void insert(std::int32_t at, std::int32_t n)
    {
        list_.insertRecords(at, n);
        std::int32_t start = at > 0 ? model_[static_cast<std::size_t>(at - 1)].start + 1 : 0;
        std::vector<ModelRecord> added;
        for (std::int32_t i = 0; i < n; ++i) {
            const ModelRecord m{nextId_++, start++, at + i};
            added.push_back(m);
            ParInfo rec;
            rec.text = reinterpret_cast<char *>(m.id); // a tag, never read as text
            list_.put(at + i, &rec);
            list_.setStartOf(at + i, m.start);
            list_.setFirstLineOf(at + i, m.line);
        }
        model_.insert(model_.begin() + at, added.begin(), added.end());
    }

    void erase(std::int32_t at, std::int32_t n)
    {
        list_.eraseRecords(at, n);
        model_.erase(model_.begin() + at, model_.begin() + at + n);
    }

    void shift(std::int32_t from, std::int32_t d, std::int32_t e)
    {
        list_.shiftBoth(from, d, e);
        for (std::size_t i = static_cast<std::size_t>(std::max(from, 0)); i < model_.size(); ++i) {
            model_[i].start = wrap(model_[i].start, d);
            model_[i].line = wrap(model_[i].line, e);
        }
    }

    void set(std::int32_t i, std::int32_t start, std::int32_t line)
    {
        list_.setStartOf(i, start);
        list_.setFirstLineOf(i, line);
        model_[static_cast<std::size_t>(i)] = {model_[static_cast<std::size_t>(i)].id, start, line};
    }

    // Every record in order with its start and first line, read forwards and backwards (the
    // block cursor both ways); without spare blocks, the blocks in use are not mostly empty.
    void verify()
    {
        ASSERT_EQ(list_.count(), size());
        for (std::int32_t i = 0; i < size(); ++i)
            ASSERT_NO_FATAL_FAILURE(expectRecord(i)) << "record " << i;
        for (std::int32_t i = size() - 1; i >= 0; i -= 7)
            ASSERT_NO_FATAL_FAILURE(expectRecord(i)) << "record " << i;
        list_.setCapacity(0);
        EXPECT_LE(list_.blockCount(), static_cast<std::size_t>(3 * size() / perBlock() + 2));
    }

    void expectRecord(std::int32_t i) const
    {
        const ModelRecord &m = model_[static_cast<std::size_t>(i)];
        ASSERT_EQ(reinterpret_cast<std::intptr_t>(list_.par(i)->text), m.id);
        ASSERT_EQ(list_.startOf(i), m.start);
        ASSERT_EQ(list_.firstLineOf(i), m.line);
    }

    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

    OpenList list_;
    std::vector<ModelRecord> model_;

private:
    static std::int32_t wrap(std::int32_t a, std::int32_t b)
    {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
    }

    std::mt19937 rng_;
    std::intptr_t nextId_ = 1;
};

} // namespace

TEST(RecordBlocks, InsertAndEraseAtEveryBlockEdge)
{
    BlocksModel m;
    const std::int32_t b = m.perBlock();
    m.insert(0, 3 * b); // three full blocks
    ASSERT_NO_FATAL_FAILURE(m.verify());
    // Into a full block: at its first, last and middle record, at the end of the text.
    for (std::int32_t at : {0, b - 1, b, b + 1, 2 * b + b / 2, m.size() - 1, m.size()}) {
        SCOPED_TRACE("insert at " + std::to_string(at));
        m.insert(at, 1);
        ASSERT_NO_FATAL_FAILURE(m.verify());
    }
    // Erase around the edges: single records, a whole block, ranges spanning several blocks.
    for (auto [at, n] : {std::pair{0, 1}, {b - 1, 2}, {b, b}, {b / 2, b + 10}}) {
        SCOPED_TRACE("erase " + std::to_string(n) + " at " + std::to_string(at));
        m.erase(at, n);
        ASSERT_NO_FATAL_FAILURE(m.verify());
    }
    m.erase(m.size() - 3, 3);
    ASSERT_NO_FATAL_FAILURE(m.verify());
}

TEST(RecordBlocks, SplitsSpreadRecordsEvenlyAndMergesRefillBlocks)
{
    BlocksModel m;
    const std::int32_t b = m.perBlock();
    m.insert(0, b);
    EXPECT_EQ(m.list_.blockCount(), 1u);
    // One record into a full block splits it into two halves.
    m.insert(b / 2, 1);
    EXPECT_EQ(m.list_.blockCount(), 2u);
    ASSERT_NO_FATAL_FAILURE(m.verify());
    // Many records at once: as many blocks as they need, all of them well filled.
    m.insert(10, 5 * b + 3);
    EXPECT_EQ(m.list_.blockCount(), 7u);
    ASSERT_NO_FATAL_FAILURE(m.verify());
    // Erasing most of them merges what is left; the emptied blocks stay as spare capacity.
    m.erase(5, 5 * b);
    EXPECT_EQ(m.list_.blockCount(), 7u);
    EXPECT_EQ(m.list_.capacity(), 7 * b);
    m.list_.setCapacity(m.size());
    EXPECT_EQ(m.list_.blockCount(), 2u);
    ASSERT_NO_FATAL_FAILURE(m.verify());
}

TEST(RecordBlocks, EmptyingTheListAndStartingAgain)
{
    BlocksModel m;
    m.insert(0, 1);
    m.shift(0, 5, 1);
    ASSERT_NO_FATAL_FAILURE(m.verify());
    m.erase(0, 1);
    ASSERT_NO_FATAL_FAILURE(m.verify());
    EXPECT_EQ(m.list_.indexAtStart(100), 0);
    m.insert(0, 2 * m.perBlock() + 1);
    m.shift(m.perBlock() + 3, -2, 4);
    m.erase(0, m.size());
    m.list_.setCapacity(0);
    EXPECT_EQ(m.list_.blockCount(), 1u);
    m.insert(0, 3);
    ASSERT_NO_FATAL_FAILURE(m.verify());
}

TEST(RecordBlocks, LazyShiftsMatchAFullRecomputationAfterRandomEdits)
{
    for (unsigned seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        BlocksModel m(seed);
        const std::int32_t b = m.perBlock();
        m.insert(0, 4 * b);
        for (int step = 0; step < 400; ++step) {
            const int op = m.pick(0, 9);
            const std::int32_t at = m.pick(0, m.size());
            if (op < 3) {
                m.insert(at, m.pick(0, 3) == 0 ? m.pick(1, 2 * b) : m.pick(1, 4));
            } else if (op < 5 && at < m.size()) {
                m.erase(at, m.pick(1, std::min(m.size() - at, m.pick(0, 2) == 0 ? 2 * b : 5)));
            } else if (op < 9) {
                // Shifts near the previous one, far from it, and from the first record.
                m.shift(m.pick(0, 5) ? at : 0, m.pick(-50, 50), m.pick(-3, 3));
            } else if (at < m.size()) {
                m.set(at, m.pick(-1000, 1000), m.pick(0, 100));
            }
            if (step % 10 == 0 || m.size() < 40) {
                ASSERT_NO_FATAL_FAILURE(m.verify()) << "step " << step;
            }
        }
        ASSERT_NO_FATAL_FAILURE(m.verify());
    }
}

TEST(RecordBlocks, IndexAtStartFindsTheLastRecordStartingAtOrBefore)
{
    BlocksModel m;
    const std::int32_t b = m.perBlock();
    m.insert(0, 3 * b + 11);
    for (std::int32_t i = 0; i < m.size(); ++i)
        m.set(i, 3 * i, i); // paragraphs of length 1: starts 0, 3, 6, ...
    m.shift(b + 5, 100, 0); // a long paragraph before b + 5, held lazily
    for (std::int32_t pos : {0, 1, 3, 3 * b - 1, 3 * b, 3 * (b + 4), 3 * (b + 4) + 99, 3 * (b + 5) + 100,
                             3 * (m.size() - 1) + 100, INT32_MAX}) {
        std::int32_t expected = 0;
        for (std::int32_t i = 0; i < m.size(); ++i)
            if (m.model_[static_cast<std::size_t>(i)].start <= pos)
                expected = i;
        EXPECT_EQ(m.list_.indexAtStart(pos), expected) << "position " << pos;
    }
}

TEST(RecordBlocks, PositionsNearTheLimitsSurviveLazyShifts)
{
    BlocksModel m;
    m.insert(0, 2 * m.perBlock());
    m.set(0, 0, 0);
    m.set(m.size() - 1, INT32_MAX - 5, INT32_MAX - 5);
    // The raw values lacking these shifts leave the 32-bit range; the values do not.
    m.shift(m.size() - 1, -(INT32_MAX - 10), 0);
    m.shift(m.perBlock(), INT32_MAX - 20, -7);
    m.shift(1, -(INT32_MAX - 30), 7);
    ASSERT_NO_FATAL_FAILURE(m.verify());
}

TEST(RecordBlocks, HugeCountsSplitIntoManyBlocksAndKeepTheirPositions)
{
    BlocksModel m;
    m.insert(0, 200000);
    m.insert(100000, 60000); // one insert across ~75 new blocks
    m.shift(100000, 7, 1);
    m.erase(50000, 120000);
    ASSERT_NO_FATAL_FAILURE(m.verify());
}
