#include "app/debug/HexText.h"

#include <QRegularExpression>

namespace velmora::app
{

QString hexText(std::uint32_t value, int digits)
{
    return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

QString addressText(std::uint16_t segment, std::uint16_t offset)
{
    return hexText(segment, 4) + QLatin1Char(':') + hexText(offset, 4);
}

std::optional<std::uint16_t> parseHex(const QString &text, std::uint16_t largest)
{
    QString digits = text.trimmed();
    if (digits.endsWith(QLatin1Char('h'), Qt::CaseInsensitive))
        digits.chop(1);
    // toUInt alone would take a "0x" prefix, a sign or blanks inside.
    static const QRegularExpression hexDigits(QStringLiteral("\\A[0-9A-Fa-f]+\\z"));
    if (!hexDigits.match(digits).hasMatch())
        return std::nullopt;
    bool ok = false;
    const uint value = digits.toUInt(&ok, 16);
    if (!ok || value > largest)
        return std::nullopt;
    return std::uint16_t(value);
}

} // namespace velmora::app
