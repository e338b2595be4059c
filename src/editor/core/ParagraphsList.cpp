#include "editor/core/ParagraphsList.h"

#include <algorithm>

namespace velmora::core
{

namespace
{
constexpr std::int16_t kParSize = sizeof(ParInfo);
constexpr std::int16_t kParsPerBlock = TDynArray2::kBlockSize / kParSize;
} // namespace

TParagraphsList::TParagraphsList() : TDynArray2(kParSize, kParSize, kParsPerBlock) {}

TParagraphsList::~TParagraphsList()
{
    clear();
}

void TParagraphsList::applyStepTo(std::int32_t q)
{
    q = std::min(q, count() - 1);
    if (stepStart_ != 0 || stepLine_ != 0) {
        const std::int32_t d = stepStart_, e = stepLine_;
        forEachRecord(stepPar_ + 1, q + 1, [d, e](std::byte *r) {
            auto *p = reinterpret_cast<ParInfo *>(r);
            p->rawStart += d;
            p->rawFirstLine += e;
        });
    }
    stepPar_ = q;
}

void TParagraphsList::backStepTo(std::int32_t q)
{
    const std::int32_t d = stepStart_, e = stepLine_;
    forEachRecord(q + 1, std::min(stepPar_, count() - 1) + 1, [d, e](std::byte *r) {
        auto *p = reinterpret_cast<ParInfo *>(r);
        p->rawStart -= d;
        p->rawFirstLine -= e;
    });
    stepPar_ = q;
}

void TParagraphsList::flushSteps()
{
    if (stepStart_ != 0 || stepLine_ != 0)
        applyStepTo(count() - 1);
    stepPar_ = INT32_MAX;
    stepStart_ = 0;
    stepLine_ = 0;
}

void TParagraphsList::carryStepPast(std::int32_t last, std::int32_t shift)
{
    if (stepStart_ == 0 && stepLine_ == 0)
        return;
    if (stepPar_ < last)
        applyStepTo(last);
    stepPar_ += shift;
}

void TParagraphsList::shiftBoth(std::int32_t from, std::int32_t d, std::int32_t e)
{
    if (from >= count() || (d == 0 && e == 0))
        return;
    from = std::max(from, 0);
    const std::int32_t p = from - 1; // records after p move
    if (stepStart_ == 0 && stepLine_ == 0) {
        stepPar_ = p;
    } else if (p >= stepPar_) {
        applyStepTo(p);
    } else if (p >= stepPar_ - count() / 10) {
        backStepTo(p);
    } else {
        flushSteps();
        stepPar_ = p;
    }
    stepStart_ += d;
    stepLine_ += e;
}

void TParagraphsList::clear()
{
    forEachRecord(0, count(), [](std::byte *r) { reinterpret_cast<ParInfo *>(r)->release(); });
    textLength = 0;
    lineCount = 0;
    visibleLineCount = 0;
    setCount(0);
    setCapacity(4);
    stepPar_ = INT32_MAX;
    stepStart_ = 0;
    stepLine_ = 0;
    loadBuffers_.clear();
    lastParToFormat = -1;
}

void TParagraphsList::invalidateLayout()
{
    forEachRecord(0, count(), [](std::byte *r) { reinterpret_cast<ParInfo *>(r)->flags &= ~pfLinesValid; });
    firstUnformattedPar = 0;
    lastParToFormat = count() - 1;
}

void TParagraphsList::markChanged(std::int32_t p, std::int32_t k, std::int32_t q)
{
    if (lastChangedPar == -1) {
        firstChangedPar = count();
        firstChangedLine = count() > 0 ? firstLineOf(count() - 1) + par(count() - 1)->lineCount() : 0;
    }
    if (firstChangedPar >= p) {
        firstChangedPar = p;
        firstChangedLine = std::min(firstChangedLine, firstLineOf(p) + k);
    }
    lastChangedPar = std::max(lastChangedPar, q);
    if (lastStartStopPar >= p)
        lastStartStopPar = p - 1;
    layoutValid = false;
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
    const std::int32_t start = count() == 0 ? 0 : textLength + 2;
    ParInfo rec;
    rec.text = len > 0 ? text : nullptr;
    const std::int32_t i = add(&rec);
    ParInfo *p = par(i);
    p->setLength(len);
    p->setStartStyle(startStyle);
    setStartOf(i, start);
    setFirstLineOf(i, i);
    textLength = start + len;
}

void TParagraphsList::finishLoad()
{
    editMark = false;
    firstChangedLine = 0;
    firstChangedPar = 0;
    lastChangedPar = count() - 1;
    pendingVisibleChange = 0;
    lastStartStopPar = -1;
    firstUnformattedPar = 0;
    lastParToFormat = count();
    lineCount = count();
    visibleLineCount = count();
    layoutValid = false;
}

} // namespace velmora::core
