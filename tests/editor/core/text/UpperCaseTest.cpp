#include "editor/core/text/UpperCase.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace velmora::core;

namespace {
std::string folded(std::string s, TsmUpperCase t)
{
    foldUpper(s.data(), s.size(), t);
    return s;
}
void reverseHook(char *z)
{
    for (; *z; ++z)
        if (*z == 'x')
            *z = 'Y';
}
} // namespace

TEST(UpperCase, AsciiLeavesCyrillicAlone)
{
    EXPECT_EQ(folded("mov ax,\xE0\xFF", smuAscii), "MOV AX,\xE0\xFF");
}

TEST(UpperCase, AnsiFoldsWindows1251Letters)
{
    EXPECT_EQ(folded("mov \xE0\xFF\xB8\xB3", smuAnsi), "MOV \xC0\xDF\xA8\xB2");
    EXPECT_EQ(ansiUpper(0xD7), 0xD7); // already upper case
}

TEST(UpperCase, UserHookFoldsAroundNulsAndFallsBackToAscii)
{
    EXPECT_EQ(folded("ax", smuUserDefined), "AX");
    setUserUpperCaseHook(reverseHook);
    EXPECT_EQ(folded(std::string("xa\0x", 4), smuUserDefined), std::string("Ya\0Y", 4));
    setUserUpperCaseHook(nullptr);
}

TEST(UpperCase, LongTextFoldsAsByteByByte)
{
    // Random lengths and offsets around the eight-byte steps, with the bytes next to a-z and
    // high bytes mixed in, against the one-byte rules.
    const std::string edges = "`az{@AZ[\x7F\x80\xE0\xFF\xB8 \t;0";
    std::mt19937 rng(23);
    for (int round = 0; round < 2000; ++round) {
        std::string text(std::uniform_int_distribution<std::size_t>(0, 40)(rng), ' ');
        for (char &c : text)
            c = rng() % 3 == 0 ? static_cast<char>(rng() % 256) : edges[rng() % edges.size()];
        for (const TsmUpperCase type : {smuAscii, smuAnsi}) {
            std::string expected = text;
            for (char &c : expected) {
                const auto b = static_cast<std::uint8_t>(c);
                c = static_cast<char>(type == smuAnsi ? ansiUpper(b) : asciiUpper(b));
            }
            const std::size_t offset = text.empty() ? 0 : rng() % text.size();
            std::string got = text;
            foldUpper(got.data() + offset, got.size() - offset, type);
            ASSERT_EQ(got.substr(offset), expected.substr(offset)) << "round " << round;
            ASSERT_EQ(got.substr(0, offset), text.substr(0, offset));
        }
    }
}
