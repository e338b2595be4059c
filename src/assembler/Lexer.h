// The reader of one source line: names, numbers in TASM's notation, quoted strings and
// punctuation. Names keep their spelling; comparisons upper-case them (TASM is
// case-insensitive by default).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::assembler
{

enum class TokenKind { Name, Number, String, Punct, End };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;       // the name as written, the string's contents, or the punctuation
    std::int64_t value = 0; // a number's value
    std::size_t column = 0; // where the token starts in the line
    bool bad = false;       // a number that is not valid in its radix

    bool is(char punct) const { return kind == TokenKind::Punct && text.size() == 1 && text[0] == punct; }
    // A name compared without regard to letter case; `upper` must be upper case.
    bool isName(std::string_view upper) const;
};

std::string upperCase(std::string_view text);

// A number as TASM reads it: starts with a digit, radix from the suffix h, b, o, q or d
// (decimal without one). Empty when the digits do not fit the radix.
std::optional<std::int64_t> parseNumber(std::string_view text);

// The tokens of a line up to its comment, ending with one End token. A name may start with
// a dot (".model") where a dot cannot be the structure field operator.
std::vector<Token> tokenize(std::string_view line);

// The offset of the comment's ';' in the line, or the line's length.
std::size_t commentStart(std::string_view line);

} // namespace velmora::assembler
