#include "assembler/Lexer.h"

#include <cctype>

namespace velmora::assembler
{

namespace
{

bool isNameStart(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == '@' || c == '$' || c == '?';
}

bool isNameChar(char c)
{
    return isNameStart(c) || std::isdigit(static_cast<unsigned char>(c));
}

int digitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

std::optional<std::int64_t> digitsInRadix(std::string_view digits, int radix)
{
    if (digits.empty())
        return std::nullopt;
    std::int64_t value = 0;
    for (char c : digits) {
        const int digit = digitValue(c);
        if (digit >= radix)
            return std::nullopt;
        value = (value * radix + digit) & 0xFFFFFFFFLL;
    }
    return value;
}

} // namespace

bool Token::isName(std::string_view upper) const
{
    if (kind != TokenKind::Name || text.size() != upper.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(text[i])) != upper[i])
            return false;
    return true;
}

std::string upperCase(std::string_view text)
{
    std::string result(text);
    for (char &c : result)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

std::optional<std::int64_t> parseNumber(std::string_view text)
{
    if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0])))
        return std::nullopt;
    const char suffix = static_cast<char>(std::toupper(static_cast<unsigned char>(text.back())));
    const std::string_view body = text.substr(0, text.size() - 1);
    switch (suffix) {
    case 'H':
        return digitsInRadix(body, 16);
    case 'O':
    case 'Q':
        return digitsInRadix(body, 8);
    case 'B':
        if (auto binary = digitsInRadix(body, 2))
            return binary;
        return digitsInRadix(text, 10);
    case 'D':
        if (auto decimal = digitsInRadix(body, 10))
            return decimal;
        return std::nullopt;
    default:
        return digitsInRadix(text, 10);
    }
}

std::size_t commentStart(std::string_view line)
{
    char quote = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == ';') {
            return i;
        }
    }
    return line.size();
}

std::vector<Token> tokenize(std::string_view line)
{
    std::vector<Token> tokens;
    tokens.reserve(12);
    const std::size_t end = commentStart(line);
    std::size_t i = 0;
    while (i < end) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\x1a') {
            ++i;
            continue;
        }
        Token token;
        token.column = i;
        const bool dotMayStartName = tokens.empty() || (tokens.back().kind == TokenKind::Punct &&
                                                        !tokens.back().is(']') && !tokens.back().is(')'));
        if (std::isdigit(static_cast<unsigned char>(c))) {
            std::size_t j = i;
            while (j < end && std::isalnum(static_cast<unsigned char>(line[j])))
                ++j;
            token.kind = TokenKind::Number;
            token.text = std::string(line.substr(i, j - i));
            if (auto value = parseNumber(token.text))
                token.value = *value;
            else
                token.bad = true;
            i = j;
        } else if (isNameStart(c) || (c == '.' && dotMayStartName && i + 1 < end && isNameChar(line[i + 1]))) {
            std::size_t j = i + 1;
            while (j < end && isNameChar(line[j]))
                ++j;
            token.kind = TokenKind::Name;
            token.text = std::string(line.substr(i, j - i));
            i = j;
        } else if (c == '\'' || c == '"') {
            token.kind = TokenKind::String;
            std::size_t j = i + 1;
            for (;;) {
                if (j >= end) {
                    token.bad = true;
                    break;
                }
                if (line[j] == c) {
                    if (j + 1 < end && line[j + 1] == c) {
                        token.text += c;
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                token.text += line[j++];
            }
            i = j;
        } else {
            token.kind = TokenKind::Punct;
            token.text = std::string(1, c);
            ++i;
        }
        tokens.push_back(std::move(token));
    }
    Token endToken;
    endToken.column = end;
    tokens.push_back(endToken);
    return tokens;
}

} // namespace velmora::assembler
