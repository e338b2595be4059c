// TKeywordList: the keywords an editor highlights, each with its attribute block. Behaves
// as a list of strings (Get, Count, Add, Insert, Delete, Clear, Assign) whose items carry
// attributes; MatchText, KeyLength, SummaryFlags and LongestKeyword are derived fields,
// rebuilt after every change made outside BeginUpdate/EndUpdate and once at the outermost
// EndUpdate otherwise.
#pragma once

#include "editor/core/keyfiles/KeyInfo.h"
#include "editor/core/text/UpdateGuard.h"
#include "editor/core/text/UpperCase.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::core
{

class NameValueReader;
class TaggedValueReader;
class TaggedValueWriter;

class TKeywordList
{
public:
    TKeywordList() = default;
    TKeywordList(const TKeywordList &) = delete;
    TKeywordList &operator=(const TKeywordList &) = delete;
    virtual ~TKeywordList() = default;

    int Count() const { return static_cast<int>(keys_.size()); }
    // The keyword text; out-of-range indexes throw ERangeError "List index out of bounds (i)".
    const std::string &Get(int index) const { return Item(index).Keyword; }
    const TKeyInfoLen &Item(int index) const;
    TKeyAttributes GetKeyAttributes(int index) const { return Item(index); }

    // Plain string-list entries: all attributes 0, colours clNone. With context number 0
    // such a keyword takes no part in matching until it is given one.
    int Add(std::string_view text);
    void Insert(int index, std::string_view text);
    // Appends a keyword with the given attributes and returns its index.
    int AddKeyword(std::string_view keyword, std::uint8_t options, std::uint8_t style, std::int32_t contextNum,
                   std::int16_t cursor, std::int32_t background, std::int32_t foreground);
    void SetKeyAttributes(int index, const TKeyAttributes &attributes);
    void SetScopeAndPriority(int index, std::int32_t scope, std::int32_t priority);
    void Delete(int index);
    void Clear();
    // A deep copy of another keyword list's records (its folding choice is not copied).
    void Assign(const TKeywordList &source);
    // Clear, then Add of every text.
    void Assign(const std::vector<std::string> &texts);

    // Nested update brackets, paired through UpdateGuard.
    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return updateCount_ > 0; }

    TsmUpperCase UpperCaseType() const { return upperCase_; }
    void SetUpperCaseType(TsmUpperCase value);

    std::uint8_t SummaryFlags() const { return summaryFlags_; }
    std::int32_t LongestKeyword() const { return longestKeyword_; }

    // The name=value text form: Values-style update of `lines` with one line per keyword.
    void SaveToNameValues(std::vector<std::string> &lines) const;
    // Clears the list and adds one keyword per line containing "="; other lines are
    // skipped. A value that is not a decimal integer throws std::invalid_argument and the
    // keywords added before it stay.
    void LoadFromNameValues(const std::vector<std::string> &lines);

    // The stored "Strings" property: a list of entries in the long form. Reading accepts the
    // long and the older short form and replaces the list only when the whole value reads;
    // malformed data throws TaggedValueError and leaves the list as it was.
    void WriteStrings(TaggedValueWriter &writer) const;
    void ReadStrings(TaggedValueReader &reader);

protected:
    // Reads what a line of the text form holds after the six attribute values; lists with
    // more attributes override it. `index` is the keyword just added.
    virtual void ReadExtraNameValues(int index, NameValueReader &values);

private:
    TKeyInfoLen &item(int index);
    void insertRecord(int index, TKeyInfoLen record);
    // Called at the end of every change: rebuilds the derived fields unless updating.
    void changed();

    std::vector<TKeyInfoLen> keys_;
    int updateCount_ = 0;
    TsmUpperCase upperCase_ = smuAscii;
    std::uint8_t summaryFlags_ = kSummaryAllMatchCase;
    std::int32_t longestKeyword_ = 0;
};

} // namespace velmora::core
