// The error and warning summary of the assembler's output (`EWM`): a pure reading of the
// "TAsm Output" lines into counts, a caption colour and bookmark decisions, and the small
// step that shows the result through the window.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace velmora::toolchain
{

// The `Tasm` button's caption colour after an assembly.
enum class SummaryColour { Green, Olive, Red };

// The colour as a 24-bit value with red in the low byte: 0x008000, 0x008080, 0x0000FF.
int colourValue(SummaryColour colour);

struct SummaryCounts {
    int warnings = 0;
    int errors = 0;

    // The counts in format ("Warnings: %1 Errors: %2"), followed by "   -/ OK /-" when both are 0.
    QString panelText(const QString &format) const;
    // Red for errors, else olive for warnings, else green.
    SummaryColour colour() const;
};

// Bookmark number (1 to 9) on a line of the editor (0-based, as the gutter counts lines).
struct BookmarkDecision {
    int line = 0;
    int number = 0;
    bool operator==(const BookmarkDecision &) const = default;
};

struct OutputSummary {
    // Absent when a count did not read as an integer: the summary stopped before showing any.
    std::optional<SummaryCounts> counts;
    // In the order of the error lines: the n-th error line proposes bookmark n on the line
    // it names. A line already taken and lines after the ninth error get none.
    std::vector<BookmarkDecision> bookmarks;
    // The conversion error that stopped the summary; empty when it ran to the end.
    QString failure;
};

// Reads the output lines: the last "Error messages" and "Warning messages" lines give the
// counts, and every line from the second on that contains "*Error*" gives a bookmark. The
// source line is the number in parentheses right after sourceName where the line names it,
// else between the first "(" and ")".
OutputSummary summarizeOutput(const QStringList &lines, const QString &sourceName = {});

// The linker's counts: its lines that start with "Warning:", and with "Error:" or "Fatal:".
SummaryCounts linkCounts(const QStringList &lines);

// What the summary changes in the window.
class ISummaryView
{
public:
    virtual ~ISummaryView() = default;

    virtual void setSummaryText(const QString &text) = 0; // status panel 2
    virtual void setTasmColour(SummaryColour colour) = 0; // the `Tasm` button's caption
    virtual void clearBookmarks() = 0;
    virtual void placeBookmark(int line, int number) = 0; // number is 0 to 9
};

// Clears the bookmarks, then shows what the summary holds, its counts in countsFormat (see
// SummaryCounts::panelText). A failure it carries is the caller's to raise, once the
// command's remaining steps are done.
void applySummary(const OutputSummary &summary, ISummaryView &view, const QString &countsFormat);

// The 0-based source line that an error or warning line of the output names, such as
// "**Error** prog.asm(12) Undefined symbol: X" (line 11); none for other lines. The number
// is found as summarizeOutput finds it.
std::optional<int> sourceLineOf(const QString &outputLine, const QString &sourceName = {});

} // namespace velmora::toolchain
