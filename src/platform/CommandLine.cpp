#include "platform/CommandLine.h"

namespace velmora::platform
{

namespace
{

bool isRedirection(const QString &word)
{
    return word.size() > 1 && word[0] == QLatin1Char('>') && word[1] != QLatin1Char('>');
}

} // namespace

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QString CommandLine::textThrough(std::size_t index) const
{
    const qsizetype from = words.front().start;
    return text.mid(from, words.at(index).end - from);
}

QString CommandLine::tailAfter(std::size_t index) const
{
    if (index + 1 >= words.size())
        return QString();
    const qsizetype from = words.at(index).end;
    return text.mid(from, words.back().end - from);
}

QStringList CommandLine::wordsAfter(std::size_t index) const
{
    QStringList out;
    for (std::size_t i = index + 1; i < words.size(); ++i)
        out << words[i].text;
    return out;
}

CommandLine parseCommandLine(const QString &text)
{
    CommandLine line;
    line.text = text;
    qsizetype i = 0;
    while (i < text.size()) {
        while (i < text.size() && isBlank(text[i]))
            ++i;
        const qsizetype start = i;
        while (i < text.size() && !isBlank(text[i]))
            ++i;
        if (i > start)
            line.words.push_back({text.mid(start, i - start), start, i});
    }
    if (!line.words.empty() && isRedirection(line.words.back().text)) {
        line.outputFile = line.words.back().text.mid(1);
        line.words.pop_back();
    }
    return line;
}

} // namespace velmora::platform
