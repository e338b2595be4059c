#include "app/StatusBar.h"

#include <QLabel>
#include <QPainter>
#include <QStyle>

namespace velmora::app
{

namespace
{

// A panel that ends its text with an ellipsis where the bar has no room for all of it; the
// whole text shows as the panel's tip.
class ElidingPanel : public QLabel
{
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        const QRect room = contentsRect();
        if (fontMetrics().horizontalAdvance(text()) <= room.width()) {
            QLabel::paintEvent(event);
            return;
        }
        QPainter painter(this);
        drawFrame(&painter);
        style()->drawItemText(&painter, room, Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(),
                              fontMetrics().elidedText(text(), Qt::ElideRight, room.width()), foregroundRole());
    }
};

} // namespace

TStatusBar::TStatusBar(QWidget *parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("sb"));
    setSizeGripEnabled(true);
    const std::array<int, PanelCount> widths{350, 50, 50, 100, 1};
    for (int i = 0; i < PanelCount; ++i) {
        QLabel *panel = i == 2 || i == ToolChainPanel ? new ElidingPanel(this) : new QLabel(this);
        panel->setObjectName(QStringLiteral("sbPanel%1").arg(i));
        panel->setTextFormat(Qt::PlainText);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(i == 1 ? QFrame::Raised : QFrame::Sunken);
        panel->setMinimumWidth(widths[i]);
        if (i == 1 || i == EncodingPanel || i == ToolChainPanel)
            panel->setAlignment(Qt::AlignCenter);
        // The summary takes the rest of the bar, so that a long one stays readable; the tool
        // chain's name takes what it needs where there is room, never widening the window.
        if (i == 2 || i == ToolChainPanel)
            addWidget(panel, i == 2 ? 1 : 0);
        else {
            panel->setFixedWidth(widths[i]);
            addWidget(panel);
        }
        panels_[i] = panel;
    }
}

QString TStatusBar::panelText(int index) const
{
    return panels_.at(index)->text();
}

void TStatusBar::setPanelText(int index, const QString &text)
{
    panels_.at(index)->setText(text);
    if (index == 2 || index == ToolChainPanel)
        panels_.at(index)->setToolTip(text);
}

} // namespace velmora::app
