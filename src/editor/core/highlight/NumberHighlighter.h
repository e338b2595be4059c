// TNumberHighlighter: highlights numeric literals. A word (text between separators) is a number
// when it is "$" followed by hexadecimal digits, "0x" followed by hexadecimal digits (with
// CTypeHex), or decimal digits only; "$" and "0x" alone count. In assembler notation a number
// is instead decimal digits with an optional "d", hexadecimal digits led by a decimal digit and
// followed by "h" (0FFh), binary digits followed by "b" or octal digits followed by "o" or "q"
// (letters of either case). Numbers get runs with this component's look and ContextNum, so the
// editor's keywords do not match over them.
#pragma once

#include "editor/core/highlight/ExtHighlighter.h"
#include "editor/core/highlight/SpanStates.h"
#include "editor/core/text/StyleBits.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::core
{

class TNumberHighlighter : public TCustomExtHighlighter
{
public:
    TNumberHighlighter();

    bool AltFont() const { return altFont_; }
    void setAltFont(bool on) { altFont_ = on; }
    std::int16_t ContextNum() const { return contextNum_; }
    void setContextNum(std::int16_t n) { contextNum_ = n; }
    bool CTypeHex() const { return cTypeHex_; }
    void setCTypeHex(bool on) { cTypeHex_ = on; }
    bool AsmNotation() const { return asmNotation_; }
    void setAsmNotation(bool on) { asmNotation_ = on; }
    // The characters 27 .. 255 of the separator set, ascending.
    std::string Separators() const;
    // The set becomes the codes 0 .. 26 and the characters of text.
    void setSeparators(std::string_view text);
    // Font style bits: bold, italic, underline, strike-out.
    std::uint8_t Style() const { return style_; }
    void setStyle(std::uint8_t style) { style_ = style & kFontStyleBits; }
    std::int32_t Scope() const { return scope_; }
    void setScope(std::int32_t scope) { scope_ = scope; }
    // Above 0, numbers are highlighted in every scope.
    std::int32_t Priority() const { return priority_; }
    void setPriority(std::int32_t priority) { priority_ = priority; }

    // Sender, scope of the run in force, DoHighlight: may overrule whether numbers are
    // highlighted there.
    std::function<void(TNumberHighlighter &, std::int16_t, bool &)> OnQueryHighlight;

    // The number pass, in place of the extended keyword pass.
    void HighlightKeywords(THighlightScan &scan, std::int32_t keywordBase, std::int32_t startStopBase) override;

    // Whether text is a number by the rules above.
    bool isNumber(std::string_view text) const;

private:
    struct Number {
        std::int32_t at, end;
    };
    bool admitsNumbers(const RunState &run);
    // Fills numbers_ with the numbers of par's text around [pos, end) that its runs admit.
    void findNumbers(const ParInfo &par, std::string_view text, std::int32_t pos, std::int32_t end);

    bool altFont_ = false;
    std::int16_t contextNum_ = 3000;
    bool cTypeHex_ = false;
    bool asmNotation_ = false;
    std::uint8_t style_ = 0;
    std::int32_t scope_ = 0;
    std::int32_t priority_ = 0;
    TSpanStates spanStates_;
    std::vector<Number> numbers_;
};

} // namespace velmora::core
