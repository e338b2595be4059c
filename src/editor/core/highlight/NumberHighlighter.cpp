#include "editor/core/highlight/NumberHighlighter.h"

#include "editor/core/highlight/SourceHighlightEngine.h"

#include <algorithm>
#include <array>

namespace velmora::core
{

namespace
{

constexpr std::size_t kBatchSize = 16;
constexpr unsigned kAlwaysSeparators = 27; // codes 0 .. 26

bool isDecimal(char c)
{
    return c >= '0' && c <= '9';
}
bool isHex(char c)
{
    return isDecimal(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool isBinary(char c)
{
    return c == '0' || c == '1';
}
bool isOctal(char c)
{
    return c >= '0' && c <= '7';
}

// Assembler notation: the digits before the radix letter must all belong to that radix, and a
// hexadecimal number must begin with a decimal digit so that it is not taken for a name.
bool isAsmNumber(std::string_view word)
{
    if (word.empty() || !isDecimal(word[0]))
        return false;
    const auto all = [](std::string_view digits, bool (*inRadix)(char)) {
        return std::all_of(digits.begin(), digits.end(), inRadix);
    };
    const std::string_view digits = word.substr(0, word.size() - 1);
    switch (word.back()) {
    case 'h':
    case 'H':
        return all(digits, isHex);
    case 'b':
    case 'B':
        return all(digits, isBinary);
    case 'o':
    case 'O':
    case 'q':
    case 'Q':
        return all(digits, isOctal);
    case 'd':
    case 'D':
        return all(digits, isDecimal);
    default:
        return all(word, isDecimal);
    }
}

// The scope a run gives its text: 0 without attributes, -32768 for attributes without a span,
// else its context number.
std::int16_t scopeOf(const RunState &run)
{
    if (!hasAttributes(run))
        return 0;
    if (!isSpan(run))
        return -32768;
    return static_cast<std::int16_t>(run.contextNum);
}

} // namespace

TNumberHighlighter::TNumberHighlighter()
{
    setForeground(clRed);
    setSeparators("\t ,.;");
}

std::string TNumberHighlighter::Separators() const
{
    std::string text;
    for (unsigned c = kAlwaysSeparators; c < 256; ++c)
        if (separatorSet().test(c))
            text += static_cast<char>(c);
    return text;
}

void TNumberHighlighter::setSeparators(std::string_view text)
{
    SeparatorSet set = makeSeparators(text);
    for (unsigned c = 0; c < kAlwaysSeparators; ++c)
        set.set(c);
    setSeparatorSet(set);
}

bool TNumberHighlighter::isNumber(std::string_view word) const
{
    if (asmNotation_)
        return isAsmNumber(word);
    if (word.empty())
        return false;
    if (word[0] == '$')
        return std::all_of(word.begin() + 1, word.end(), isHex);
    if (cTypeHex_ && word.size() >= 2 && word[0] == '0' && word[1] == 'x')
        return std::all_of(word.begin() + 2, word.end(), isHex);
    return std::all_of(word.begin(), word.end(), isDecimal);
}

bool TNumberHighlighter::admitsNumbers(const RunState &run)
{
    const std::int16_t scope = scopeOf(run);
    bool doHighlight = scope == scope_ || priority_ > 0;
    if (OnQueryHighlight)
        OnQueryHighlight(*this, scope, doHighlight);
    return doHighlight;
}

void TNumberHighlighter::HighlightKeywords(THighlightScan &scan, std::int32_t keywordBase, std::int32_t startStopBase)
{
    if (Enabled() && keywordBase <= 32767) {
        TParagraphsList &store = scan.engine.paragraphs();
        ParInfo &par = *store.par(scan.par);
        const std::string_view text = store.textOf(scan.par);
        const auto len = static_cast<std::int32_t>(text.size());
        const auto separatorAt = [&](std::int32_t i) {
            return isSeparator(static_cast<unsigned char>(text[static_cast<std::size_t>(i)]));
        };
        // Widen by one character on each side and begin at a word start, so that an edit
        // inside a number re-examines the whole word.
        std::int32_t from = std::clamp(scan.pos >= 1 ? scan.pos - 1 : scan.pos, 0, len);
        const std::int32_t to = std::clamp(scan.end < len ? scan.end + 1 : len, 0, len);
        while (from > 0 && !separatorAt(from - 1))
            --from;

        struct Number {
            std::int32_t at, end;
        };
        std::array<Number, kBatchSize> batch;
        std::size_t batched = 0;
        bool applied = false;
        const auto applyBatch = [&] {
            TKeyAttributes look;
            look.KeyStyle = static_cast<std::uint8_t>(Style() | (AltFont() ? kStyleAltFont : 0));
            look.Background = Background();
            look.Foreground = Foreground();
            look.ContextNum = ContextNum();
            look.Cursor = kCursorDefault;
            for (std::size_t b = 0; b < batched; ++b) {
                const Number &n = batch[b];
                applied |= spanStates_.put(par, n.at, n.end, look, static_cast<std::int16_t>(keywordBase), false);
            }
            batched = 0;
        };
        for (std::int32_t i = from; i < to;) {
            if (separatorAt(i)) {
                ++i;
                continue;
            }
            const std::int32_t r = runAfter(par, i); // the run after the one in force
            const std::int32_t nextRun = r < par.runCount() ? par.runPosition(r) : par.length();
            if (!admitsNumbers(r > 0 ? par.runState(r - 1) : *par.startRun())) {
                i = nextRun;
                continue;
            }
            std::int32_t end = i;
            while (end < len && !separatorAt(end))
                ++end;
            if (end <= nextRun &&
                isNumber(text.substr(static_cast<std::size_t>(i), static_cast<std::size_t>(end - i)))) {
                if (batched == kBatchSize)
                    applyBatch();
                batch[batched++] = {i, end};
            }
            i = end;
        }
        applyBatch();
        if (applied)
            scan.engine.runsChanged(scan.par);
    }
    chainKeywords(scan, keywordBase + 1, startStopBase);
}

} // namespace velmora::core
