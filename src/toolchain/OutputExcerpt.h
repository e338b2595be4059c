// A tool's output file read for its page, or a program's output held in memory, bounded:
// a runaway program may write hundreds of megabytes, and the page must come up at once and
// never exhaust memory. Output larger than twice the bound is taken as its first and its
// last `bound` bytes, cut at line ends, with the size of what was left out in between.
#pragma once

#include <QByteArray>
#include <QString>

namespace velmora::toolchain
{

constexpr qint64 outputExcerptBound = 256 * 1024;

struct OutputExcerpt {
    QByteArray head;    // the whole file when nothing was left out
    QByteArray tail;    // empty when nothing was left out
    qint64 omitted = 0; // bytes left out between head and tail
    bool read = false;  // false when the file could not be opened
    QString error;      // why not, when it could not
};

OutputExcerpt readOutputExcerpt(const QString &path, qint64 bound = outputExcerptBound);
// The same excerpt of output held in memory.
OutputExcerpt outputExcerpt(const QByteArray &output, qint64 bound = outputExcerptBound);

} // namespace velmora::toolchain
