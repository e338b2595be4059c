// Key presses as a DOS program receives them: the PC scan code of the key's place and the
// character in code page 866.
#include "app/console/PcKeys.h"

#include <gtest/gtest.h>

namespace velmora::testing
{
namespace
{

using app::pcKey;

struct Press {
    int qtKey;
    Qt::KeyboardModifiers modifiers;
    const char16_t *text;
    std::uint8_t scanCode;
    std::uint8_t character;
};

TEST(PcKeys, EveryKindOfKeyGivesItsScanCodeAndCharacter)
{
    const Press presses[] = {
        {Qt::Key_Return, {}, u"\r", 0x1C, 0x0D},
        {Qt::Key_Enter, Qt::KeypadModifier, u"\r", 0x1C, 0x0D},
        {Qt::Key_Backspace, {}, u"\b", 0x0E, 0x08},
        {Qt::Key_Escape, {}, u"\x1b", 0x01, 0x1B},
        {Qt::Key_Tab, {}, u"\t", 0x0F, 0x09},
        {Qt::Key_Space, {}, u" ", 0x39, ' '},
        {Qt::Key_Up, {}, u"", 0x48, 0},
        {Qt::Key_Down, {}, u"", 0x50, 0},
        {Qt::Key_Left, {}, u"", 0x4B, 0},
        {Qt::Key_Right, {}, u"", 0x4D, 0},
        {Qt::Key_Delete, {}, u"\x7f", 0x53, 0},
        {Qt::Key_F1, {}, u"", 0x3B, 0},
        {Qt::Key_F10, {}, u"", 0x44, 0},
        {Qt::Key_F12, {}, u"", 0x86, 0},
        // Letters and digits, shifted or not, keep their key's scan code.
        {Qt::Key_A, {}, u"a", 0x1E, 'a'},
        {Qt::Key_A, Qt::ShiftModifier, u"A", 0x1E, 'A'},
        {Qt::Key_M, {}, u"m", 0x32, 'm'},
        {Qt::Key_1, {}, u"1", 0x02, '1'},
        {Qt::Key_0, {}, u"0", 0x0B, '0'},
        {Qt::Key_Exclam, Qt::ShiftModifier, u"!", 0x02, '!'},
        {Qt::Key_Slash, {}, u"/", 0x35, '/'},
        {Qt::Key_Question, Qt::ShiftModifier, u"?", 0x35, '?'},
        // A press without text (as from a script) takes the key's own character.
        {Qt::Key_Q, {}, u"", 0x10, 'Q'},
        // Cyrillic letters come from their keys in the Russian layout, in code page 866.
        {0x0424, {}, u"ф", 0x1E, 0xE4},
        {0x0424, Qt::ShiftModifier, u"Ф", 0x1E, 0x94},
        {0x042F, {}, u"я", 0x2C, 0xEF},
        {0x0419, {}, u"й", 0x10, 0xA9},
        {0x0401, {}, u"ё", 0x29, 0xF1},
        {0x042E, Qt::ShiftModifier, u"Ю", 0x34, 0x9E},
        // Ctrl with a letter types its control code; Alt gives the scan code alone.
        {Qt::Key_C, Qt::ControlModifier, u"\x03", 0x2E, 0x03},
        {Qt::Key_Z, Qt::ControlModifier, u"", 0x2C, 0x1A},
        {Qt::Key_X, Qt::AltModifier, u"x", 0x2D, 0},
    };
    for (const Press &press : presses) {
        const auto key = pcKey(press.qtKey, press.modifiers, QString::fromUtf16(press.text));
        ASSERT_TRUE(key) << std::hex << press.qtKey;
        EXPECT_EQ(key->scanCode, press.scanCode) << std::hex << press.qtKey;
        EXPECT_EQ(key->character, press.character) << std::hex << press.qtKey;
    }
}

TEST(PcKeys, KeysThePcCannotTypeGiveNothing)
{
    EXPECT_FALSE(pcKey(Qt::Key_Shift, Qt::ShiftModifier, {}));
    EXPECT_FALSE(pcKey(Qt::Key_Control, Qt::ControlModifier, {}));
    EXPECT_FALSE(pcKey(Qt::Key_Pause, {}, {}));
    // The euro sign has no place in code page 866; a question mark must not stand in for it.
    EXPECT_FALSE(pcKey(0x20AC, {}, QStringLiteral(u"€")));
    EXPECT_FALSE(pcKey(Qt::Key_1, Qt::ControlModifier, QStringLiteral("1")));
}

TEST(PcKeys, CtrlBreakIsTheStopKey)
{
    EXPECT_TRUE(app::isCtrlBreak(Qt::Key_Pause, Qt::ControlModifier));
    EXPECT_TRUE(app::isCtrlBreak(Qt::Key_Cancel, Qt::ControlModifier));
    EXPECT_FALSE(app::isCtrlBreak(Qt::Key_Pause, {}));
    EXPECT_FALSE(app::isCtrlBreak(Qt::Key_C, Qt::ControlModifier));
    // X11 gives Ctrl+Pause as the Break keysym, with no toolkit key.
    EXPECT_TRUE(app::isCtrlBreak(0, Qt::ControlModifier, 0xFF6B));
    EXPECT_FALSE(app::isCtrlBreak(0, Qt::ControlModifier, 0xFF13));
}

} // namespace
} // namespace velmora::testing
