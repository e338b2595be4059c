#include "editor/core/layout/LineBreaker.h"

#include "editor/core/text/StyleBits.h"
#include "editor/core/text/StyleCodes.h"

#include <algorithm>
#include <climits>

namespace velmora::core
{

std::int32_t tabAdvance(std::int32_t x, std::int32_t tabStops, std::int32_t blankWidth)
{
    const std::int32_t step = tabStops > 0 ? tabStops * blankWidth : -tabStops;
    if (step <= 0)
        return x;
    return step * (x / step + 1);
}

std::uint8_t effectiveStyle(std::uint8_t inlineStyle, const RunState &run, std::uint8_t fontStyle)
{
    if (!(run.style & kRunAttributes))
        return inlineStyle ^ fontStyle;
    std::uint8_t s = run.style & kStyleBits;
    if ((s & kSpecialUnderlineBits) == kSpecialUnderlineBits)
        s &= static_cast<std::uint8_t>(~kSpecialUnderlineBits);
    return s;
}

namespace
{

// A place in the paragraph with the inline style and the highlight run in force there.
struct Cursor {
    std::int32_t pos = 0;
    std::uint8_t inlineStyle = 0;
    std::int32_t runsPassed = 0; // runs with position <= pos, as of the last styleAt()
    // The state of the run in force and where the next run begins, as of the last styleAt().
    const RunState *run = nullptr;
    std::int32_t nextRunAt = -1;
};

class Walk
{
public:
    Walk(const ParInfo &par, const TBreakRules &rules)
        : par_(par), text_(par.text ? par.text : ""), runs_(par.runArray.data()), runCount_(par.runCount()),
          rules_(rules)
    {
    }

    Cursor at(std::int32_t pos, std::uint8_t inlineStyle) const
    {
        Cursor c{pos, inlineStyle, 0, nullptr, -1};
        while (c.runsPassed < runCount_ && runPosition(c.runsPassed) <= pos)
            ++c.runsPassed;
        return c;
    }

    char ch(const Cursor &c) const { return text_[c.pos]; }
    bool isCode(char c) const { return rules_.staticFormat && isStyleCode(static_cast<unsigned char>(c)); }

    // Measured style of the character at c (the run cursor follows c.pos). The run in force is
    // looked up again only where the next run begins.
    std::uint8_t styleAt(Cursor &c) const
    {
        if (!c.run || c.pos >= c.nextRunAt) {
            while (c.runsPassed < runCount_ && runPosition(c.runsPassed) <= c.pos)
                ++c.runsPassed;
            c.run = c.runsPassed > 0 ? &internedRunState(runs_[c.runsPassed - 1].state) : par_.startRun();
            c.nextRunAt = c.runsPassed < runCount_ ? runPosition(c.runsPassed) : INT32_MAX;
        }
        return effectiveStyle(c.inlineStyle, *c.run, rules_.fontStyle) & kMeasuredStyleBits;
    }

    void step(Cursor &c) const
    {
        const char x = text_[c.pos];
        if (isCode(x))
            c.inlineStyle ^= styleBitOf(static_cast<unsigned char>(x));
        ++c.pos;
    }

    // Runs that start before pos: the run index of a line starting there.
    std::int32_t runsBefore(const Cursor &c) const
    {
        std::int32_t k = c.runsPassed;
        while (k > 0 && runPosition(k - 1) >= c.pos)
            --k;
        while (k < runCount_ && runPosition(k) < c.pos)
            ++k;
        return k;
    }

    const char *text() const { return text_; }

private:
    std::int32_t runPosition(std::int32_t i) const { return runs_[i].position; }

    const ParInfo &par_;
    const char *text_;
    const TDynInfoArray::PackedRun *runs_;
    std::int32_t runCount_;
    const TBreakRules &rules_;
};

// Width of [c.pos, end) in runs of equal style and chunks of at most chunk characters.
std::int32_t measureSpan(const Walk &walk, Cursor &c, std::int32_t end, std::int32_t chunk, TTextMeasurer &m)
{
    std::int64_t total = 0;
    std::int32_t segStart = -1;
    std::uint8_t segStyle = 0;
    const auto flush = [&](std::int32_t at) {
        if (segStart >= 0 && at > segStart)
            total += m.textWidth({walk.text() + segStart, static_cast<std::size_t>(at - segStart)}, segStyle);
        segStart = -1;
    };
    while (c.pos < end) {
        const char x = walk.ch(c);
        if (walk.isCode(x)) {
            flush(c.pos);
            walk.step(c);
            continue;
        }
        const std::uint8_t style = walk.styleAt(c);
        if (segStart >= 0 && (style != segStyle || c.pos - segStart >= chunk))
            flush(c.pos);
        if (segStart < 0) {
            segStart = c.pos;
            segStyle = style;
        }
        walk.step(c);
    }
    flush(c.pos);
    return total > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(total);
}

// Width of [c.pos, n) without its trailing whitespace, added up from the measurer's advance
// tables in one pass: the width the breaking gives a paragraph that stays one line. -1 where the
// measurer has no tables or the width passes limit (the paragraph may then need breaking).
std::int64_t unbrokenWidth(const Walk &walk, Cursor c, std::int32_t n, std::int64_t limit, const TBreakRules &rules,
                           TTextMeasurer &m)
{
    const char *text = walk.text();
    std::int64_t x = 0;
    std::int64_t content = 0;
    // Neighbouring runs mostly measure in the same style: its table is asked for only on a change.
    int tableStyle = -1;
    const std::int32_t *advance = nullptr;
    while (c.pos < n) {
        if (walk.isCode(walk.ch(c))) {
            walk.step(c);
            continue;
        }
        if (const std::uint8_t style = walk.styleAt(c); style != tableStyle) {
            advance = m.advances(style);
            tableStyle = style;
        }
        if (!advance)
            return -1;
        const std::int32_t end = std::min(n, c.nextRunAt);
        std::int32_t pos = c.pos;
        for (; pos < end; ++pos) {
            const char ch = text[pos];
            if (ch == ' ') {
                x += advance[' '];
            } else if (ch == '\t') {
                x = tabAdvance(static_cast<std::int32_t>(std::min<std::int64_t>(x, INT32_MAX)), rules.tabStops,
                               rules.blankWidth);
            } else if (walk.isCode(ch)) {
                break;
            } else {
                x += advance[static_cast<unsigned char>(ch)];
                content = x;
            }
        }
        c.pos = pos;
        if (x > limit)
            return -1;
    }
    return content;
}

} // namespace

std::int32_t TLineBreaker::blankWidthIn(std::uint8_t style)
{
    std::int32_t &w = blankWidths_[style & kStyleBits];
    if (w < 0)
        w = measurer_.textWidth(" ", style);
    return w;
}

std::int32_t TLineBreaker::measure(const ParInfo &par, std::int32_t from, std::int32_t to, std::uint8_t inlineStyle)
{
    const Walk walk(par, rules);
    Cursor c = walk.at(from, inlineStyle);
    return measureSpan(walk, c, to, rules.chunk > 0 ? rules.chunk : 1, measurer_);
}

void TLineBreaker::breakFrom(const ParInfo &par, const LineInfo &from, const LineSink &sink)
{
    const Walk walk(par, rules);
    const std::int32_t n = par.length();
    const std::int32_t wrap = rules.wrapWidth < 1 ? 1 : rules.wrapWidth;
    const std::int32_t chunk = rules.chunk > 0 ? rules.chunk : 1;
    const std::string &breakChars = rules.wordWrapChars;

    Cursor c = walk.at(from.lineStart, from.startStyle);
    Cursor lineStart = c;
    if (!rules.columns) {
        // Most paragraphs fit their wrap width whole (always so without word wrap).
        const std::int64_t width = unbrokenWidth(walk, c, n, wrap, rules, measurer_);
        if (width >= 0) {
            LineInfo line;
            line.lineStart = c.pos;
            line.nextLineStart = n;
            line.width = static_cast<std::int32_t>(width);
            line.width2 = line.width;
            line.offsetValue = n;
            line.blankCount = 0;
            line.justifyFrom = n;
            line.startStyle = c.inlineStyle;
            line.startRunIndex = walk.runsBefore(c);
            sink(line);
            return;
        }
    }
    std::int64_t x = 0;
    std::int32_t blanks = 0, justifyFrom = c.pos;
    std::int64_t contentWidth = 0;
    std::int32_t contentBlanks = 0, contentJustify = c.pos;
    bool hasWord = false;

    const auto close = [&](std::int32_t end) {
        const bool last = end >= n;
        LineInfo line;
        line.lineStart = lineStart.pos;
        line.nextLineStart = end;
        line.width = contentWidth > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(contentWidth);
        line.width2 = line.width;
        line.offsetValue = end;
        line.blankCount = last ? 0 : contentBlanks;
        line.justifyFrom = last ? n : contentJustify;
        line.startStyle = lineStart.inlineStyle;
        line.startRunIndex = walk.runsBefore(lineStart);
        return sink(line);
    };
    const auto startLine = [&](const Cursor &at) {
        lineStart = at;
        c = at;
        x = 0;
        blanks = 0;
        justifyFrom = at.pos;
        contentWidth = 0;
        contentBlanks = 0;
        contentJustify = at.pos;
        hasWord = false;
    };
    const auto isBreakChar = [&](char ch) {
        if (breakChars.empty())
            return false;
        if (breakChars.size() == 1)
            return ch == breakChars[0];
        return breakChars.find(ch) != std::string::npos;
    };

    for (;;) {
        // Whitespace belongs to the line it follows.
        while (c.pos < n) {
            const char ch = walk.ch(c);
            if (ch == ' ') {
                x += blankWidthIn(walk.styleAt(c));
                ++blanks;
            } else if (ch == '\t') {
                x = tabAdvance(static_cast<std::int32_t>(std::min<std::int64_t>(x, INT32_MAX)), rules.tabStops,
                               rules.blankWidth);
                blanks = 0;
                justifyFrom = c.pos + 1;
            } else if (!walk.isCode(ch)) {
                break;
            }
            walk.step(c);
        }
        if (c.pos >= n) {
            close(n);
            return;
        }

        // The word: up to the next blank, tab or paragraph end, or just after a break character.
        const Cursor wordStart = c;
        std::int32_t wordEnd = c.pos;
        while (wordEnd < n) {
            const char ch = walk.text()[wordEnd];
            if (ch == ' ' || ch == '\t')
                break;
            ++wordEnd;
            if (isBreakChar(ch))
                break;
        }
        Cursor afterWord = wordStart;
        const std::int32_t w = measureSpan(walk, afterWord, wordEnd, chunk, measurer_);
        const bool fits = rules.columns ? wordEnd - lineStart.pos <= wrap : x + w <= wrap;
        if (fits) {
            c = afterWord;
            x += w;
            contentWidth = x;
            contentBlanks = blanks;
            contentJustify = justifyFrom;
            hasWord = true;
            continue;
        }
        if (hasWord) {
            if (!close(wordStart.pos))
                return;
            startLine(wordStart);
            continue;
        }

        // The word alone is too wide: split it, keeping at least one character per line.
        std::int32_t taken = 0;
        while (c.pos < wordEnd) {
            const char ch = walk.ch(c);
            if (walk.isCode(ch)) {
                walk.step(c);
                continue;
            }
            bool room;
            std::int32_t cw = 0;
            if (rules.columns) {
                room = c.pos + 1 - lineStart.pos <= wrap;
            } else {
                Cursor one = c;
                cw = measureSpan(walk, one, c.pos + 1, 1, measurer_);
                room = x + cw <= wrap;
            }
            if (!room && taken > 0)
                break;
            if (rules.columns) {
                Cursor one = c;
                cw = measureSpan(walk, one, c.pos + 1, 1, measurer_);
            }
            x += cw;
            ++taken;
            walk.step(c);
        }
        contentWidth = x;
        contentBlanks = blanks;
        contentJustify = justifyFrom;
        hasWord = true;
        if (c.pos >= wordEnd)
            continue; // the pieces measured alone fitted after all
        if (!close(c.pos))
            return;
        startLine(c);
    }
}

} // namespace velmora::core
