#include "editor/core/keyfiles/KeyEntry.h"

#include "editor/core/keyfiles/KeywordList.h"
#include "editor/core/keyfiles/StartStopKeyList.h"

#include <stdexcept>
#include <utility>

namespace velmora::core
{

KeyEntry freshKeyEntry(std::string text, std::string stopText)
{
    KeyEntry entry;
    entry.Text = std::move(text);
    entry.StopText = std::move(stopText);
    entry.Attributes.ContextNum = 1;
    entry.Attributes.Background = -1;
    entry.Attributes.Foreground = -1;
    return entry;
}

std::vector<KeyEntry> keyEntriesOf(const TKeywordList &list)
{
    std::vector<KeyEntry> entries;
    entries.reserve(static_cast<std::size_t>(list.Count()));
    for (int i = 0; i < list.Count(); ++i) {
        const TKeyInfoLen &key = list.Item(i);
        entries.push_back({key.Keyword, {}, key, 0, key.Scope, key.Priority});
    }
    return entries;
}

std::vector<KeyEntry> keyEntriesOf(const TStartStopKeyList &list)
{
    std::vector<KeyEntry> entries;
    entries.reserve(static_cast<std::size_t>(list.Count()));
    for (int i = 0; i < list.Count(); ++i) {
        const StartStopInfo &key = list.Item(i);
        entries.push_back({key.StartKey, key.StopKey, key, key.KeyFlags, key.Scope, key.Priority});
    }
    return entries;
}

void fillKeywordList(TKeywordList &list, const std::vector<KeyEntry> &entries)
{
    UpdateGuard update(list);
    list.Clear();
    for (const auto &entry : entries) {
        if (entry.Text.empty())
            continue;
        const TKeyAttributes &a = entry.Attributes;
        const int index =
            list.AddKeyword(entry.Text, a.KeyOptions, a.KeyStyle, a.ContextNum, a.Cursor, a.Background, a.Foreground);
        list.SetScopeAndPriority(index, entry.Scope, entry.Priority);
    }
}

void checkStartStopEntries(const std::vector<KeyEntry> &entries)
{
    int count = 0;
    for (const auto &entry : entries) {
        if (entry.Text.empty())
            continue;
        if (entry.Text.size() > kMaxStartStopKeyLength || entry.StopText.size() > kMaxStartStopKeyLength)
            throw std::length_error("Start-stop key too long");
        if (++count > kMaxStartStopKeys)
            throw std::length_error("Too many start-stop keys");
    }
}

void fillStartStopList(TStartStopKeyList &list, const std::vector<KeyEntry> &entries)
{
    checkStartStopEntries(entries);
    list.ClearKeys();
    for (const auto &entry : entries) {
        if (entry.Text.empty())
            continue;
        const TKeyAttributes &a = entry.Attributes;
        const int index = list.AddKey(entry.Text, entry.StopText, a.KeyOptions, a.KeyStyle, a.ContextNum, a.Cursor,
                                      a.Background, a.Foreground, entry.KeyFlags & kKeyStaysInParagraph);
        list.SetKeyExtras(index, entry.Scope, entry.Priority, entry.KeyFlags);
    }
}

} // namespace velmora::core
