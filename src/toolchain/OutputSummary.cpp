#include "toolchain/OutputSummary.h"

#include <algorithm>
#include <limits>

namespace velmora::toolchain
{

namespace
{

constexpr int maxBookmarkNumber = 9;

// A decimal integer after optional leading blanks and an optional sign, nothing after it.
std::optional<int> decimalValue(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        negative = text[i++] == QLatin1Char('-');
    if (i == text.size())
        return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < QLatin1Char('0') || text[i] > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (text[i].unicode() - '0');
        if (value > std::numeric_limits<int>::max() + (negative ? 1LL : 0LL))
            return std::nullopt;
    }
    return static_cast<int>(negative ? -value : value);
}

QString conversionError(const QString &text)
{
    return QStringLiteral("'%1' is not a valid integer value").arg(text);
}

// The text after the first ":" (the whole line when there is none).
QString afterColon(const QString &line)
{
    return line.mid(line.indexOf(QLatin1Char(':')) + 1);
}

// The source line number's text: what stands between the first "(" and the first ")", or,
// when the line names the source as sourceName + "(", between that "(" and the next ")",
// so that a file name holding parentheses of its own is read right. Empty when none.
QString lineNumberText(const QString &line, const QString &sourceName)
{
    const qsizetype named =
        sourceName.isEmpty() ? -1 : line.indexOf(sourceName + QLatin1Char('('), 0, Qt::CaseInsensitive);
    const qsizetype open = named >= 0 ? named + sourceName.size() : line.indexOf(QLatin1Char('('));
    const qsizetype close = named >= 0 ? line.indexOf(QLatin1Char(')'), open) : line.indexOf(QLatin1Char(')'));
    if (open < 0 || close <= open)
        return {};
    return line.mid(open + 1, close - open - 1);
}

// A count text: "None" anywhere reads as 0, so does an empty text.
std::optional<int> countValue(const QString &text)
{
    if (text.contains(QLatin1String("None")) || text.isEmpty())
        return 0;
    return decimalValue(text);
}

} // namespace

int colourValue(SummaryColour colour)
{
    switch (colour) {
    case SummaryColour::Green:
        return 0x008000;
    case SummaryColour::Olive:
        return 0x008080;
    case SummaryColour::Red:
        break;
    }
    return 0x0000FF;
}

QString SummaryCounts::panelText(const QString &format) const
{
    QString text = format.arg(warnings).arg(errors);
    if (warnings == 0 && errors == 0)
        text += QLatin1String("   -/ OK /-");
    return text;
}

SummaryColour SummaryCounts::colour() const
{
    if (errors > 0)
        return SummaryColour::Red;
    return warnings > 0 ? SummaryColour::Olive : SummaryColour::Green;
}

OutputSummary summarizeOutput(const QStringList &lines, const QString &sourceName)
{
    OutputSummary summary;

    QString errorText;
    QString warningText;
    for (const QString &line : lines) {
        if (line.contains(QLatin1String("Error messages")))
            errorText = afterColon(line);
        if (line.contains(QLatin1String("Warning messages")))
            warningText = afterColon(line);
    }
    const std::optional<int> errors = countValue(errorText);
    if (!errors) {
        summary.failure = conversionError(errorText);
        return summary;
    }
    const std::optional<int> warnings = countValue(warningText);
    if (!warnings) {
        summary.failure = conversionError(warningText);
        return summary;
    }
    summary.counts = SummaryCounts{*warnings, *errors};

    int errorCount = 0;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (!lines[i].contains(QLatin1String("*Error*")))
            continue;
        ++errorCount;
        const QString numberText = lineNumberText(lines[i], sourceName);
        const std::optional<int> sourceLine = decimalValue(numberText);
        if (!sourceLine) {
            summary.failure = conversionError(numberText);
            return summary;
        }
        const int line = *sourceLine - 1;
        const bool taken = std::any_of(summary.bookmarks.begin(), summary.bookmarks.end(),
                                       [line](const BookmarkDecision &d) { return d.line == line; });
        if (errorCount <= maxBookmarkNumber && line >= 0 && !taken)
            summary.bookmarks.push_back({line, errorCount});
    }
    return summary;
}

void applySummary(const OutputSummary &summary, ISummaryView &view, const QString &countsFormat)
{
    view.clearBookmarks();
    if (summary.counts) {
        view.setSummaryText(summary.counts->panelText(countsFormat));
        view.setTasmColour(summary.counts->colour());
    }
    for (const BookmarkDecision &bookmark : summary.bookmarks)
        view.placeBookmark(bookmark.line, bookmark.number);
}

SummaryCounts linkCounts(const QStringList &lines)
{
    SummaryCounts counts;
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1String("Warning:")))
            ++counts.warnings;
        else if (line.startsWith(QLatin1String("Error:")) || line.startsWith(QLatin1String("Fatal:")))
            ++counts.errors;
    }
    return counts;
}

std::optional<int> sourceLineOf(const QString &outputLine, const QString &sourceName)
{
    const bool names = outputLine.contains(QLatin1String("*Error*")) ||
                       outputLine.contains(QLatin1String("*Warning*")) || outputLine.contains(QLatin1String("*Fatal*"));
    if (!names)
        return std::nullopt;
    const std::optional<int> number = decimalValue(lineNumberText(outputLine, sourceName));
    if (!number || *number < 1)
        return std::nullopt;
    return *number - 1;
}

} // namespace velmora::toolchain
