// Which keywords the keyword pass need try on a paragraph. A keyword is filed under its first
// two match bytes (hashed), or its one byte, so that a paragraph's candidates are read from the
// files of the byte pairs it holds: the cost follows the paragraph's length, not the list's.
#pragma once

#include <array>
#include <bitset>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::core
{

// The single bytes and the (hashed) pairs of adjacent bytes that occur in a text.
struct PresentBytes {
    static constexpr std::size_t kPairs = 1024;
    std::bitset<256> single;
    std::bitset<kPairs> pairs;

    PresentBytes() = default;
    explicit PresentBytes(std::string_view text);
    static std::size_t pairKey(unsigned char a, unsigned char b) { return ((std::size_t{a} << 5) ^ b) & (kPairs - 1); }
    // Whether a keyword starting with start (one byte or more) may occur in the text.
    bool mayHold(std::string_view start) const;
};

class KeywordProbeIndex
{
public:
    void clear();
    // Files keyword under the first two bytes of start (one byte when start has one).
    void file(int keyword, std::string_view start);
    // The filed keywords whose start bytes occur in raw or in folded (either may be empty),
    // ascending, so that keywords are still tried in list order.
    void candidates(std::string_view raw, std::string_view folded, std::vector<int> &out) const;

private:
    std::array<std::vector<int>, 256> bySingle_;
    std::array<std::vector<int>, PresentBytes::kPairs> byPair_;
};

} // namespace velmora::core
