#include "app/prefs/RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace velmora::app
{

TRadioGroup::TRadioGroup(const char *name, const QString &caption, const QStringList &items, QWidget *parent)
    : QGroupBox(caption, parent), buttons_(new QButtonGroup(this))
{
    setObjectName(QString::fromLatin1(name));
    auto *layout = new QVBoxLayout(this);
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items[i], this);
        buttons_->addButton(button, i);
        layout->addWidget(button);
    }
    connect(buttons_, &QButtonGroup::idClicked, this, [this] {
        if (OnClick)
            OnClick();
    });
}

int TRadioGroup::ItemIndex() const
{
    const int checked = buttons_->checkedId();
    return checked >= 0 ? checked : uncheckedIndex_;
}

void TRadioGroup::setItemIndex(int index)
{
    if (QAbstractButton *button = buttons_->button(index)) {
        button->setChecked(true);
        return;
    }
    uncheckedIndex_ = index;
    // An exclusive group keeps one button checked; it lets go only while not exclusive.
    buttons_->setExclusive(false);
    if (QAbstractButton *checked = buttons_->checkedButton())
        checked->setChecked(false);
    buttons_->setExclusive(true);
}

} // namespace velmora::app
