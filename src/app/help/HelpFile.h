// The help file: reference topics for the help window ("info/intro.hlp").
//
// Format: UTF-8 text, read line by line.
//
//   # a comment line (a '#' in the first column), anywhere in the file
//   @topic MOV                   starts a topic; the rest of the line is its title
//   @keywords MOV, move data     index keywords of the topic, comma-separated; may repeat
//   Plain lines form paragraphs; a blank line ends a paragraph.
//   - a line starting with "- " is one item of a bulleted list
//   == a line starting with "== " is a heading inside the topic
//       a line starting with a blank or a tab is preformatted (code examples)
//   [[MOV]] or [[MOV|the MOV instruction]] anywhere in a body line links to a topic.
//   @@ at the start of a body line stands for a single '@'.
//
// The first topic is the contents. Titles are unique without regard to letter case. A link
// names a topic by its title or by one of its index keywords (titles win); every link must
// resolve. Every non-blank line before the first @topic must be a comment. Malformed files
// are rejected with a HelpFileError naming the file and line.
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <stdexcept>

namespace velmora::app
{

class HelpFileError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

struct HelpLink {
    int target = -1; // index of the linked topic
    QString text;    // the text shown for the link
};

struct HelpTopic {
    QString title;
    QStringList keywords;
    QStringList body; // the topic's lines as written, trailing blank lines removed
    QList<HelpLink> links;
    int line = 0; // line of the @topic directive, 1-based
};

struct HelpIndexEntry {
    QString keyword;   // as first written
    QList<int> topics; // topics carrying the keyword, in file order
};

class HelpFile
{
public:
    // Reads and checks a help file; throws HelpFileError.
    static HelpFile load(const QString &path);
    // Checks help text; sourceName prefixes the error messages.
    static HelpFile parse(const QString &text, const QString &sourceName);

    const QList<HelpTopic> &topics() const { return topics_; }
    // Index keywords sorted without regard to letter case, each with its topics.
    const QList<HelpIndexEntry> &index() const { return index_; }

    // The topic titled word, else the first topic carrying the index keyword word, both
    // compared without regard to letter case; -1 when there is none.
    int find(const QString &word) const;

    // The topic as a small HTML document: its title as a heading, then its body. Links
    // point to "topic:N", N the target's index.
    QString topicHtml(int topic) const;
    // The topic a link of topicHtml points to; -1 for any other address.
    int topicOfHref(const QString &href) const;

private:
    void buildIndex();
    void resolveLinks(const QList<QList<int>> &bodyLines, const QString &sourceName);

    QList<HelpTopic> topics_;
    QList<HelpIndexEntry> index_;
    QHash<QString, int> byTitle_;   // folded title -> topic
    QHash<QString, int> byKeyword_; // folded keyword -> index entry
};

} // namespace velmora::app
