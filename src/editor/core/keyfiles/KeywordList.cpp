#include "editor/core/keyfiles/KeywordList.h"

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

// Valid indexes run from 0 to last.
void checkIndex(int index, int last)
{
    if (index < 0 || index > last)
        throw ERangeError(std::string(kListIndexOutOfBounds) + " (" + std::to_string(index) + ")");
}

} // namespace

const TKeyInfoLen &TKeywordList::Item(int index) const
{
    checkIndex(index, Count() - 1);
    return keys_[static_cast<std::size_t>(index)];
}

TKeyInfoLen &TKeywordList::item(int index)
{
    return const_cast<TKeyInfoLen &>(std::as_const(*this).Item(index));
}

int TKeywordList::Add(std::string_view text)
{
    const int index = Count();
    Insert(index, text);
    return index;
}

void TKeywordList::Insert(int index, std::string_view text)
{
    TKeyInfoLen record;
    record.Keyword = text;
    insertRecord(index, std::move(record));
}

int TKeywordList::AddKeyword(std::string_view keyword, std::uint8_t options, std::uint8_t style,
                             std::int32_t contextNum, std::int16_t cursor, std::int32_t background,
                             std::int32_t foreground)
{
    TKeyInfoLen record;
    static_cast<TKeyAttributes &>(record) = {options, style, contextNum, cursor, background, foreground};
    record.Keyword = keyword;
    const int index = Count();
    insertRecord(index, std::move(record));
    return index;
}

void TKeywordList::SetKeyAttributes(int index, const TKeyAttributes &attributes)
{
    static_cast<TKeyAttributes &>(item(index)) = attributes;
    changed();
}

void TKeywordList::SetScopeAndPriority(int index, std::int32_t scope, std::int32_t priority)
{
    TKeyInfoLen &record = item(index);
    record.Scope = scope;
    record.Priority = priority;
}

void TKeywordList::Delete(int index)
{
    checkIndex(index, Count() - 1);
    keys_.erase(keys_.begin() + index);
    changed();
}

void TKeywordList::Clear()
{
    keys_.clear();
    changed();
}

void TKeywordList::Assign(const TKeywordList &source)
{
    if (&source == this)
        return;
    UpdateGuard update(*this);
    Clear();
    keys_ = source.keys_;
}

void TKeywordList::Assign(const std::vector<std::string> &texts)
{
    UpdateGuard update(*this);
    Clear();
    for (const auto &text : texts)
        Add(text);
}

void TKeywordList::BeginUpdate()
{
    ++updateCount_;
}

void TKeywordList::EndUpdate()
{
    if (updateCount_ == 0)
        return;
    --updateCount_;
    changed();
}

void TKeywordList::SetUpperCaseType(TsmUpperCase value)
{
    if (value == upperCase_)
        return;
    upperCase_ = value;
    changed();
}

void TKeywordList::SaveToNameValues(std::vector<std::string> &lines) const
{
    for (const auto &key : keys_) {
        std::string value;
        appendAttributes(value, key);
        appendValue(value, key.Scope);
        appendValue(value, key.Priority);
        setNameValue(lines, key.Keyword, value);
    }
}

void TKeywordList::LoadFromNameValues(const std::vector<std::string> &lines)
{
    UpdateGuard update(*this);
    Clear();
    for (const auto &line : lines) {
        const auto parts = splitNameValue(line);
        if (!parts)
            continue;
        NameValueReader values(parts->second);
        const auto options = static_cast<std::uint8_t>(values.Next());
        const auto style = static_cast<std::uint8_t>(values.Next());
        const std::int32_t contextNum = values.Next();
        const auto cursor = static_cast<std::int16_t>(values.Next());
        const std::int32_t background = values.Next();
        const std::int32_t foreground = values.Next();
        const int index = AddKeyword(parts->first, options, style, contextNum, cursor, background, foreground);
        ReadExtraNameValues(index, values);
    }
}

void TKeywordList::ReadExtraNameValues(int, NameValueReader &) {}

void TKeywordList::WriteStrings(TaggedValueWriter &writer) const
{
    writer.WriteListBegin();
    for (const auto &key : keys_) {
        writer.WriteString(key.Keyword);
        writer.WriteInteger(key.KeyOptions | kOptLongForm);
        for (const std::int32_t n : {std::int32_t{key.KeyStyle}, key.ContextNum, std::int32_t{key.Cursor},
                                     key.Background, key.Foreground, key.Scope, key.Priority, key.Reserved})
            writer.WriteInteger(n);
    }
    writer.WriteListEnd();
}

void TKeywordList::ReadStrings(TaggedValueReader &reader)
{
    std::vector<TKeyInfoLen> read;
    reader.ReadListBegin();
    while (!reader.NextIsListEnd()) {
        TKeyInfoLen key;
        key.Keyword = reader.ReadString();
        const std::int32_t options = reader.ReadInteger();
        key.KeyOptions = static_cast<std::uint8_t>(options & 0x7F);
        key.KeyStyle = static_cast<std::uint8_t>(reader.ReadInteger());
        key.ContextNum = reader.ReadInteger();
        key.Cursor = static_cast<std::int16_t>(reader.ReadInteger());
        key.Background = reader.ReadInteger();
        key.Foreground = reader.ReadInteger();
        if (options & kOptLongForm) {
            key.Scope = reader.ReadInteger();
            key.Priority = reader.ReadInteger();
            key.Reserved = reader.ReadInteger();
        } else if (reader.NextIsInteger()) {
            // An older short form that carries scope and priority only.
            key.Scope = reader.ReadInteger();
            key.Priority = reader.ReadInteger();
        }
        read.push_back(std::move(key));
    }
    reader.ReadListEnd();
    UpdateGuard update(*this);
    keys_ = std::move(read);
}

void TKeywordList::insertRecord(int index, TKeyInfoLen record)
{
    checkIndex(index, Count());
    keys_.insert(keys_.begin() + index, std::move(record));
    changed();
}

void TKeywordList::changed()
{
    if (Updating())
        return;
    summaryFlags_ = kSummaryAllMatchCase;
    longestKeyword_ = 0;
    for (auto &key : keys_) {
        key.KeyLength = static_cast<std::int32_t>(key.Keyword.size());
        longestKeyword_ = std::max(longestKeyword_, key.KeyLength);
        key.MatchText = key.Keyword;
        summaryFlags_ |= key.KeyOptions & kSummaryPositionalMask;
        if (!(key.KeyOptions & kOptMatchCase)) {
            summaryFlags_ &= static_cast<std::uint8_t>(~kSummaryAllMatchCase);
            foldUpper(key.MatchText.data(), key.MatchText.size(), upperCase_);
        }
    }
}

} // namespace velmora::core
