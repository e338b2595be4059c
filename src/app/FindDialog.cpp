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
    : QDialog(parent), text_(new QLineEdit(this)), matchCase_(new QCheckBox(this)), wholeWord_(new QCheckBox(this)),
      up_(new QRadioButton), down_(new QRadioButton), findWhat_(new QLabel(this)), direction_(new QGroupBox(this)),
      findNext_(new QPushButton(this)), cancel_(new QPushButton(this))
{
    setObjectName(QStringLiteral("FD"));
    setModal(false);
    text_->setObjectName(QStringLiteral("FindText"));
    matchCase_->setObjectName(QStringLiteral("MatchCase"));
    wholeWord_->setObjectName(QStringLiteral("WholeWord"));
    up_->setObjectName(QStringLiteral("DirectionUp"));
    down_->setObjectName(QStringLiteral("DirectionDown"));
    down_->setChecked(true);

    auto *directionLayout = new QHBoxLayout(direction_);
    directionLayout->addWidget(up_);
    directionLayout->addWidget(down_);

    findNext_->setObjectName(QStringLiteral("FindNext"));
    findNext_->setDefault(true);
    cancel_->setObjectName(QStringLiteral("FindCancel"));
    findWhat_->setBuddy(text_);
    setTexts(FindTexts{});

    auto *layout = new QGridLayout(this);
    layout->addWidget(findWhat_, 0, 0);
    layout->addWidget(text_, 0, 1, 1, 2);
    layout->addWidget(findNext_, 0, 3);
    layout->addWidget(matchCase_, 1, 0, 1, 2);
    layout->addWidget(direction_, 1, 2, 2, 1);
    layout->addWidget(cancel_, 1, 3);
    layout->addWidget(wholeWord_, 2, 0, 1, 2);

    connect(findNext_, &QPushButton::clicked, this, [this] {
        if (OnFind)
            OnFind();
    });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void TFindDialog::setTexts(const FindTexts &texts)
{
    setWindowTitle(texts.title);
    findWhat_->setText(texts.findWhat);
    matchCase_->setText(texts.matchCase);
    wholeWord_->setText(texts.wholeWord);
    direction_->setTitle(texts.direction);
    up_->setText(texts.up);
    down_->setText(texts.down);
    findNext_->setText(texts.findNext);
    cancel_->setText(texts.cancel);
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
