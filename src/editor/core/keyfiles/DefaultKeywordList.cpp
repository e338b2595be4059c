#include "editor/core/keyfiles/DefaultKeywordList.h"

#include "editor/core/keyfiles/KeywordList.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace velmora::core
{

namespace
{

constexpr std::array<std::string_view, 157> kMnemonics = {
    "AND",   "ASM",   "AAA",   "AAS",   "AAD",   "AAM",    "ADC",    "ADD",   "BOUND",  "BSF",    "BSR",     "BT",
    "BTC",   "BTR",   "BTS",   "CALL",  "CMP",   "CBW",    "CWD",    "CDQ",   "CWDE",   "CLC",    "CLD",     "CLI",
    "CMC",   "CMPSB", "CMPSD", "CMPSW", "DAA",   "DAS",    "DEC",    "ENTER", "HLT",    "IDIV",   "IMUL",    "INC",
    "INSB",  "INSW",  "INSD",  "INT",   "INTO",  "IRET",   "IRETD",  "JA",    "JAE",    "JBE",    "JC",      "JE",
    "JCXZ",  "JG",    "JGE",   "JMP",   "JO",    "JNA",    "JNO",    "JB",    "JNAE",   "JNB",    "JNC",     "JZ",
    "JNE",   "JNZ",   "JNBE",  "JS",    "JNS",   "JP",     "JPE",    "JNP",   "JPO",    "JL",     "JNGE",    "JNL",
    "JLE",   "JNG",   "JNLE",  "JECXZ", "LAHF",  "LEA",    "LEAVE",  "LDS",   "LES",    "LFS",    "LGS",     "LODSB",
    "LODSW", "LODSD", "LOOP",  "LOCK",  "REP",   "REPE",   "REPZ",   "REPNE", "REPNZ",  "SEGES",  "SEGCS",   "SEGSS",
    "SEGDS", "SEGFS", "SEGGS", "LOOPE", "LOOPZ", "LOOPNE", "LOOPNZ", "LOOPD", "LOOPDE", "LOOPDZ", "LOOPDNE", "LOOPDNZ",
    "MOV",   "MOVSX", "MOVZX", "MOVSB", "MOVSW", "MOVSD",  "MUL",    "NEG",   "NOP",    "OUTSB",  "OUTSW",   "OUTSD",
    "POP",   "POPF",  "POPA",  "POPAD", "POPFD", "PUSH",   "PUSHF",  "PUSHA", "PUSHAD", "PUSHFD", "RET",     "RETN",
    "RETF",  "SUB",   "SBB",   "RCL",   "RCR",   "ROL",    "ROR",    "SAL",   "SAR",    "SHLD",   "SHRD",    "SAHF",
    "SCASB", "SCASW", "SCASD", "STC",   "STD",   "STI",    "STOSB",  "STOSW", "STOSD",  "TEST",   "WAIT",    "XCHG",
    "XLAT"};

struct Directive {
    std::string_view text;
    std::int32_t foreground;
};

constexpr std::array<Directive, 3> kDirectives = {{{".data", 0xF3F3F3}, {".code", 0xEEEEEE}, {"End", 0xEFEFEF}}};

// Keywords of the default list that prose uses as words, and ASM, which names source files.
constexpr std::array<std::string_view, 11> kProseWords = {"AND",   "ASM",  "CALL", "End",  "ENTER", "INTO",
                                                          "LEAVE", "LOCK", "LOOP", "TEST", "WAIT"};

constexpr std::int32_t kMnemonicForeground = 0xF5F5F5;
constexpr std::int32_t kMnemonicContext = 7;
constexpr std::int32_t kDirectiveContext = 1;
constexpr std::int32_t kNoColour = -1;

} // namespace

void fillDefaultKeywordList(TKeywordList &list)
{
    UpdateGuard update(list);
    list.Clear();
    for (const auto mnemonic : kMnemonics)
        list.AddKeyword(mnemonic, kOptWholeWords, kStyleBold, kMnemonicContext, kCursorDefault, kNoColour,
                        kMnemonicForeground);
    for (const auto &directive : kDirectives)
        list.AddKeyword(directive.text, kOptWholeWords, kStyleBold, kDirectiveContext, kCursorDefault, kNoColour,
                        directive.foreground);
    list.AddKeyword(kDefaultWebAddressKeyword, 0, kStyleUnderline, kDirectiveContext, kCursorHandPoint, kNoColour,
                    kDefaultWebAddressForeground);
}

void fillProseKeywordList(TKeywordList &list)
{
    UpdateGuard update(list);
    fillDefaultKeywordList(list);
    for (int i = list.Count() - 1; i >= 0; --i)
        if (std::find(kProseWords.begin(), kProseWords.end(), list.Get(i)) != kProseWords.end())
            list.Delete(i);
}

std::vector<std::string> defaultKeywordNames()
{
    TKeywordList list;
    fillDefaultKeywordList(list);
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(list.Count()));
    for (int i = 0; i < list.Count(); ++i)
        names.push_back(list.Get(i));
    return names;
}

} // namespace velmora::core
