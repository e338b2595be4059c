#include "app/FindDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace velmora::app
{

TFindDialog::TFindDialog(QWidget *parent)
    : QDialog(parent), text_(new QLineEdit(this)), matchCase_(new QCheckBox(tr("Match &case"), this)),
      wholeWord_(new QCheckBox(tr("Match &whole word only"), this)), up_(new QRadioButton(tr("&Up"))),
      down_(new QRadioButton(tr("&Down")))
{
    setObjectName(QStringLiteral("FD"));
    setWindowTitle(tr("Find"));
    setModal(false);
    text_->setObjectName(QStringLiteral("FindText"));
    matchCase_->setObjectName(QStringLiteral("MatchCase"));
    wholeWord_->setObjectName(QStringLiteral("WholeWord"));
    up_->setObjectName(QStringLiteral("DirectionUp"));
    down_->setObjectName(QStringLiteral("DirectionDown"));
    down_->setChecked(true);

    auto *direction = new QGroupBox(tr("Direction"), this);
    auto *directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(up_);
    directionLayout->addWidget(down_);

    auto *findNext = new QPushButton(tr("&Find Next"), this);
    findNext->setObjectName(QStringLiteral("FindNext"));
    findNext->setDefault(true);
    auto *cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("FindCancel"));

    auto *label = new QLabel(tr("Fi&nd what:"), this);
    label->setBuddy(text_);

    auto *layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0);
    layout->addWidget(text_, 0, 1, 1, 2);
    layout->addWidget(findNext, 0, 3);
    layout->addWidget(matchCase_, 1, 0, 1, 2);
    layout->addWidget(direction, 1, 2, 2, 1);
    layout->addWidget(cancel, 1, 3);
    layout->addWidget(wholeWord_, 2, 0, 1, 2);

    connect(findNext, &QPushButton::clicked, this, [this] {
        if (OnFind)
            OnFind();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString TFindDialog::findText() const
{
    return text_->text();
}

void TFindDialog::setFindText(const QString &text)
{
    text_->setText(text);
}

bool TFindDialog::matchCase() const
{
    return matchCase_->isChecked();
}

bool TFindDialog::wholeWord() const
{
    return wholeWord_->isChecked();
}

bool TFindDialog::down() const
{
    return down_->isChecked();
}

} // namespace velmora::app
