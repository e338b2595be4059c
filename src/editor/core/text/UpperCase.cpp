#include "editor/core/text/UpperCase.h"

#include <array>
#include <cstring>
#include <string>

namespace velmora::core {

namespace {

UserUpperCaseHook g_hook = nullptr;

// Windows-1251: Latin a-z, Cyrillic а-я (E0-FF -> C0-DF) and the letters outside that range.
std::array<std::uint8_t, 256> makeAnsiTable()
{
    std::array<std::uint8_t, 256> t{};
    for (int i = 0; i < 256; ++i)
        t[i] = static_cast<std::uint8_t>(i);
    for (int c = 'a'; c <= 'z'; ++c)
        t[c] = static_cast<std::uint8_t>(c - 32);
    for (int c = 0xE0; c <= 0xFF; ++c)
        t[c] = static_cast<std::uint8_t>(c - 32);
    const std::uint8_t pairs[][2] = {{0x90, 0x80}, {0x83, 0x81}, {0x9A, 0x8A}, {0x9C, 0x8C}, {0x9D, 0x8D},
                                     {0x9E, 0x8E}, {0x9F, 0x8F}, {0xA2, 0xA1}, {0xB3, 0xB2}, {0xB4, 0xA5},
                                     {0xB8, 0xA8}, {0xBA, 0xAA}, {0xBC, 0xA3}, {0xBE, 0xBD}, {0xBF, 0xAF}};
    for (const auto &p : pairs)
        t[p[0]] = p[1];
    return t;
}

const std::array<std::uint8_t, 256> kAnsiUpper = makeAnsiTable();

// Both rules fold a-z alone below 80h: eight such bytes at a time are folded in one word, the
// other bytes one by one with fold.
template <class Fold> void foldWords(std::uint8_t *p, std::size_t len, Fold fold)
{
    constexpr std::uint64_t kHigh = 0x8080808080808080ull;
    std::size_t i = 0;
    for (; i + 8 <= len; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, p + i, 8);
        if (w & kHigh) {
            for (std::size_t k = i; k < i + 8; ++k)
                p[k] = fold(p[k]);
            continue;
        }
        // A byte's high bit is set by adding 80h - 'a' when it is 'a' or above, and by adding
        // 80h - 'z' - 1 when it is above 'z'; no sum carries into the next byte.
        const std::uint64_t fromA = w + 0x1F1F1F1F1F1F1F1Full;
        const std::uint64_t pastZ = w + 0x0505050505050505ull;
        const std::uint64_t lower = fromA & ~pastZ & kHigh;
        w ^= lower >> 2; // 80h >> 2 is the case bit 20h
        std::memcpy(p + i, &w, 8);
    }
    for (; i < len; ++i)
        p[i] = fold(p[i]);
}

} // namespace

void setUserUpperCaseHook(UserUpperCaseHook hook) { g_hook = hook; }

UserUpperCaseHook userUpperCaseHook() { return g_hook; }

std::uint8_t asciiUpper(std::uint8_t c) { return c >= 'a' && c <= 'z' ? static_cast<std::uint8_t>(c - 32) : c; }

std::uint8_t ansiUpper(std::uint8_t c) { return kAnsiUpper[c]; }

void foldUpper(char *text, std::size_t len, TsmUpperCase type)
{
    if (type == smuUserDefined && g_hook) {
        // The hook works on NUL-terminated text: fold each NUL-free stretch on its own.
        std::string buf;
        std::size_t start = 0;
        while (start < len) {
            const void *nul = std::memchr(text + start, 0, len - start);
            const std::size_t end = nul ? static_cast<std::size_t>(static_cast<const char *>(nul) - text) : len;
            buf.assign(text + start, end - start);
            g_hook(buf.data());
            std::memcpy(text + start, buf.data(), end - start);
            start = end + 1;
        }
        return;
    }
    auto *p = reinterpret_cast<std::uint8_t *>(text);
    if (type == smuAnsi)
        foldWords(p, len, [](std::uint8_t c) { return kAnsiUpper[c]; });
    else
        foldWords(p, len, asciiUpper);
}

} // namespace velmora::core
