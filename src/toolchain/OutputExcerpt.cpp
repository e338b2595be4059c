#include "toolchain/OutputExcerpt.h"

#include <QFile>

namespace velmora::toolchain
{

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
    // Whole lines only: the head ends after its last line end, the tail starts after its first.
    if (const qsizetype end = excerpt.head.lastIndexOf('\n'); end >= 0)
        excerpt.head.truncate(end + 1);
    file.seek(size - bound);
    excerpt.tail = file.read(bound);
    if (const qsizetype start = excerpt.tail.indexOf('\n'); start >= 0 && start + 1 < excerpt.tail.size())
        excerpt.tail.remove(0, start + 1);
    excerpt.omitted = size - excerpt.head.size() - excerpt.tail.size();
    return excerpt;
}

} // namespace velmora::toolchain
