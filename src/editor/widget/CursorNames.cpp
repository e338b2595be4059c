#include "editor/widget/CursorNames.h"

#include <array>

namespace velmora::widget
{

namespace
{

constexpr std::array<CursorName, 22> kCursors{{
    {"crDefault", 0},     {"crNone", -1},     {"crArrow", -2},    {"crCross", -3},     {"crIBeam", -4},
    {"crSizeNESW", -6},   {"crSizeNS", -7},   {"crSizeNWSE", -8}, {"crSizeWE", -9},    {"crUpArrow", -10},
    {"crHourGlass", -11}, {"crDrag", -12},    {"crNoDrop", -13},  {"crHSplit", -14},   {"crVSplit", -15},
    {"crMultiDrag", -16}, {"crSQLWait", -17}, {"crNo", -18},      {"crAppStart", -19}, {"crHelp", -20},
    {"crHandPoint", -21}, {"crSizeAll", -22},
}};

} // namespace

std::span<const CursorName> standardCursors()
{
    return kCursors;
}

std::string cursorToString(std::int16_t cursor)
{
    for (const auto &c : kCursors)
        if (c.Value == cursor)
            return c.Name;
    return std::to_string(cursor);
}

std::optional<std::int16_t> cursorFromName(std::string_view name)
{
    for (const auto &c : kCursors)
        if (name == c.Name)
            return c.Value;
    return std::nullopt;
}

} // namespace velmora::widget
