#include "app/console/PcKeys.h"

#include "editor/core/text/CodePages.h"

#include <string_view>

namespace velmora::app
{

namespace
{

struct FixedKey {
    int qtKey;
    std::uint8_t scanCode;
    std::uint8_t character;
};

// Keys whose code does not depend on the layout.
constexpr FixedKey kFixedKeys[] = {
    {Qt::Key_Escape, 0x01, 0x1B}, {Qt::Key_Backspace, 0x0E, 0x08}, {Qt::Key_Tab, 0x0F, 0x09},
    {Qt::Key_Return, 0x1C, 0x0D}, {Qt::Key_Enter, 0x1C, 0x0D},     {Qt::Key_Space, 0x39, 0x20},
    {Qt::Key_Home, 0x47, 0},      {Qt::Key_Up, 0x48, 0},           {Qt::Key_PageUp, 0x49, 0},
    {Qt::Key_Left, 0x4B, 0},      {Qt::Key_Right, 0x4D, 0},        {Qt::Key_End, 0x4F, 0},
    {Qt::Key_Down, 0x50, 0},      {Qt::Key_PageDown, 0x51, 0},     {Qt::Key_Insert, 0x52, 0},
    {Qt::Key_Delete, 0x53, 0},    {Qt::Key_F11, 0x85, 0},          {Qt::Key_F12, 0x86, 0},
};

// The character keys row by row, with the scan code of each row's first key: unshifted,
// shifted, and the Russian layout's letters on the same keys.
struct KeyRow {
    std::uint8_t firstScanCode;
    std::u16string_view keys;
};
constexpr KeyRow kRows[] = {
    {0x02, u"1234567890-="}, {0x10, u"QWERTYUIOP[]"}, {0x1E, u"ASDFGHJKL;'`"},  {0x2B, u"\\ZXCVBNM,./"},
    {0x02, u"!@#$%^&*()_+"}, {0x10, u"QWERTYUIOP{}"}, {0x1E, u"ASDFGHJKL:\"~"}, {0x2B, u"|ZXCVBNM<>?"},
    {0x10, u"ЙЦУКЕНГШЩЗХЪ"}, {0x1E, u"ФЫВАПРОЛДЖЭЁ"}, {0x2B, u"\\ЯЧСМИТЬБЮ."},
};

std::optional<std::uint8_t> scanCodeOf(QChar character)
{
    const char16_t upper = character.toUpper().unicode();
    for (const KeyRow &row : kRows)
        if (const auto at = row.keys.find(upper); at != std::u16string_view::npos)
            return std::uint8_t(row.firstScanCode + at);
    return std::nullopt;
}

// The character of a toolkit key code (the capital for a letter key), for presses that
// bring no text, as Ctrl and Alt combinations and scripted presses may.
QChar keyCharacter(int qtKey)
{
    return qtKey >= 0x20 && qtKey < 0x10000 ? QChar(char16_t(qtKey)) : QChar();
}

} // namespace

bool isCtrlBreak(int qtKey, Qt::KeyboardModifiers modifiers, quint32 nativeKey)
{
    constexpr quint32 kX11BreakKeysym = 0xFF6B;
    if (qtKey == 0 && nativeKey == kX11BreakKeysym)
        return true;
    return (qtKey == Qt::Key_Pause || qtKey == Qt::Key_Cancel) && (modifiers & Qt::ControlModifier);
}

std::optional<machine::Key> pcKey(int qtKey, Qt::KeyboardModifiers modifiers, const QString &text)
{
    for (const FixedKey &key : kFixedKeys)
        if (key.qtKey == qtKey)
            return machine::Key{key.scanCode, key.character};
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F10)
        return machine::Key{std::uint8_t(0x3B + (qtKey - Qt::Key_F1)), 0};

    const QChar typed = !text.isEmpty() && text.at(0).unicode() >= 0x20 ? text.at(0) : keyCharacter(qtKey);
    if (typed.isNull())
        return std::nullopt;
    const std::optional<std::uint8_t> scanCode = scanCodeOf(typed);
    if (modifiers & Qt::ControlModifier) {
        // Ctrl with a letter types the control code of that letter.
        if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
            return machine::Key{*scanCodeOf(QChar(char16_t(qtKey))), std::uint8_t(qtKey - Qt::Key_A + 1)};
        return std::nullopt;
    }
    if (modifiers & Qt::AltModifier)
        return scanCode ? std::optional(machine::Key{*scanCode, 0}) : std::nullopt;

    const char16_t unicode = typed.unicode();
    const std::string bytes = core::encode(std::u16string_view(&unicode, 1), core::CodePage::Dos866);
    if (bytes.size() != 1 || (bytes[0] == '?' && unicode != u'?'))
        return std::nullopt;
    return machine::Key{scanCode.value_or(0), std::uint8_t(bytes[0])};
}

} // namespace velmora::app
