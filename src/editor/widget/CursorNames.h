// The platform's standard mouse pointers by name and number, as keyword entries store
// them (crDefault 0, crArrow -2, ..., crHandPoint -21).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace velmora::widget
{

struct CursorName {
    const char *Name;
    std::int16_t Value;
};

// Every standard pointer, in the order a pointer choice lists them.
std::span<const CursorName> standardCursors();

// The pointer's name, or its number in decimal when it has none.
std::string cursorToString(std::int16_t cursor);
// The number of a named pointer, or nullopt for a name that is not one of them.
std::optional<std::int16_t> cursorFromName(std::string_view name);

} // namespace velmora::widget
