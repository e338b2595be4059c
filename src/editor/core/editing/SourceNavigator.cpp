#include "editor/core/editing/SourceNavigator.h"

#include "editor/core/text/EditorErrors.h"
#include "editor/core/editing/SourceMemoCore.h"
#include "editor/core/text/StyleCodes.h"

#include <algorithm>
#include <cstring>

namespace velmora::core
{

namespace
{

// The paragraph or line a proportional guess points at: index * count / total, clamped.
std::int32_t proportionalGuess(std::int64_t index, std::int64_t count, std::int64_t total)
{
    if (total <= 0)
        return 0;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(index * count / total, 0, count - 1));
}

} // namespace

TSourceNavigator::TSourceNavigator(TComponent *memo)
{
    if (!memo)
        return;
    auto *editor = dynamic_cast<TSourceMemoCore *>(memo);
    if (!editor)
        throw EditorError(kNotASourceMemo);
    setMemo(editor);
}

TSourceNavigator::~TSourceNavigator()
{
    if (memo_)
        memo_->detachNavigator(this);
    if (onDestroy)
        onDestroy(*this);
}

void TSourceNavigator::setMemo(TSourceMemoCore *memo)
{
    if (memo_ == memo)
        return;
    if (memo_)
        memo_->detachNavigator(this);
    memo_ = memo;
    invalidate();
    if (memo_)
        memo_->attachNavigator(this);
}

TParagraphsList &TSourceNavigator::store() const
{
    if (!memo_)
        throw EditorError(kInternalError);
    return memo_->paragraphs();
}

void TSourceNavigator::assign(const TSourceNavigator &other)
{
    pos_ = other.pos_;
    par_ = other.par_;
    parNumber_ = other.parNumber_;
    parOffset_ = other.parOffset_;
    runIndex_ = other.runIndex_;
    parLine_ = other.parLine_;
    lines_.setParagraph(par_);
}

void TSourceNavigator::invalidate()
{
    par_ = nullptr;
    parNumber_ = -1;
    parOffset_ = -1;
    runIndex_ = -1;
    parLine_ = -1;
    lines_.setParagraph(nullptr);
}

void TSourceNavigator::cacheParagraph(std::int32_t i, std::int32_t offset)
{
    TParagraphsList &s = store();
    par_ = s.par(i);
    parNumber_ = i;
    parOffset_ = offset;
    pos_ = s.startOf(i) + offset;
    runIndex_ = -1;
    parLine_ = -1;
    lines_.setParagraph(par_);
}

void TSourceNavigator::resolve()
{
    if (par_)
        return;
    TParagraphsList &s = store();
    pos_ = std::clamp(pos_, 0, s.marks().textLength());
    const std::int32_t g = s.indexAtStart(pos_); // a break belongs to the paragraph before it
    cacheParagraph(g, pos_ - s.startOf(g));
}

void TSourceNavigator::setPos(std::int32_t p)
{
    if (!memo_) { // a free navigator only keeps the number until it is given an editor
        pos_ = p;
        return;
    }
    p = std::clamp(p, 0, store().marks().textLength());
    if (par_) {
        const std::int32_t start = store().startOf(parNumber_);
        if (p >= pos_ && p <= start + par_->length() + 1) {
            parOffset_ = p - start;
            if (runIndex_ >= 0)
                while (runIndex_ < par_->runCount() && par_->runPosition(runIndex_) < parOffset_)
                    ++runIndex_;
            if (parLine_ >= 0)
                while (parLine_ < par_->lineCount() - 1 && parOffset_ >= par_->lineInfo(parLine_).nextLineStart)
                    ++parLine_;
            pos_ = p;
            return;
        }
        runIndex_ = -1;
        parLine_ = -1;
        if (p < start || p > start + par_->length() + 1) {
            par_ = nullptr;
            parOffset_ = -1;
            lines_.setParagraph(nullptr);
        } else {
            parOffset_ = p - start;
        }
    }
    pos_ = p;
}

ParInfo *TSourceNavigator::paragraph()
{
    resolve();
    return par_;
}

std::int32_t TSourceNavigator::ParNumber()
{
    resolve();
    return parNumber_;
}

void TSourceNavigator::setParNumber(std::int32_t i)
{
    cacheParagraph(i, 0);
    runIndex_ = 0;
    parLine_ = 0;
}

std::int32_t TSourceNavigator::ParOffset()
{
    resolve();
    return parOffset_;
}

void TSourceNavigator::setParOffset(std::int32_t k)
{
    resolve();
    k = std::clamp(k, 0, par_->length());
    parOffset_ = k;
    pos_ = store().startOf(parNumber_) + k;
    if (runIndex_ >= 0) {
        runIndex_ = 0;
        while (runIndex_ < par_->runCount() && par_->runPosition(runIndex_) < k)
            ++runIndex_;
    }
    if (parLine_ >= 0) {
        parLine_ = 0;
        while (parLine_ + 1 < par_->lineCount() && par_->lineInfo(parLine_ + 1).lineStart < k)
            ++parLine_;
    }
}

std::int32_t TSourceNavigator::runIndex()
{
    resolve();
    if (runIndex_ < 0) {
        runIndex_ = 0;
        while (runIndex_ < par_->runCount() && par_->runPosition(runIndex_) < parOffset_)
            ++runIndex_;
    }
    return runIndex_;
}

std::int32_t TSourceNavigator::ParLine()
{
    resolve();
    if (parLine_ < 0) {
        parLine_ = 0;
        while (parLine_ < par_->lineCount() - 1 && parOffset_ >= par_->lineInfo(parLine_).nextLineStart)
            ++parLine_;
    }
    return parLine_;
}

std::int32_t TSourceNavigator::lineStartOffset(std::int32_t line)
{
    return par_->lineInfo(line).lineStart;
}

std::int32_t TSourceNavigator::LineOffset()
{
    const std::int32_t l = ParLine();
    return parOffset_ - lineStartOffset(l);
}

void TSourceNavigator::setLineOffset(std::int32_t k)
{
    const std::int32_t l = ParLine();
    const LineInfo line = par_->lineInfo(l);
    const std::int32_t offset = line.lineStart + std::clamp(k, 0, line.nextLineStart - line.lineStart);
    parOffset_ = offset;
    pos_ = store().startOf(parNumber_) + offset;
    runIndex_ = -1;
}

std::int32_t TSourceNavigator::LineNumber()
{
    TParagraphsList &s = store();
    if (!memo_->WordWrap())
        return ParNumber();
    return s.firstLineOf(ParNumber()) + ParLine();
}

std::int32_t TSourceNavigator::DisplayLine()
{
    TParagraphsList &s = store();
    const std::int32_t first = s.firstLineOf(ParNumber());
    return par_->hidden() ? first : first + ParLine();
}

bool TSourceNavigator::visible()
{
    return !paragraph()->hidden();
}

void TSourceNavigator::setLineNumber(std::int32_t n)
{
    TParagraphsList &s = store();
    if (!memo_->WordWrap() && memo_->Alignment() == taLeftJustify) {
        setParNumber(std::clamp(n, 0, s.count() - 1));
        return;
    }
    n = std::clamp(n, 0, std::max(s.marks().lineCount() - 1, 0));
    std::int32_t g = proportionalGuess(n, s.count(), s.marks().lineCount());
    while (g > 0 && n < s.firstLineOf(g))
        --g;
    while (g < s.count() - 1 && n >= s.firstLineOf(g) + s.par(g)->lineCount())
        ++g;
    const std::int32_t line = std::clamp(n - s.firstLineOf(g), 0, s.par(g)->lineCount() - 1);
    const LineInfo info = s.par(g)->lineInfo(line);
    cacheParagraph(g, info.lineStart);
    parLine_ = line;
    runIndex_ = info.startRunIndex;
}

void TSourceNavigator::setDisplayLine(std::int32_t n)
{
    TParagraphsList &s = store();
    const std::int32_t count = s.count();
    if (!memo_->WordWrap() && memo_->Alignment() == taLeftJustify) {
        const std::int32_t i = std::clamp(n, 0, count - 1);
        if (!s.par(i)->hidden() && s.firstLineOf(i) == n) {
            setParNumber(i);
            return;
        }
    }
    const std::int32_t last = std::max(s.marks().visibleLineCount() - 1, 0);
    n = std::clamp(n, 0, last);
    const std::int32_t b = std::clamp(DisplayLine(), 0, last);
    const std::int32_t p = parNumber_;
    std::int64_t guess = p;
    if (s.marks().visibleLineCount() - b > 0)
        guess += static_cast<std::int64_t>(count - p) * (n - b) / (s.marks().visibleLineCount() - b);
    std::int32_t g = static_cast<std::int32_t>(std::clamp<std::int64_t>(guess, 0, count - 1));
    while (g < count - 1 && s.firstLineOf(g + 1) <= n)
        ++g;
    while (g > 0 && n < s.firstLineOf(g))
        --g;
    const std::int32_t line = std::clamp(n - s.firstLineOf(g), 0, s.par(g)->lineCount() - 1);
    const LineInfo info = s.par(g)->lineInfo(line);
    cacheParagraph(g, info.lineStart);
    parLine_ = line;
    runIndex_ = info.startRunIndex;
}

unsigned char TSourceNavigator::character()
{
    resolve();
    const std::int32_t len = par_->length();
    if (parOffset_ < len)
        return static_cast<unsigned char>(par_->text[parOffset_]);
    return parOffset_ == len ? 13 : 10;
}

std::string_view TSourceNavigator::lineText()
{
    const std::int32_t l = ParLine();
    const LineInfo line = par_->lineInfo(l);
    if (!par_->text)
        return {};
    return {par_->text + line.lineStart, static_cast<std::size_t>(line.nextLineStart - line.lineStart)};
}

RunInfo TSourceNavigator::currentRun()
{
    const std::int32_t i = runIndex();
    return i > 0 ? par_->run(i - 1) : *par_->startRun();
}

std::uint8_t TSourceNavigator::styleByte()
{
    if (!store().StaticFormat)
        return 0;
    const std::int32_t l = ParLine();
    const LineInfo line = par_->lineInfo(l);
    std::uint8_t style = line.startStyle;
    const std::int32_t to = std::min(parOffset_, par_->length());
    if (line.lineStart < to)
        style ^= styleToggles({par_->text + line.lineStart, static_cast<std::size_t>(to - line.lineStart)});
    return style;
}

void TSourceNavigator::copyText(char *buffer, std::int32_t n)
{
    TParagraphsList &s = store();
    std::int32_t i = ParNumber();
    std::int32_t offset = parOffset_;
    std::int32_t written = 0;
    while (written < n && i < s.count()) {
        const std::int32_t len = s.lengthOf(i);
        if (offset < len) {
            const std::int32_t take = std::min(len - offset, n - written);
            std::memcpy(buffer + written, s.par(i)->text + offset, static_cast<std::size_t>(take));
            written += take;
            offset += take;
        } else if (offset == len) {
            buffer[written++] = 13;
            offset = len + 1;
        } else {
            buffer[written++] = 10;
            ++i;
            offset = 0;
        }
    }
    buffer[written] = 0;
}

void TSourceNavigator::wordLeft(const SeparatorSet &separators)
{
    const auto isSep = [&] { return separators.test(character()); };
    if (pos_ == 0)
        return;
    setPos(pos_ - 1);
    while (pos_ > 0 && isSep())
        setPos(pos_ - 1);
    if (isSep())
        return; // only reached at position 0
    while (pos_ > 0 && !isSep())
        setPos(pos_ - 1);
    if (isSep())
        setPos(pos_ + 1);
}

void TSourceNavigator::wordRight(const SeparatorSet &separators)
{
    const std::int32_t end = store().marks().textLength();
    if (character() == 13) {
        setPos(pos_ + 2);
        return;
    }
    const std::int32_t from = pos_;
    while (pos_ < end && !separators.test(character()))
        setPos(pos_ + 1);
    if (pos_ == from && character() == 13) {
        setPos(pos_ + 2);
        return;
    }
    while (pos_ < end && separators.test(character()))
        setPos(pos_ + 1);
}

void TSourceNavigator::toWordEndInParagraph(const SeparatorSet &separators)
{
    while (ParOffset() < par_->length() && !separators.test(character()))
        setPos(pos_ + 1);
}

void TSourceNavigator::toWordStartInParagraph(const SeparatorSet &separators)
{
    while (ParOffset() > 0 && separators.test(character()))
        setPos(pos_ - 1);
    while (ParOffset() > 0 && !separators.test(character()))
        setPos(pos_ - 1);
    if (separators.test(character()) && ParOffset() < par_->length())
        setPos(pos_ + 1);
}

void TSourceNavigator::moveToRun(std::int32_t i, std::int32_t run)
{
    cacheParagraph(i, store().par(i)->runPosition(run));
    runIndex_ = run;
}

bool TSourceNavigator::previousRunStart(std::int32_t limit)
{
    TParagraphsList &s = store();
    const std::int32_t ri = runIndex();
    std::int32_t i = parNumber_;
    std::int32_t run = ri - 1;
    while (run < 0 && i > 0 && s.startOf(i) > limit) {
        --i;
        run = s.par(i)->runCount() - 1;
    }
    if (run < 0 || s.startOf(i) + s.par(i)->runPosition(run) < limit)
        return false;
    moveToRun(i, run);
    return true;
}

bool TSourceNavigator::nextRunStart(std::int32_t limit)
{
    TParagraphsList &s = store();
    const std::int32_t ri = runIndex();
    std::int32_t i = parNumber_;
    std::int32_t run = ri < par_->runCount() ? ri : -1;
    while (run < 0 && i < s.count() - 1 && s.startOf(i) + s.lengthOf(i) < limit) {
        ++i;
        run = s.par(i)->runCount() > 0 ? 0 : -1;
    }
    if (run < 0 || s.startOf(i) + s.par(i)->runPosition(run) > limit)
        return false;
    moveToRun(i, run);
    return true;
}

void TSourceNavigator::skipRunsHere()
{
    runIndex();
    while (runIndex_ < par_->runCount() && par_->runPosition(runIndex_) == parOffset_)
        ++runIndex_;
}

void TSourceNavigator::insertRun(const RunInfo &run)
{
    const std::int32_t at = runIndex();
    RunInfo placed = run;
    placed.position = parOffset_;
    par_->runs().insert(at, placed);
    ++runIndex_;
}

void TSourceNavigator::deleteRun()
{
    const std::int32_t at = runIndex();
    if (at >= par_->runCount() || par_->runPosition(at) != parOffset_)
        throw EditorError(kInternalError);
    par_->runs().erase(at, at + 1);
    parLine_ = -1;
}

TLinesList &TSourceNavigator::lines()
{
    resolve();
    return lines_;
}

} // namespace velmora::core
