// Content that scrolls up and down only when the window is too short for it (a small screen,
// a large scale factor), and otherwise shows whole, as wide as it needs.
#pragma once

#include <QScrollArea>

namespace velmora::widget
{

class TScrollingPanel : public QScrollArea
{
public:
    // Takes content over; it keeps its name and is found under the panel as before.
    explicit TScrollingPanel(QWidget *content, QWidget *parent = nullptr);

    // The content's width (and room for the scroll bar), but only a little of its height.
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    // The content's texts change (a language pack): the panel's hints change with it.
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// A tab page showing content in a TScrollingPanel. The page takes the content's name, so
// that what names the page (a tab caption) still finds it.
QWidget *scrollingPage(QWidget *content);

} // namespace velmora::widget
