#include "editor/core/highlight/NumberHighlighter.h"

#include "editor/core/highlight/SourceHighlightEngine.h"

#include <algorithm>

namespace velmora::core
{

namespace
{

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
        findNumbers(par, store.textOf(scan.par), scan.pos, scan.end);
        TKeyAttributes look;
        look.KeyStyle = static_cast<std::uint8_t>(Style() | (AltFont() ? kStyleAltFont : 0));
        look.Background = Background();
        look.Foreground = Foreground();
        look.ContextNum = ContextNum();
        look.Cursor = kCursorDefault;
        bool applied = false;
        for (const Number &n : numbers_)
            applied |= spanStates_.put(par, n.at, n.end, look, static_cast<std::int16_t>(keywordBase), false);
        if (applied)
            scan.engine.runsChanged(scan.par);
    }
    chainKeywords(scan, keywordBase + 1, startStopBase);
}

void TNumberHighlighter::findNumbers(const ParInfo &par, std::string_view text, std::int32_t pos, std::int32_t end)
{
    numbers_.clear();
    const auto len = static_cast<std::int32_t>(text.size());
    const SeparatorSet &separators = separatorSet();
    const auto separatorAt = [&](std::int32_t i) {
        return separators[static_cast<unsigned char>(text[static_cast<std::size_t>(i)])];
    };
    // Widen by one character on each side and begin at a word start, so that an edit inside a
    // number re-examines the whole word.
    std::int32_t i = std::clamp(pos >= 1 ? pos - 1 : pos, 0, len);
    const std::int32_t to = std::clamp(end < len ? end + 1 : len, 0, len);
    while (i > 0 && !separatorAt(i - 1))
        --i;
    // A number's span ends before the next word, and puts back the state in force there: the
    // words after it see the runs in force as they were, so the numbers are all found first.
    std::int32_t r = runAfter(par, i); // the run after the one in force at i
    while (i < to) {
        if (separatorAt(i)) {
            ++i;
            continue;
        }
        while (r < par.runCount() && par.runPosition(r) <= i)
            ++r;
        const std::int32_t nextRun = r < par.runCount() ? par.runPosition(r) : par.length();
        if (!admitsNumbers(r > 0 ? par.runState(r - 1) : *par.startRun())) {
            i = nextRun;
            continue;
        }
        std::int32_t wordEnd = i + 1;
        while (wordEnd < len && !separatorAt(wordEnd))
            ++wordEnd;
        if (wordEnd <= nextRun &&
            isNumber(text.substr(static_cast<std::size_t>(i), static_cast<std::size_t>(wordEnd - i))))
            numbers_.push_back({i, wordEnd});
        i = wordEnd;
    }
}

} // namespace velmora::core
