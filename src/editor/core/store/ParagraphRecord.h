// The paragraph record ParInfo and what hangs off it: the extension ParExtraInfo, the display
// line record LineInfo; the highlight runs are in TDynInfoArray.
//
// A paragraph is compact (flag pfExtended clear) while it is one display line shorter than
// 65535 characters that needs nothing else of its own (its highlight runs sit beside the
// record in either form): then the record itself holds its length and line width. Anything
// else moves into a ParExtraInfo. Conversion is one-way; only a replace rebuilds a record
// compact. The text is NUL-terminated and either owned (pfOwnsText, a buffer with its size
// kept in front of it) or borrowed from a load buffer of the paragraph list.
#pragma once

#include "editor/core/store/DynInfoArray.h"

#include <cstdint>
#include <vector>

namespace velmora::core
{

enum ParFlag : std::uint8_t {
    pfExtended = 0x01,
    pfOwnsText = 0x02,
    pfLinesValid = 0x04,
    pfStartStopDone = 0x08,
    pfKeywordsDone = 0x10,
    pfViewMark = 0x20,
    pfNoWrap = 0x40,
    pfHidden = 0x80,
};

// One display line of a paragraph: the characters [lineStart, nextLineStart).
struct LineInfo {
    std::int32_t lineStart = 0;
    std::int32_t nextLineStart = 0;
    std::int32_t width = 0;
    std::int32_t width2 = 0;
    std::int32_t offsetValue = 0;
    std::int32_t blankCount = 0;
    std::int32_t justifyFrom = 0;
    std::uint8_t startStyle = 0;
    std::int32_t startRunIndex = 0;
    std::uint8_t spare = 0;
};

// The start run record shared by every paragraph that has no state of its own. Never freed;
// its reference count is never changed.
RunInfo *sharedDefaultRun();
// A heap copy of run with reference count 0; the first paragraph that references it makes it 1.
RunInfo *newStartRun(const RunInfo &run);
// Adds one reference (nothing for the shared default).
void retainStartRun(RunInfo *run);
// Drops one reference, freeing a heap copy at 0 (nothing for the shared default).
void releaseStartRun(RunInfo *run);

struct ParExtraInfo {
    std::int32_t textColour = -1;
    std::int32_t backgroundColour = -1;
    std::int32_t length = 0;
    LineInfo firstLine;
    RunInfo *startRun = sharedDefaultRun();
    std::vector<LineInfo> furtherLines; // display lines 2 .. n
};

// Owned text buffers: size characters (including room for the NUL), with the size kept in
// front so that a later edit can tell whether the buffer can be reused.
char *allocTextBuffer(std::int32_t size);
std::int32_t textBufferSize(const char *text);
void freeTextBuffer(char *text);

struct ParInfo {
    char *text = nullptr; // NUL-terminated; null for an empty paragraph
    // Raw start and first-line fields, held relative to the record's block and shifted lazily:
    // read and write them through TParagraphsList::startOf/firstLineOf, never directly.
    std::int32_t rawStart = 0;
    std::int32_t rawFirstLine = 0;
    union {
        struct {
            std::uint16_t length;
            std::uint16_t width;
        } compact;
        ParExtraInfo *extra;
    } data = {{0, 0}};
    // The highlight runs, kept beside the record so that highlighting alone never needs the
    // extension. Freed by release(), like the text.
    TDynInfoArray runArray;
    std::uint8_t flags = 0;

    bool extended() const { return flags & pfExtended; }
    bool ownsText() const { return flags & pfOwnsText; }
    bool hidden() const { return flags & pfHidden; }

    std::int32_t length() const { return extended() ? data.extra->length : data.compact.length; }
    void setLength(std::int32_t n);
    // Gives a borrowed text its own buffer (length + 1 characters; a length of 0 leaves it null).
    void makeTextOwned();

    std::int32_t lineCount() const
    {
        return extended() ? 1 + static_cast<std::int32_t>(data.extra->furtherLines.size()) : 1;
    }
    void setLineCount(std::int32_t n);
    // Line i (0 = first) of the paragraph; the implicit line for a compact record.
    LineInfo lineInfo(std::int32_t i) const;

    std::int32_t runCount() const { return runArray.size(); }
    void setRunCount(std::int32_t n) { runArray.resize(n < 0 ? 0 : n); }
    TDynInfoArray &runs() { return runArray; }
    RunInfo run(std::int32_t i) const { return runArray[i]; }
    std::int32_t runPosition(std::int32_t i) const { return runArray.position(i); }
    const RunState &runState(std::int32_t i) const { return runArray.state(i); }

    RunInfo *startRun() const { return extended() ? data.extra->startRun : sharedDefaultRun(); }
    // Null means the shared default. A run without bit 7 points the record back at the default;
    // one with bit 7 is referenced, or copied first when copy is set.
    void setStartRun(RunInfo *run, bool copy);

    std::uint8_t startStyle() const { return extended() ? data.extra->firstLine.startStyle : 0; }
    void setStartStyle(std::uint8_t style);

    std::int32_t textColour() const { return extended() ? data.extra->textColour : -1; }
    std::int32_t backgroundColour() const { return extended() ? data.extra->backgroundColour : -1; }

    LineInfo firstLineInfo() const { return lineInfo(0); }
    // Keeps the compact form only for a line that the compact record can describe.
    void setFirstLineInfo(const LineInfo &line);

    // The extension, created on first need.
    ParExtraInfo &extra();
    void convertToExtended();
    // Frees an owned buffer, the runs and the extension; the record is then an empty compact one.
    void release();
};

// The implicit single line of a compact paragraph of the given length and width.
LineInfo compactLine(std::int32_t length, std::int32_t width);

} // namespace velmora::core
