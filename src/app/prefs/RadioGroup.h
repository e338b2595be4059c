// A titled group of exclusive choices addressed by item index, the form in which the
// settings keep such choices.
#pragma once

#include <QGroupBox>
#include <QStringList>

#include <functional>

class QButtonGroup;

namespace velmora::app
{

class TRadioGroup : public QGroupBox
{
    Q_OBJECT

public:
    TRadioGroup(const char *name, const QString &caption, const QStringList &items, QWidget *parent = nullptr);

    // The checked choice. An index outside the choices checks none and is kept as it is,
    // so a stored value that names no choice survives a show followed by a store.
    int ItemIndex() const;
    void setItemIndex(int index);

    // Fired when the user picks a choice, after ItemIndex has changed.
    std::function<void()> OnClick;

private:
    QButtonGroup *buttons_;
    int uncheckedIndex_ = -1;
};

} // namespace velmora::app
