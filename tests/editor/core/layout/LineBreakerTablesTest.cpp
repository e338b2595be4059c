// Paragraphs measured from a measurer's advance tables break exactly as when every span is
// measured by a call: random texts with blanks, tabs, style codes and highlight runs, with and
// without a wrap width.
#include "editor/core/layout/LayoutTestSupport.h"

#include "editor/core/layout/LineBreaker.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

namespace velmora::core::testing
{
namespace
{

// Byte widths that differ per byte and per style; the tables are offered only when asked to.
class TableMeasurer : public TTextMeasurer
{
public:
    explicit TableMeasurer(bool offerTables) : offerTables_(offerTables)
    {
        for (std::size_t style = 0; style < tables_.size(); ++style)
            for (std::size_t b = 0; b < 256; ++b)
                tables_[style][b] = static_cast<std::int32_t>(3 + b % 5 + (style & kStyleBold ? 2 : 0) +
                                                              (style & kStyleAltFont ? 4 : 0));
    }
    std::int32_t textWidth(std::string_view text, std::uint8_t style) override
    {
        std::int32_t w = 0;
        for (const char c : text)
            w += tables_[style & kMeasuredStyleBits][static_cast<unsigned char>(c)];
        return w;
    }
    const std::int32_t *advances(std::uint8_t style) override
    {
        ++tableRequests;
        return offerTables_ ? tables_[style & kMeasuredStyleBits].data() : nullptr;
    }
    TFontMetrics metrics() override { return {13, 10, 3, 2, 13}; }
    int tableRequests = 0;

private:
    bool offerTables_;
    std::array<std::array<std::int32_t, 256>, kMeasuredStyleBits + 1> tables_{};
};

std::vector<LineInfo> breakWith(TTextMeasurer &m, const TBreakRules &rules, const ParInfo &par, std::uint8_t startStyle)
{
    TLineBreaker breaker(m);
    breaker.rules = rules;
    LineInfo from;
    from.startStyle = startStyle;
    std::vector<LineInfo> lines;
    breaker.breakFrom(par, from, [&](const LineInfo &line) {
        lines.push_back(line);
        return true;
    });
    return lines;
}

void expectSameLines(const std::vector<LineInfo> &a, const std::vector<LineInfo> &b, const std::string &text)
{
    ASSERT_EQ(a.size(), b.size()) << text;
    for (std::size_t i = 0; i < a.size(); ++i) {
        SCOPED_TRACE(text + " line " + std::to_string(i));
        EXPECT_EQ(a[i].lineStart, b[i].lineStart);
        EXPECT_EQ(a[i].nextLineStart, b[i].nextLineStart);
        EXPECT_EQ(a[i].width, b[i].width);
        EXPECT_EQ(a[i].width2, b[i].width2);
        EXPECT_EQ(a[i].offsetValue, b[i].offsetValue);
        EXPECT_EQ(a[i].blankCount, b[i].blankCount);
        EXPECT_EQ(a[i].justifyFrom, b[i].justifyFrom);
        EXPECT_EQ(a[i].startStyle, b[i].startStyle);
        EXPECT_EQ(a[i].startRunIndex, b[i].startRunIndex);
    }
}

TEST(LineBreakerTablesTest, TablesGiveTheSameLinesAsMeasuringEverySpan)
{
    std::mt19937 rng(23);
    const std::string alphabet = std::string("abXY;,  \t\t") + '\x02' + '\x04' + '\x15';
    TableMeasurer tables(true);
    TableMeasurer calls(false);
    LayoutRig rig;
    rig.open();
    for (int round = 0; round < 400; ++round) {
        std::string text;
        const int length = static_cast<int>(rng() % 40);
        for (int k = 0; k < length; ++k)
            text += alphabet[rng() % alphabet.size()];
        rig.setText(text);
        ParInfo &par = *rig.memo.paragraphs().par(0);
        par.runs().reset();
        for (std::int32_t at = static_cast<std::int32_t>(rng() % 6); at < length;
             at += 1 + static_cast<std::int32_t>(rng() % 8)) {
            RunInfo run;
            run.position = at;
            run.style = static_cast<std::uint8_t>(rng() % 2 ? 0x80 | (rng() % 64) : rng() % 64);
            par.runs().push_back(run);
        }

        TBreakRules rules;
        rules.staticFormat = rng() % 2;
        rules.fontStyle = static_cast<std::uint8_t>(rng() % 2);
        rules.tabStops = rng() % 3 ? 4 : -30;
        rules.blankWidth = 5;
        rules.chunk = 1 + static_cast<std::int32_t>(rng() % 20);
        const std::int32_t wraps[] = {INT32_MAX, 1, 40, 90, 200};
        rules.wrapWidth = wraps[rng() % 5];
        if (rng() % 4 == 0)
            rules.wordWrapChars = ";,";
        const auto startStyle = static_cast<std::uint8_t>(rules.staticFormat ? rng() % 4 : 0);
        expectSameLines(breakWith(tables, rules, par, startStyle), breakWith(calls, rules, par, startStyle), text);
    }
    EXPECT_GT(tables.tableRequests, 0);
}

TEST(LineBreakerTablesTest, ColumnWrapNeverUsesTheTables)
{
    TableMeasurer tables(true);
    LayoutRig rig;
    rig.open();
    rig.setText("aaaa bbbb cccc");
    TBreakRules rules;
    rules.columns = true;
    rules.wrapWidth = 10; // characters
    const auto lines = breakWith(tables, rules, *rig.memo.paragraphs().par(0), 0);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].nextLineStart, 10);
    EXPECT_EQ(tables.tableRequests, 0);
}

} // namespace
} // namespace velmora::core::testing
