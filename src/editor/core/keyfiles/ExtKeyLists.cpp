#include "editor/core/keyfiles/ExtKeyLists.h"

#include "editor/core/keyfiles/KeyInfoNameValues.h"

namespace velmora::core
{

void TExtKeywordList::ReadExtraNameValues(int index, NameValueReader &values)
{
    if (!values.HasMore())
        return;
    const std::int32_t scope = values.Next();
    const std::int32_t priority = values.HasMore() ? values.Next() : 0;
    SetScopeAndPriority(index, scope, priority);
}

int TExtStartStopList::AddExtKey(std::string_view startKey, std::string_view stopKey, std::uint8_t options,
                                 std::uint8_t style, std::int32_t contextNum, std::int16_t cursor,
                                 std::int32_t background, std::int32_t foreground, std::uint8_t flags,
                                 std::int32_t scope, std::int32_t priority)
{
    const int index = AddKey(startKey, stopKey, options, style, contextNum, cursor, background, foreground,
                             flags & kKeyStaysInParagraph);
    SetKeyExtras(index, scope, priority, flags);
    return index;
}

// The seventh value is where SaveToNameValues writes KeyFlags, so its flag bits count.
constexpr std::int32_t kKeyFlagsInSeventh = kKeyStaysInParagraph | kKeyEndAtDelimiter | kKeyCollapsible;

void TExtStartStopList::ReadExtraNameValues(int index, std::int32_t seventh, NameValueReader &values)
{
    std::int32_t scope = 0, priority = 0, flags = 0;
    if (values.HasMore()) {
        scope = values.Next();
        priority = values.HasMore() ? values.Next() : 0;
    }
    if (values.HasMore())
        flags = values.Next();
    SetKeyExtras(index, scope, priority, static_cast<std::uint8_t>(flags | (seventh & kKeyFlagsInSeventh)));
}

} // namespace velmora::core
