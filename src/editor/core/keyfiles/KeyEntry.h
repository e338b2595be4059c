// The keyword editor's working entries: one per keyword or start-stop key, with every
// attribute the editor shows, kept apart from the list being edited until the user
// confirms. Conversions to and from both list classes live here.
#pragma once

#include "editor/core/keyfiles/KeyInfo.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::core
{

class TKeywordList;
class TStartStopKeyList;

// Which list an editor or a keyword file holds.
enum class KeyListKind { Keywords, StartStopKeys };

struct KeyEntry {
    std::string Text;     // the keyword, or the start key
    std::string StopText; // the stop key of a start-stop entry
    TKeyAttributes Attributes;
    std::uint8_t KeyFlags = 0; // start-stop key flags (kKeyStaysInParagraph ...)
    std::int32_t Scope = 0;
    std::int32_t Priority = 0;

    bool operator==(const KeyEntry &) const = default;
};

// An entry as the editor creates it: context number 1, both colours -1, all else 0.
KeyEntry freshKeyEntry(std::string text = {}, std::string stopText = {});

std::vector<KeyEntry> keyEntriesOf(const TKeywordList &list);
std::vector<KeyEntry> keyEntriesOf(const TStartStopKeyList &list);

// Replace the list's entries by the given ones, in order. Entries without text (no
// keyword, no start key) cannot match anything and are left out.
void fillKeywordList(TKeywordList &list, const std::vector<KeyEntry> &entries);
// Throws std::length_error when a key is too long or there are too many keys for a
// start-stop list; fillStartStopList checks this before it touches the list.
void checkStartStopEntries(const std::vector<KeyEntry> &entries);
void fillStartStopList(TStartStopKeyList &list, const std::vector<KeyEntry> &entries);

} // namespace velmora::core
