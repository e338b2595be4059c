#include "editor/core/text/UpperCase.h"

#include <gtest/gtest.h>

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
