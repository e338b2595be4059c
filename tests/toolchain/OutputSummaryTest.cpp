#include "toolchain/OutputSummary.h"
#include "RecordingHost.h"
#include "toolchain/BuildTexts.h"

#include <gtest/gtest.h>

using namespace velmora::toolchain;
using velmora::testing::RecordingHost;

namespace
{

const QString banner = QStringLiteral("Turbo Assembler  Version 4.1");
const QString kCounts = BuildTexts{}.summaryCounts;

QStringList output(const QStringList &body, const QString &errors, const QString &warnings)
{
    QStringList lines{banner, QString(), QStringLiteral("Assembling file:   prog.asm")};
    lines << body;
    lines << QStringLiteral("Error messages:    ") + errors << QStringLiteral("Warning messages:  ") + warnings
          << QStringLiteral("Passes:            1");
    return lines;
}

QString errorLine(int sourceLine)
{
    return QStringLiteral("**Error** prog.asm(%1) Undefined symbol: X").arg(sourceLine);
}

} // namespace

TEST(OutputSummary, CountsGivePanelTextAndCaptionColour)
{
    const OutputSummary clean = summarizeOutput(output({}, "None", "None"));
    ASSERT_TRUE(clean.counts);
    EXPECT_EQ(clean.counts->panelText(kCounts), "Warnings: 0 Errors: 0   -/ OK /-");
    EXPECT_EQ(clean.counts->colour(), SummaryColour::Green);
    EXPECT_TRUE(clean.bookmarks.empty());
    EXPECT_TRUE(clean.failure.isEmpty());

    const OutputSummary warned = summarizeOutput(output({"*Warning* prog.asm(3) Reserved word"}, "None", "2"));
    EXPECT_EQ(warned.counts->panelText(kCounts), "Warnings: 2 Errors: 0");
    EXPECT_EQ(warned.counts->colour(), SummaryColour::Olive);

    const OutputSummary both = summarizeOutput(output({errorLine(12)}, "   1", "  3"));
    EXPECT_EQ(both.counts->panelText(kCounts), "Warnings: 3 Errors: 1");
    EXPECT_EQ(both.counts->colour(), SummaryColour::Red);
    EXPECT_EQ(both.bookmarks, (std::vector<BookmarkDecision>{{11, 1}}));

    EXPECT_EQ(colourValue(SummaryColour::Green), 0x008000);
    EXPECT_EQ(colourValue(SummaryColour::Olive), 0x008080);
    EXPECT_EQ(colourValue(SummaryColour::Red), 0x0000FF);
}

TEST(OutputSummary, EmptyOutputAndMissingSummaryLinesReadAsClean)
{
    const OutputSummary empty = summarizeOutput({});
    ASSERT_TRUE(empty.counts);
    EXPECT_EQ(empty.counts->panelText(kCounts), "Warnings: 0 Errors: 0   -/ OK /-");
    EXPECT_EQ(empty.counts->colour(), SummaryColour::Green);

    // A later summary line overwrites an earlier one; a line without ":" gives its whole text.
    const OutputSummary later =
        summarizeOutput({banner, "Error messages: 4", "Warning messages: 1", "Error messages: None"});
    EXPECT_EQ(later.counts->panelText(kCounts), "Warnings: 1 Errors: 0");
    EXPECT_EQ(summarizeOutput({banner, "Error messages None"}).counts->errors, 0);
}

TEST(OutputSummary, ErrorLinesGiveBookmarksOnlyOncePerLineAndFromTheSecondLine)
{
    // Two errors on source line 5, then one on line 9: numbers 1 and 3, number 2 is skipped.
    const OutputSummary repeated = summarizeOutput(output({errorLine(5), errorLine(5), errorLine(9)}, "3", "None"));
    EXPECT_EQ(repeated.bookmarks, (std::vector<BookmarkDecision>{{4, 1}, {8, 3}}));

    // The first line is never examined, so the next error line takes number 1.
    const OutputSummary first = summarizeOutput({errorLine(2), errorLine(7), "Error messages: 2"});
    EXPECT_EQ(first.bookmarks, (std::vector<BookmarkDecision>{{6, 1}}));

    // Warning lines and lines naming no real line (0) get none; the latter still count.
    const OutputSummary odd =
        summarizeOutput(output({"*Warning* prog.asm(2) Reserved word", errorLine(0), errorLine(3)}, "2", "1"));
    EXPECT_EQ(odd.bookmarks, (std::vector<BookmarkDecision>{{2, 2}}));
}

TEST(OutputSummary, NoBookmarkNumberBeyondNine)
{
    QStringList body;
    for (int line = 1; line <= 14; ++line)
        body << errorLine(line * 10);
    const OutputSummary summary = summarizeOutput(output(body, "14", "None"));
    ASSERT_EQ(summary.bookmarks.size(), 9u);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(summary.bookmarks[i], (BookmarkDecision{(i + 1) * 10 - 1, i + 1}));
    EXPECT_TRUE(summary.failure.isEmpty());
}

TEST(OutputSummary, MalformedNumbersStopTheSummary)
{
    const OutputSummary badErrors = summarizeOutput(output({errorLine(4)}, "1 file", "None"));
    EXPECT_FALSE(badErrors.counts);
    EXPECT_TRUE(badErrors.bookmarks.empty());
    EXPECT_EQ(badErrors.failure, "'    1 file' is not a valid integer value");

    const OutputSummary badWarnings = summarizeOutput(output({}, "None", "x"));
    EXPECT_FALSE(badWarnings.counts);
    EXPECT_EQ(badWarnings.failure, "'  x' is not a valid integer value");

    const OutputSummary tooLarge = summarizeOutput(output({}, "99999999999", "None"));
    EXPECT_FALSE(tooLarge.counts);

    // An error line without a number: counts stand, bookmarks before it stay.
    const OutputSummary badLine =
        summarizeOutput(output({errorLine(4), "**Error** prog.asm Too many errors", errorLine(9)}, "3", "None"));
    ASSERT_TRUE(badLine.counts);
    EXPECT_EQ(badLine.bookmarks, (std::vector<BookmarkDecision>{{3, 1}}));
    EXPECT_EQ(badLine.failure, "'' is not a valid integer value");

    const OutputSummary reversed = summarizeOutput(output({"**Error** a)b(3"}, "1", "None"));
    EXPECT_EQ(reversed.failure, "'' is not a valid integer value");
}

TEST(OutputSummary, ApplyingClearsBookmarksFirstAndLeavesPanelWhenCountsFailed)
{
    BuildState state;
    RecordingHost view{state};
    view.bookmarks[20] = 7;
    applySummary(summarizeOutput(output({errorLine(5), errorLine(9)}, "2", "None")), view, kCounts);
    EXPECT_EQ(view.log, (std::vector<QString>{"clear bookmarks", "summary", "colour", "bookmark 4 1", "bookmark 8 2"}));
    EXPECT_EQ(view.summaryText, "Warnings: 0 Errors: 2");
    EXPECT_EQ(view.colour, SummaryColour::Red);
    EXPECT_EQ(view.bookmarks, (std::map<int, int>{{4, 1}, {8, 2}}));

    view.log.clear();
    applySummary(summarizeOutput(output({errorLine(3)}, "two", "None")), view, kCounts);
    EXPECT_EQ(view.log, (std::vector<QString>{"clear bookmarks"}));
    EXPECT_EQ(view.summaryText, "Warnings: 0 Errors: 2");
    EXPECT_TRUE(view.bookmarks.empty());
}

TEST(OutputSummary, SourceLineOfAnOutputLine)
{
    EXPECT_EQ(sourceLineOf("**Error** prog.asm(12) Undefined symbol: X"), 11);
    EXPECT_EQ(sourceLineOf("*Warning* prog.asm(1) Argument needs type override"), 0);
    EXPECT_EQ(sourceLineOf("**Fatal** prog.asm(30) Unexpected end of file"), 29);
    EXPECT_EQ(sourceLineOf("**Error** prog.asm(12) MAC(3) Extra characters"), 11);
    EXPECT_FALSE(sourceLineOf("Assembling file:   prog(1).asm"));
    EXPECT_FALSE(sourceLineOf("**Error** prog.asm Too many errors"));
    EXPECT_FALSE(sourceLineOf("**Error** prog.asm(0) Bad"));
    EXPECT_FALSE(sourceLineOf("**Error** prog.asm(1x) Bad"));
    EXPECT_FALSE(sourceLineOf(""));
}
