#include "editor/core/store/ParagraphsList.h"

#include <cstddef>

namespace velmora::core
{

namespace
{
constexpr std::int16_t kParSize = sizeof(ParInfo);
constexpr std::int16_t kParsPerBlock = TDynArray2::kBlockSize / kParSize;
} // namespace

TParagraphsList::TParagraphsList() : TDynArray2(kParSize, kParSize, kParsPerBlock, offsetof(ParInfo, rawStart))
{
    static_assert(offsetof(ParInfo, rawFirstLine) == offsetof(ParInfo, rawStart) + sizeof(std::int32_t));
}

TParagraphsList::~TParagraphsList()
{
    clear();
}

void TParagraphsList::clear()
{
    forEachRecord(0, count(), [](std::byte *r) { reinterpret_cast<ParInfo *>(r)->release(); });
    setCount(0);
    setCapacity(4);
    loadBuffers_.clear();
    marks_.reset(0, 0);
}

void TParagraphsList::invalidateLayout()
{
    forEachRecord(0, count(), [](std::byte *r) { reinterpret_cast<ParInfo *>(r)->flags &= ~pfLinesValid; });
    marks_.queueAllFormat(count());
}

void TParagraphsList::markChanged(std::int32_t p, std::int32_t k, std::int32_t q)
{
    const std::int32_t n = count();
    const std::int32_t endLine = n > 0 ? firstLineOf(n - 1) + par(n - 1)->lineCount() : 0;
    marks_.markChanged(p, firstLineOf(p) + k, q, n, endLine);
}

std::int32_t TParagraphsList::newBufferSize(std::int32_t len)
{
    return len == 0 ? 0 : len + len / 64 + 1;
}

void TParagraphsList::shrinkIfSparse()
{
    if (count() + count() / 16 + 8 < capacity())
        setCapacity(count() + count() / 32 + 4);
}

char *TParagraphsList::addLoadBuffer(std::size_t size)
{
    loadBuffers_.emplace_back(new char[size]);
    return loadBuffers_.back().get();
}

void TParagraphsList::removeLoadBuffer(const char *buffer)
{
    std::erase_if(loadBuffers_, [buffer](const auto &b) { return b.get() == buffer; });
}

void TParagraphsList::appendLoaded(char *text, std::int32_t len, std::uint8_t startStyle)
{
    const std::int32_t start = count() == 0 ? 0 : marks_.textLength() + 2;
    ParInfo rec;
    rec.text = len > 0 ? text : nullptr;
    const std::int32_t i = add(&rec);
    ParInfo *p = par(i);
    p->setLength(len);
    p->setStartStyle(startStyle);
    setStartOf(i, start);
    setFirstLineOf(i, i);
    marks_.addText(start + len - marks_.textLength(), 0, 0);
}

void TParagraphsList::finishLoad()
{
    marks_.reset(count(), marks_.textLength());
}

} // namespace velmora::core
