// The key lists of the extended highlighter: the text form carries scope and priority, and
// start-stop keys also their key flags.
#pragma once

#include "editor/core/keyfiles/KeywordList.h"
#include "editor/core/keyfiles/StartStopKeyList.h"

namespace velmora::core
{

class TExtKeywordList : public TKeywordList
{
protected:
    // After the six attribute values: scope, then priority, when text remains.
    void ReadExtraNameValues(int index, NameValueReader &values) override;
};

class TExtStartStopList : public TStartStopKeyList
{
public:
    // AddKey with stays-in-paragraph = flags bit 0, then scope, priority and KeyFlags = flags.
    int AddExtKey(std::string_view startKey, std::string_view stopKey, std::uint8_t options, std::uint8_t style,
                  std::int32_t contextNum, std::int16_t cursor, std::int32_t background, std::int32_t foreground,
                  std::uint8_t flags, std::int32_t scope, std::int32_t priority);

protected:
    // After the seven values: scope and priority, then a flags byte, each when text remains;
    // KeyFlags = that byte with the flag bits of the seventh value (where
    // SaveToNameValues writes KeyFlags).
    void ReadExtraNameValues(int index, std::int32_t seventh, NameValueReader &values) override;
};

} // namespace velmora::core
