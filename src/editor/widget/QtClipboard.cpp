#include "editor/widget/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace velmora::widget
{

void QtClipboard::put(std::string_view text, bool block)
{
    QString unicode = QString::fromStdU16String(core::decode(text, codePage_));
    unicode.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    auto *data = new QMimeData;
    data->setText(unicode);
    if (block)
        data->setData(kBlockMimeType, QByteArray(1, core::kBlockFormatValue));
    QGuiApplication::clipboard()->setMimeData(data);
}

std::optional<std::string> QtClipboard::text() const
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText())
        return std::nullopt;
    QString unicode = data->text();
    // Every break as 13, 10: a lone 10 or 13 from the desktop becomes a whole break.
    unicode.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    unicode.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    unicode.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return core::encode(unicode.toStdU16String(), codePage_);
}

std::optional<std::string> QtClipboard::blockData() const
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasFormat(kBlockMimeType))
        return std::nullopt;
    return data->data(kBlockMimeType).toStdString();
}

} // namespace velmora::widget
