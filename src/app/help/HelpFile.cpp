#include "app/help/HelpFile.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>

namespace velmora::app
{

namespace
{

const QString kHrefPrefix = QStringLiteral("topic:");

// One piece of a body line: plain text, or a link to the topic named target.
struct Span {
    QString text;
    QString target; // empty for plain text
};

// Splits a body line at its [[target]] and [[target|text]] links; throws a message
// without location when a link is unclosed or names no topic.
QList<Span> splitLinks(const QString &line)
{
    QList<Span> spans;
    qsizetype pos = 0;
    while (pos < line.size()) {
        const qsizetype open = line.indexOf(QLatin1String("[["), pos);
        if (open < 0) {
            spans.append({line.mid(pos), {}});
            break;
        }
        if (open > pos)
            spans.append({line.mid(pos, open - pos), {}});
        const qsizetype close = line.indexOf(QLatin1String("]]"), open + 2);
        if (close < 0)
            throw std::runtime_error("unclosed link");
        const QString inner = line.mid(open + 2, close - open - 2);
        const qsizetype bar = inner.indexOf(QLatin1Char('|'));
        Span link{bar < 0 ? inner : inner.mid(bar + 1), (bar < 0 ? inner : inner.left(bar)).trimmed()};
        if (link.target.isEmpty())
            throw std::runtime_error("link without a topic");
        if (link.text.trimmed().isEmpty())
            link.text = link.target;
        spans.append(link);
        pos = close + 2;
    }
    return spans;
}

QString fold(const QString &s)
{
    return s.trimmed().toCaseFolded();
}

HelpFileError locatedError(const QString &sourceName, int line, const QString &message)
{
    return HelpFileError(QStringLiteral("%1:%2: %3").arg(sourceName).arg(line).arg(message).toStdString());
}

// Drops the blank lines at both ends of a topic's body, with their line numbers.
void trimBlankLines(QStringList &body, QList<int> &lineNumbers)
{
    while (!body.isEmpty() && body.last().trimmed().isEmpty()) {
        body.removeLast();
        lineNumbers.removeLast();
    }
    while (!body.isEmpty() && body.first().trimmed().isEmpty()) {
        body.removeFirst();
        lineNumbers.removeFirst();
    }
}

bool isPreformatted(const QString &line)
{
    return !line.isEmpty() && (line[0] == QLatin1Char(' ') || line[0] == QLatin1Char('\t'));
}

// A preformatted line without its first level of indentation (a tab or up to four blanks).
QString unindent(const QString &line)
{
    if (line.startsWith(QLatin1Char('\t')))
        return line.mid(1);
    qsizetype n = 0;
    while (n < 4 && n < line.size() && line[n] == QLatin1Char(' '))
        ++n;
    return line.mid(n);
}

} // namespace

HelpFile HelpFile::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw HelpFileError(
            QStringLiteral("Cannot open help file \"%1\": %2").arg(path, file.errorString()).toStdString());
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(file.readAll());
    if (decoder.hasError())
        throw HelpFileError(QStringLiteral("%1: not valid UTF-8 text").arg(path).toStdString());
    return parse(text, path);
}

HelpFile HelpFile::parse(const QString &text, const QString &sourceName)
{
    HelpFile help;
    QList<QList<int>> bodyLines; // per topic, the file line of each body line
    int lineNumber = 0;
    auto fail = [&](const QString &message) { throw locatedError(sourceName, lineNumber, message); };

    for (QString line : text.split(QLatin1Char('\n'))) {
        ++lineNumber;
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1String("@@"))) {
            line.remove(0, 1);
        } else if (line.startsWith(QLatin1Char('@'))) {
            const qsizetype space = line.indexOf(QLatin1Char(' '));
            const QString directive = space < 0 ? line : line.left(space);
            const QString rest = space < 0 ? QString() : line.mid(space + 1).trimmed();
            if (directive == QLatin1String("@topic")) {
                if (rest.isEmpty())
                    fail(QStringLiteral("topic without a title"));
                const auto known = help.byTitle_.constFind(fold(rest));
                if (known != help.byTitle_.cend())
                    fail(QStringLiteral("duplicate topic \"%1\" (first at line %2)")
                             .arg(rest)
                             .arg(help.topics_[*known].line));
                help.byTitle_.insert(fold(rest), int(help.topics_.size()));
                help.topics_.append({rest, {}, {}, {}, lineNumber});
                bodyLines.append(QList<int>());
            } else if (directive == QLatin1String("@keywords")) {
                if (help.topics_.isEmpty())
                    fail(QStringLiteral("@keywords before the first @topic"));
                for (const QString &keyword : rest.split(QLatin1Char(','))) {
                    if (keyword.trimmed().isEmpty())
                        fail(QStringLiteral("empty keyword"));
                    help.topics_.last().keywords.append(keyword.trimmed());
                }
            } else {
                fail(QStringLiteral("unknown directive \"%1\"").arg(directive));
            }
            continue;
        }
        if (help.topics_.isEmpty()) {
            if (!line.trimmed().isEmpty())
                fail(QStringLiteral("text before the first @topic"));
            continue;
        }
        help.topics_.last().body.append(line);
        bodyLines.last().append(lineNumber);
    }
    if (help.topics_.isEmpty())
        throw HelpFileError(QStringLiteral("%1: no topics").arg(sourceName).toStdString());

    for (qsizetype t = 0; t < help.topics_.size(); ++t)
        trimBlankLines(help.topics_[t].body, bodyLines[t]);
    help.buildIndex();
    help.resolveLinks(bodyLines, sourceName);
    return help;
}

void HelpFile::buildIndex()
{
    QHash<QString, int> entryOf;
    for (qsizetype t = 0; t < topics_.size(); ++t) {
        for (const QString &keyword : topics_[t].keywords) {
            auto it = entryOf.constFind(fold(keyword));
            if (it == entryOf.cend()) {
                it = entryOf.insert(fold(keyword), int(index_.size()));
                index_.append({keyword, {}});
            }
            QList<int> &topics = index_[*it].topics;
            if (!topics.contains(int(t)))
                topics.append(int(t));
        }
    }
    std::stable_sort(index_.begin(), index_.end(), [](const HelpIndexEntry &a, const HelpIndexEntry &b) {
        return QString::compare(a.keyword, b.keyword, Qt::CaseInsensitive) < 0;
    });
    for (qsizetype e = 0; e < index_.size(); ++e)
        byKeyword_.insert(fold(index_[e].keyword), int(e));
}

void HelpFile::resolveLinks(const QList<QList<int>> &bodyLines, const QString &sourceName)
{
    for (qsizetype t = 0; t < topics_.size(); ++t) {
        HelpTopic &topic = topics_[t];
        for (qsizetype l = 0; l < topic.body.size(); ++l) {
            QList<Span> spans;
            try {
                spans = splitLinks(topic.body[l]);
            } catch (const std::runtime_error &e) {
                throw locatedError(sourceName, bodyLines[t][l], QString::fromUtf8(e.what()));
            }
            for (const Span &span : spans) {
                if (span.target.isEmpty())
                    continue;
                const int target = find(span.target);
                if (target < 0)
                    throw locatedError(sourceName, bodyLines[t][l],
                                       QStringLiteral("link to unknown topic \"%1\"").arg(span.target));
                topic.links.append({target, span.text});
            }
        }
    }
}

int HelpFile::find(const QString &word) const
{
    const QString key = fold(word);
    if (const auto title = byTitle_.constFind(key); title != byTitle_.cend())
        return *title;
    if (const auto entry = byKeyword_.constFind(key); entry != byKeyword_.cend())
        return index_[*entry].topics.first();
    return -1;
}

int HelpFile::topicOfHref(const QString &href) const
{
    if (!href.startsWith(kHrefPrefix))
        return -1;
    bool ok = false;
    const int topic = href.mid(kHrefPrefix.size()).toInt(&ok);
    return ok && topic >= 0 && topic < topics_.size() ? topic : -1;
}

QString HelpFile::topicHtml(int topic) const
{
    const HelpTopic &t = topics_.at(topic);
    auto inlineHtml = [this](const QString &line) {
        QString html;
        for (const Span &span : splitLinks(line)) {
            if (span.target.isEmpty())
                html += span.text.toHtmlEscaped();
            else
                html += QStringLiteral("<a href=\"%1%2\">%3</a>")
                            .arg(kHrefPrefix)
                            .arg(find(span.target))
                            .arg(span.text.toHtmlEscaped());
        }
        return html;
    };

    enum class Block { None, Paragraph, List, Pre };
    Block open = Block::None;
    QString html = QStringLiteral("<html><body><h2>%1</h2>\n").arg(t.title.toHtmlEscaped());
    auto enter = [&](Block block) {
        if (open == block)
            return;
        static const char *const closers[] = {"", "</p>\n", "</ul>\n", "</pre>\n"};
        static const char *const openers[] = {"", "<p>", "<ul>\n", "<pre>"};
        html += QLatin1String(closers[int(open)]);
        html += QLatin1String(openers[int(block)]);
        open = block;
    };

    for (const QString &line : t.body) {
        if (line.trimmed().isEmpty()) {
            enter(Block::None);
        } else if (isPreformatted(line)) {
            enter(Block::Pre);
            html += inlineHtml(unindent(line)) + QLatin1Char('\n');
        } else if (line.startsWith(QLatin1String("== "))) {
            enter(Block::None);
            html += QStringLiteral("<h3>%1</h3>\n").arg(inlineHtml(line.mid(3).trimmed()));
        } else if (line.startsWith(QLatin1String("- "))) {
            enter(Block::List);
            html += QStringLiteral("<li>%1</li>\n").arg(inlineHtml(line.mid(2).trimmed()));
        } else {
            if (open == Block::Paragraph)
                html += QLatin1Char(' ');
            enter(Block::Paragraph);
            html += inlineHtml(line.trimmed());
        }
    }
    enter(Block::None);
    html += QLatin1String("</body></html>\n");
    return html;
}

} // namespace velmora::app
