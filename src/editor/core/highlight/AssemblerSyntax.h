// The main editor's look of assembler source: every 8086-80386 and x87 mnemonic, the registers,
// the directives and operators (MASM and IDEAL mode) as keywords, comments and strings as spans
// in which no keyword or number is highlighted, and numbers in assembler notation. The keyword
// lists of the other editors (the default list) are not affected.
#pragma once

#include <cstdint>

namespace velmora::core
{

class TKeywordList;
class TStartStopKeyList;
class TNumberHighlighter;

// Colours (red in the low byte) chosen to read well on the editor's black background.
struct TAssemblerColours {
    std::int32_t instruction = 0xF5F5F5; // near white, bold
    std::int32_t reg = 0x78D7FF;         // light amber
    std::int32_t directive = 0xFFA0D2;   // lavender, bold
    std::int32_t comment = 0x9A9A9A;     // grey, italic
    std::int32_t string = 0x60A0FF;      // orange
};

// Context numbers of the groups; every one is non-zero, so keywords never match inside the spans.
inline constexpr std::int32_t kAsmDirectiveContext = 1;
inline constexpr std::int32_t kAsmRegisterContext = 2;
inline constexpr std::int32_t kAsmCommentContext = 4;
inline constexpr std::int32_t kAsmStringContext = 5;
inline constexpr std::int32_t kAsmInstructionContext = 7;

// The editor's word separators: the component's default set plus the brackets and arithmetic
// signs of operands, so that "si" in "[si+1]" is a word of its own.
inline constexpr const char *kAsmSeparators = "\t\n\r $%&,./:;<=>[]()+-*";
// The number highlighter's separators: "." and "$" stay parts of words, so 1.5 and $ are no numbers.
inline constexpr const char *kAsmNumberSeparators = " ,;[]()+-*/:<>=";

// Replaces the list by the instructions, registers, directives and operators.
void fillAssemblerKeywordList(TKeywordList &list, const TAssemblerColours &colours = {});
// Replaces the keys by the comment (";" to the end of the line) and the two string forms.
void fillAssemblerStartStopKeys(TStartStopKeyList &keys, const TAssemblerColours &colours = {});
// Switches the number highlighter to assembler notation with the separators above; its colour
// stays the caller's.
void useAssemblerNumbers(TNumberHighlighter &numbers);

} // namespace velmora::core
