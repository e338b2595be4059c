// Numbers the debugger views show and read back.
#include "app/debug/HexText.h"

#include <gtest/gtest.h>

namespace velmora::testing
{
namespace
{

using app::parseHex;

TEST(HexText, ShowsFixedWidthUpperCaseHexAndSegmentOffset)
{
    EXPECT_EQ(app::hexText(0x3A, 4), QStringLiteral("003A"));
    EXPECT_EQ(app::hexText(0xBEEF, 4), QStringLiteral("BEEF"));
    EXPECT_EQ(app::hexText(0, 2), QStringLiteral("00"));
    EXPECT_EQ(app::addressText(0xB800, 0x00A0), QStringLiteral("B800:00A0"));
}

TEST(HexText, ReadsHexWithOrWithoutHUpToTheLargestValue)
{
    EXPECT_EQ(parseHex(QStringLiteral("beef"), 0xFFFF), 0xBEEF);
    EXPECT_EQ(parseHex(QStringLiteral(" 0FFFFh "), 0xFFFF), 0xFFFF);
    EXPECT_EQ(parseHex(QStringLiteral("7FH"), 0xFF), 0x7F);
    EXPECT_EQ(parseHex(QStringLiteral("00000001"), 0xFF), 1) << "leading zeros are no size";
    EXPECT_EQ(parseHex(QStringLiteral("0"), 0xFF), 0);

    for (const char *bad : {"", "h", "  ", "10000", "0x12", "+1", "-1", "1 2", "12g", "1hh", "99999999999999999999"})
        EXPECT_EQ(parseHex(QString::fromLatin1(bad), 0xFFFF), std::nullopt) << bad;
    EXPECT_EQ(parseHex(QStringLiteral("100"), 0xFF), std::nullopt);
    EXPECT_EQ(parseHex(QStringLiteral(u"１２"), 0xFF), std::nullopt) << "only ASCII digits";
}

} // namespace
} // namespace velmora::testing
