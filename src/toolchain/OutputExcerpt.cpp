#include "toolchain/OutputExcerpt.h"

#include <QFile>

namespace velmora::toolchain
{

namespace
{

// Whole lines only: the head ends after its last line end, the tail starts after its first.
void cutAtLineEnds(OutputExcerpt &excerpt, qint64 size)
{
    if (const qsizetype end = excerpt.head.lastIndexOf('\n'); end >= 0)
        excerpt.head.truncate(end + 1);
    if (const qsizetype start = excerpt.tail.indexOf('\n'); start >= 0 && start + 1 < excerpt.tail.size())
        excerpt.tail.remove(0, start + 1);
    excerpt.omitted = size - excerpt.head.size() - excerpt.tail.size();
}

} // namespace

OutputExcerpt readOutputExcerpt(const QString &path, qint64 bound)
{
    OutputExcerpt excerpt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        excerpt.error = file.errorString();
        return excerpt;
    }
    excerpt.read = true;
    const qint64 size = file.size();
    if (size <= 2 * bound) {
        excerpt.head = file.readAll();
        return excerpt;
    }
    excerpt.head = file.read(bound);
    file.seek(size - bound);
    excerpt.tail = file.read(bound);
    cutAtLineEnds(excerpt, size);
    return excerpt;
}

OutputExcerpt outputExcerpt(const QByteArray &output, qint64 bound)
{
    OutputExcerpt excerpt;
    excerpt.read = true;
    if (output.size() <= 2 * bound) {
        excerpt.head = output;
        return excerpt;
    }
    excerpt.head = output.first(bound);
    excerpt.tail = output.last(bound);
    cutAtLineEnds(excerpt, output.size());
    return excerpt;
}

} // namespace velmora::toolchain
