#include "editor/core/keyfiles/StartStopKeyList.h"

#include "editor/core/text/EditorErrors.h"
#include "editor/core/keyfiles/KeyInfoNameValues.h"
#include "editor/core/text/TaggedValueReader.h"
#include "editor/core/text/TaggedValueWriter.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace velmora::core
{

namespace
{

bool isSeparator(const SeparatorSet &separators, char c)
{
    return separators[static_cast<std::uint8_t>(c)];
}

} // namespace

const StartStopInfo &TStartStopKeyList::Item(int index) const
{
    if (index < 0 || index >= Count())
        throw ERangeError(std::string(kListIndexOutOfBounds) + " (" + std::to_string(index) + ")");
    return keys_[static_cast<std::size_t>(index)];
}

StartStopInfo &TStartStopKeyList::item(int index)
{
    return const_cast<StartStopInfo &>(std::as_const(*this).Item(index));
}

int TStartStopKeyList::AddKey(std::string_view startKey, std::string_view stopKey, std::uint8_t options,
                              std::uint8_t style, std::int32_t contextNum, std::int16_t cursor, std::int32_t background,
                              std::int32_t foreground, bool staysInParagraph)
{
    if (startKey.size() > kMaxStartStopKeyLength || stopKey.size() > kMaxStartStopKeyLength)
        throw std::length_error("Start-stop key too long");
    if (Count() >= kMaxStartStopKeys)
        throw std::length_error("Too many start-stop keys");

    StartStopInfo key;
    static_cast<TKeyAttributes &>(key) = {options, style, contextNum, cursor, background, foreground};
    key.StartKey = startKey;
    key.StopKey = stopKey;
    key.StartLength = static_cast<std::int16_t>(startKey.size());
    key.StopLength = static_cast<std::int16_t>(stopKey.size());
    key.KeyFlags = staysInParagraph ? kKeyStaysInParagraph : 0;
    foldMatchTexts(key);

    longestStart_ = std::max(longestStart_, key.StartLength);
    longestStop_ = std::max(longestStop_, key.StopLength);
    if (staysInParagraph)
        longestStop_ = std::max<std::int16_t>(longestStop_, 2);
    summaryFlags_ |= options & kSummaryPositionalMask;
    if (!(options & kOptMatchCase))
        summaryFlags_ &= static_cast<std::uint8_t>(~kSummaryAllMatchCase);
    key.SameStartIndex = sameStartOf(key, Count());

    keys_.push_back(std::move(key));
    delimitersPrepared_ = false;
    ++revision_;
    return Count() - 1;
}

void TStartStopKeyList::SetKeyExtras(int index, std::int32_t scope, std::int32_t priority, std::uint8_t keyFlags)
{
    StartStopInfo &key = item(index);
    key.Scope = scope;
    key.Priority = priority;
    key.KeyFlags = keyFlags;
    ++revision_;
}

void TStartStopKeyList::ClearKeys()
{
    keys_.clear();
    summaryFlags_ = kSummaryAllMatchCase;
    longestStart_ = 0;
    longestStop_ = 0;
    delimitersPrepared_ = false;
    ++revision_;
}

void TStartStopKeyList::SetUpperCaseType(TsmUpperCase value)
{
    if (value == upperCase_)
        return;
    upperCase_ = value;
    for (auto &key : keys_)
        foldMatchTexts(key);
    // Folding may make start texts equal, or different, that were not before.
    for (int i = 0; i < Count(); ++i)
        keys_[static_cast<std::size_t>(i)].SameStartIndex = sameStartOf(keys_[static_cast<std::size_t>(i)], i);
    delimitersPrepared_ = false;
    ++revision_;
}

void TStartStopKeyList::PrepareDelimiters(const SeparatorSet &separators)
{
    for (auto &key : keys_) {
        const bool wholeWords = key.KeyOptions & kOptWholeWords;
        const bool hasStart = wholeWords && !key.StartText.empty();
        const bool hasStop = wholeWords && !key.StopText.empty();
        key.NeedSepBeforeStart = hasStart && !isSeparator(separators, key.StartText.front());
        key.NeedSepAfterStart = hasStart && !isSeparator(separators, key.StartText.back());
        key.NeedSepBeforeStop = hasStop && !isSeparator(separators, key.StopText.front());
        key.NeedSepAfterStop = hasStop && !isSeparator(separators, key.StopText.back());
    }
    delimitersPrepared_ = true;
}

void TStartStopKeyList::SaveToNameValues(std::vector<std::string> &lines) const
{
    for (const auto &key : keys_) {
        std::string value;
        appendAttributes(value, key);
        appendValue(value, key.KeyFlags);
        appendValue(value, key.Scope);
        appendValue(value, key.Priority);
        setNameValue(lines, key.StartText + "|" + key.StopText, value);
    }
}

void TStartStopKeyList::LoadFromNameValues(const std::vector<std::string> &lines)
{
    ClearKeys();
    for (const auto &line : lines) {
        const auto parts = splitNameValue(line);
        if (!parts)
            continue;
        // A name without "|" is all start key.
        const std::string_view name = parts->first;
        const auto bar = name.find('|');
        const std::string_view start = name.substr(0, bar);
        const std::string_view stop = bar == std::string_view::npos ? std::string_view() : name.substr(bar + 1);
        NameValueReader values(parts->second);
        const auto options = static_cast<std::uint8_t>(values.Next());
        const auto style = static_cast<std::uint8_t>(values.Next());
        const std::int32_t contextNum = values.Next();
        const auto cursor = static_cast<std::int16_t>(values.Next());
        const std::int32_t background = values.Next();
        const std::int32_t foreground = values.Next();
        const std::int32_t seventh = values.Next();
        const int index = AddKey(start, stop, options, style, contextNum, cursor, background, foreground, seventh & 1);
        ReadExtraNameValues(index, seventh, values);
    }
}

void TStartStopKeyList::ReadExtraNameValues(int, std::int32_t, NameValueReader &) {}

void TStartStopKeyList::WriteKeys(TaggedValueWriter &writer) const
{
    writer.WriteListBegin();
    for (const auto &key : keys_) {
        writer.WriteString(key.StartText);
        writer.WriteString(key.StopText);
        writer.WriteInteger(key.KeyOptions | kOptLongForm);
        for (const std::int32_t n :
             {std::int32_t{key.KeyStyle}, key.ContextNum, std::int32_t{key.Cursor}, key.Background, key.Foreground})
            writer.WriteInteger(n);
        writer.WriteBoolean(key.KeyFlags & kKeyStaysInParagraph);
        writer.WriteInteger(key.Scope);
        writer.WriteInteger(key.Priority);
        writer.WriteInteger(static_cast<std::int32_t>(static_cast<std::uint32_t>(key.Extra) << 4 | key.KeyFlags));
    }
    writer.WriteListEnd();
}

void TStartStopKeyList::ReadKeys(TaggedValueReader &reader)
{
    TStartStopKeyList read;
    read.upperCase_ = upperCase_;
    reader.ReadListBegin();
    while (!reader.NextIsListEnd()) {
        const std::string start = reader.ReadString();
        const std::string stop = reader.ReadString();
        const std::int32_t options = reader.ReadInteger();
        const auto style = static_cast<std::uint8_t>(reader.ReadInteger());
        const std::int32_t contextNum = reader.ReadInteger();
        const auto cursor = static_cast<std::int16_t>(reader.ReadInteger());
        const std::int32_t background = reader.ReadInteger();
        const std::int32_t foreground = reader.ReadInteger();
        bool extrasRead = false;
        std::int32_t scope = 0;
        std::int32_t priority = 0;
        std::int32_t flagsWord = 0;
        if (reader.NextIsInteger()) {
            // An older short form that carries scope and priority before the Boolean.
            scope = reader.ReadInteger();
            priority = reader.ReadInteger();
            extrasRead = true;
        }
        const bool staysInParagraph = reader.ReadBoolean();
        if (options & kOptLongForm) {
            scope = reader.ReadInteger();
            priority = reader.ReadInteger();
            flagsWord = reader.ReadInteger();
            extrasRead = true;
        }
        const int index = read.AddKey(start, stop, static_cast<std::uint8_t>(options & 0x7F), style, contextNum, cursor,
                                      background, foreground, staysInParagraph);
        if (extrasRead) {
            StartStopInfo &key = read.keys_[static_cast<std::size_t>(index)];
            key.Scope = scope;
            key.Priority = priority;
            key.Extra = flagsWord >> 4;
            key.KeyFlags = static_cast<std::uint8_t>((flagsWord & 15) | (staysInParagraph ? kKeyStaysInParagraph : 0));
        }
    }
    reader.ReadListEnd();
    keys_ = std::move(read.keys_);
    summaryFlags_ = read.summaryFlags_;
    longestStart_ = read.longestStart_;
    longestStop_ = read.longestStop_;
    delimitersPrepared_ = false;
    ++revision_;
}

void TStartStopKeyList::foldMatchTexts(StartStopInfo &key) const
{
    key.StartText = key.StartKey;
    key.StopText = key.StopKey;
    if (key.KeyOptions & kOptMatchCase)
        return;
    foldUpper(key.StartText.data(), key.StartText.size(), upperCase_);
    foldUpper(key.StopText.data(), key.StopText.size(), upperCase_);
}

std::int16_t TStartStopKeyList::sameStartOf(const StartStopInfo &key, int before) const
{
    for (int i = 0; i < before; ++i) {
        const StartStopInfo &other = keys_[static_cast<std::size_t>(i)];
        if (other.KeyOptions == key.KeyOptions && other.StartText == key.StartText)
            return static_cast<std::int16_t>(i);
    }
    return -1;
}

} // namespace velmora::core
