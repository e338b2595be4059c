#include "editor/core/store/ParagraphRecord.h"

#include "editor/core/text/StyleBits.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace velmora::core
{

namespace
{

RunInfo makeDefaultRun()
{
    RunInfo r;
    r.background = -1;
    r.foreground = -1;
    return r;
}

// A buffer is an 8-byte header holding its size, then the characters.
constexpr std::size_t kHeader = 8;

} // namespace

RunInfo *sharedDefaultRun()
{
    static RunInfo run = makeDefaultRun();
    return &run;
}

RunInfo *newStartRun(const RunInfo &run)
{
    auto *copy = new RunInfo(run);
    copy->position = 0;
    return copy;
}

void retainStartRun(RunInfo *run)
{
    if (run && run != sharedDefaultRun())
        ++run->position;
}

void releaseStartRun(RunInfo *run)
{
    if (run && run != sharedDefaultRun() && --run->position <= 0)
        delete run;
}

char *allocTextBuffer(std::int32_t size)
{
    auto *block = static_cast<char *>(std::malloc(kHeader + static_cast<std::size_t>(size)));
    if (!block)
        throw std::bad_alloc();
    std::memcpy(block, &size, sizeof size);
    return block + kHeader;
}

std::int32_t textBufferSize(const char *text)
{
    std::int32_t size;
    std::memcpy(&size, text - kHeader, sizeof size);
    return size;
}

void freeTextBuffer(char *text)
{
    if (text)
        std::free(text - kHeader);
}

LineInfo compactLine(std::int32_t length, std::int32_t width)
{
    LineInfo line;
    line.nextLineStart = length;
    line.width = width;
    line.width2 = width;
    line.offsetValue = length;
    line.justifyFrom = length;
    return line;
}

void ParInfo::setLength(std::int32_t n)
{
    if (!extended() && n < 65535) {
        data.compact.length = static_cast<std::uint16_t>(n);
        return;
    }
    if (!extended()) {
        // The compact record was one line over the whole paragraph; it stays so.
        convertToExtended();
        data.extra->firstLine = compactLine(n, data.extra->firstLine.width);
    }
    data.extra->length = n;
}

void ParInfo::makeTextOwned()
{
    if (ownsText())
        return;
    const std::int32_t len = length();
    char *own = nullptr;
    if (len > 0) {
        own = allocTextBuffer(len + 1);
        std::memcpy(own, text, static_cast<std::size_t>(len));
        own[len] = 0;
    }
    text = own;
    flags |= pfOwnsText;
}

void ParInfo::setLineCount(std::int32_t n)
{
    if (n <= 1 && !extended())
        return;
    extra().furtherLines.resize(static_cast<std::size_t>(n <= 1 ? 0 : n - 1));
}

LineInfo ParInfo::lineInfo(std::int32_t i) const
{
    if (!extended())
        return compactLine(data.compact.length, data.compact.width);
    return i == 0 ? data.extra->firstLine : data.extra->furtherLines[static_cast<std::size_t>(i - 1)];
}

void ParInfo::setStartRun(RunInfo *run, bool copy)
{
    if (!run || !(run->style & kRunAttributes)) {
        if (extended()) {
            releaseStartRun(data.extra->startRun);
            data.extra->startRun = sharedDefaultRun();
        }
        return;
    }
    RunInfo *next = copy ? newStartRun(*run) : run;
    retainStartRun(next); // before the release: run may be the record's own
    ParExtraInfo &x = extra();
    releaseStartRun(x.startRun);
    x.startRun = next;
}

void ParInfo::setStartStyle(std::uint8_t style)
{
    if (style == 0 && !extended())
        return;
    extra().firstLine.startStyle = style;
}

void ParInfo::setFirstLineInfo(const LineInfo &line)
{
    if (!extended()) {
        const std::int32_t len = data.compact.length;
        if (line.nextLineStart == len && line.width >= 0 && line.width <= 65535 && line.justifyFrom >= len &&
            line.startStyle == 0) {
            data.compact.width = static_cast<std::uint16_t>(line.width);
            return;
        }
    }
    extra().firstLine = line;
}

ParExtraInfo &ParInfo::extra()
{
    if (!extended())
        convertToExtended();
    return *data.extra;
}

void ParInfo::convertToExtended()
{
    if (extended())
        return;
    auto *x = new ParExtraInfo;
    x->length = data.compact.length;
    x->firstLine = compactLine(data.compact.length, data.compact.width);
    data.extra = x;
    flags |= pfExtended;
}

void ParInfo::release()
{
    if (ownsText())
        freeTextBuffer(text);
    if (extended()) {
        releaseStartRun(data.extra->startRun);
        delete data.extra;
    }
    runArray.reset();
    text = nullptr;
    data.compact = {0, 0};
    flags = 0;
}

} // namespace velmora::core
