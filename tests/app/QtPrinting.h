// Readable test failure messages for Qt strings.
#pragma once

#include <QString>
#include <QStringList>

#include <ostream>

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList &list, std::ostream *out)
{
    *out << '"' << list.join(QStringLiteral("\", \"")).toStdString() << '"';
}

#include <QRect>

inline std::ostream &operator<<(std::ostream &out, const QRect &rect)
{
    return out << rect.width() << 'x' << rect.height() << '+' << rect.x() << '+' << rect.y();
}
