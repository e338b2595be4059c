// TStartStopKeyList: pairs of start and stop texts whose whole span, possibly over several
// paragraphs, gets the pair's attributes. The list keeps each key as entered and as matched
// (folded unless match-case), links keys that share a start text (SameStartIndex) and
// prepares for the highlighting engine which key ends need a separator beside them.
#pragma once

#include "editor/core/keyfiles/KeyInfo.h"
#include "editor/core/text/UpperCase.h"

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::core
{

class NameValueReader;
class TaggedValueReader;
class TaggedValueWriter;

// The characters that separate words, indexed by byte value.
using SeparatorSet = std::bitset<256>;

// KeyFlags bits.
constexpr std::uint8_t kKeyStaysInParagraph = 0x01; // the span ends with its paragraph without a stop
constexpr std::uint8_t kKeyEndAtDelimiter = 0x02;
constexpr std::uint8_t kKeyCollapsible = 0x04;

// Limits of the 16-bit fields: key lengths, and key indexes, which highlight runs store as
// index - 32768.
constexpr std::size_t kMaxStartStopKeyLength = 32767;
constexpr int kMaxStartStopKeys = 32768;

struct StartStopInfo : TKeyAttributes {
    std::string StartText; // the start key as matched
    std::string StopText;  // the stop key as matched; may be empty
    std::int16_t StartLength = 0;
    std::int16_t StopLength = 0;
    std::string StartKey; // as entered
    std::string StopKey;  // as entered
    std::int32_t Scope = 0;
    std::int32_t Priority = 0;
    std::int32_t Extra = 0; // carried through streaming only
    // The first earlier key with the same options and start text, -1 if none: several stop
    // keys for one start key are several entries sharing a start.
    std::int16_t SameStartIndex = -1;
    std::uint8_t KeyFlags = 0;
    // Set by PrepareDelimiters for whole-word keys.
    bool NeedSepAfterStart = false;
    bool NeedSepBeforeStart = false;
    bool NeedSepAfterStop = false;
    bool NeedSepBeforeStop = false;
};

class TStartStopKeyList
{
public:
    TStartStopKeyList() = default;
    TStartStopKeyList(const TStartStopKeyList &) = delete;
    TStartStopKeyList &operator=(const TStartStopKeyList &) = delete;
    virtual ~TStartStopKeyList() = default;

    int Count() const { return static_cast<int>(keys_.size()); }
    // Out-of-range indexes throw ERangeError "List index out of bounds (i)".
    const StartStopInfo &Item(int index) const;

    // Appends a key and returns its index. A key longer than kMaxStartStopKeyLength, or a
    // key beyond kMaxStartStopKeys, throws std::length_error and leaves the list unchanged.
    int AddKey(std::string_view startKey, std::string_view stopKey, std::uint8_t options, std::uint8_t style,
               std::int32_t contextNum, std::int16_t cursor, std::int32_t background, std::int32_t foreground,
               bool staysInParagraph);
    // Sets what AddKey leaves at 0: scope, priority and the key flags.
    void SetKeyExtras(int index, std::int32_t scope, std::int32_t priority, std::uint8_t keyFlags);
    void ClearKeys();

    TsmUpperCase UpperCaseType() const { return upperCase_; }
    // Refolds the matched texts of the keys that are not match-case.
    void SetUpperCaseType(TsmUpperCase value);

    std::uint8_t SummaryFlags() const { return summaryFlags_; }
    // Counts the changes to the keys, so that users can tell when what they derived is stale.
    std::uint32_t Revision() const { return revision_; }
    std::int16_t LongestStart() const { return longestStart_; }
    std::int16_t LongestStop() const { return longestStop_; }

    bool DelimitersPrepared() const { return delimitersPrepared_; }
    // Decides for each whole-word key which of its ends need a separator beside them: those
    // whose end character is not itself a separator.
    void PrepareDelimiters(const SeparatorSet &separators);

    // The name=value text form: one line start|stop=values per key, texts as matched.
    void SaveToNameValues(std::vector<std::string> &lines) const;
    // Clears the list and adds one key per line containing "="; a value that is not a
    // decimal integer throws std::invalid_argument and the keys added before it stay.
    void LoadFromNameValues(const std::vector<std::string> &lines);

    // The stored "Keys" property. Reading accepts the long and the older short entry form and
    // replaces the list only when the whole value reads; malformed data throws
    // TaggedValueError and leaves the list as it was.
    void WriteKeys(TaggedValueWriter &writer) const;
    void ReadKeys(TaggedValueReader &reader);

protected:
    // Reads what a line of the text form holds after the seven values; lists with more
    // attributes override it. `index` is the key just added, `seventh` the seventh value.
    virtual void ReadExtraNameValues(int index, std::int32_t seventh, NameValueReader &values);

private:
    StartStopInfo &item(int index);
    void foldMatchTexts(StartStopInfo &key) const;
    // The first key before `before` with the same options and start text as `key`, or -1.
    std::int16_t sameStartOf(const StartStopInfo &key, int before) const;

    std::vector<StartStopInfo> keys_;
    TsmUpperCase upperCase_ = smuAscii;
    std::uint8_t summaryFlags_ = kSummaryAllMatchCase;
    std::int16_t longestStart_ = 0;
    std::int16_t longestStop_ = 0;
    bool delimitersPrepared_ = false;
    std::uint32_t revision_ = 0;
};

} // namespace velmora::core
