// A command line as the process runner reads it: words split on blanks the way a DOS
// command tail is split, and an optional trailing redirection " >file". Nothing else is
// interpreted: quotes, `;`, `$` and the like are plain characters of their words.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace velmora::platform
{

struct CommandWord {
    QString text;
    qsizetype start = 0; // offset of the word in the command line
    qsizetype end = 0;   // offset just past it
};

struct CommandLine {
    QString text;                   // the whole line, redirection included
    std::vector<CommandWord> words; // the words before the redirection
    QString outputFile;             // the name after a trailing ">", empty when there is none

    // The text from the first word to the end of word index (inclusive), as written.
    QString textThrough(std::size_t index) const;
    // The text after word index up to the redirection, as written (a DOS command tail).
    QString tailAfter(std::size_t index) const;
    // The words after word index.
    QStringList wordsAfter(std::size_t index) const;
};

// The blanks that separate words: spaces and tabs.
bool isBlank(QChar c);

// Blanks are spaces and tabs; a run of them separates two words and never yields an empty one.
// A last word that starts with a single ">" followed by a name is the redirection.
CommandLine parseCommandLine(const QString &text);

} // namespace velmora::platform
