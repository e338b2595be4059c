#include "editor/widget/ScrollingPanel.h"

#include <QEvent>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace velmora::widget
{

namespace
{

// The height below which the panel does not shrink: a few lines stay readable.
constexpr int kLeastHeight = 120;

} // namespace

TScrollingPanel::TScrollingPanel(QWidget *content, QWidget *parent) : QScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(true);
    setWidget(content);
    content->installEventFilter(this);
}

bool TScrollingPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == widget() && event->type() == QEvent::LayoutRequest)
        updateGeometry();
    return QScrollArea::eventFilter(watched, event);
}

QSize TScrollingPanel::minimumSizeHint() const
{
    const QSize content = widget()->minimumSizeHint();
    return {content.width() + verticalScrollBar()->sizeHint().width(), std::min(content.height(), kLeastHeight)};
}

QSize TScrollingPanel::sizeHint() const
{
    const QSize content = widget()->sizeHint().expandedTo(widget()->minimumSizeHint());
    return {content.width() + verticalScrollBar()->sizeHint().width(), content.height()};
}

QWidget *scrollingPage(QWidget *content)
{
    auto *page = new QWidget;
    page->setObjectName(content->objectName());
    content->setObjectName(QString());
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new TScrollingPanel(content, page));
    return page;
}

} // namespace velmora::widget
