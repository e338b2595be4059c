#include "app/debug/WatchesView.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace velmora::app
{

namespace
{

enum Column { kName, kValue, kColumns };

} // namespace

WatchesView::WatchesView(ValueText valueText, QWidget *parent) : QWidget(parent), valueText_(std::move(valueText))
{
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("WatchName"));
    add_ = new QPushButton(this);
    add_->setObjectName(QStringLiteral("WatchAdd"));
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("WatchList"));
    list_->setColumnCount(kColumns);
    list_->setRootIsDecorated(false);
    list_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    list_->installEventFilter(this);

    connect(add_, &QPushButton::clicked, this, [this] { addWatch(name_->text()); });
    connect(name_, &QLineEdit::returnPressed, this, [this] { addWatch(name_->text()); });

    auto *top = new QHBoxLayout;
    top->addWidget(name_, 1);
    top->addWidget(add_);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(list_, 1);

    setTexts(texts_);
}

void WatchesView::setTexts(const DebuggerTexts &texts)
{
    texts_ = texts;
    setWindowTitle(texts_.watchesTitle);
    name_->setPlaceholderText(texts_.watchPlaceholder);
    add_->setText(texts_.addWatch);
    list_->setHeaderLabels({texts_.watchName, texts_.watchValue});
    list_->setToolTip(texts_.watchesHint);
    show(snapshot_);
}

void WatchesView::show(const DebugSnapshot &snapshot)
{
    snapshot_ = snapshot;
    for (int i = 0; i < list_->topLevelItemCount(); ++i)
        showValue(list_->topLevelItem(i));
}

QStringList WatchesView::names() const
{
    QStringList names;
    for (int i = 0; i < list_->topLevelItemCount(); ++i)
        names.append(list_->topLevelItem(i)->text(kName));
    return names;
}

void WatchesView::addWatch(const QString &name)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return;
    auto *item = new QTreeWidgetItem(list_, {trimmed});
    showValue(item);
    name_->clear();
}

bool WatchesView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == list_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        qDeleteAll(list_->selectedItems());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void WatchesView::showValue(QTreeWidgetItem *item) const
{
    if (snapshot_.empty()) {
        item->setText(kValue, texts_.noProgram);
        return;
    }
    const debugger::DebugSymbol *symbol = snapshot_.info->symbol(item->text(kName).toStdString());
    if (!symbol) {
        item->setText(kValue, texts_.noSuchVariable);
        return;
    }
    const auto segment = std::uint16_t(snapshot_.loadSegment + symbol->place.frame);
    item->setText(kValue, QString::fromStdString(valueText_(*symbol, segment, *snapshot_.memory)));
}

} // namespace velmora::app
