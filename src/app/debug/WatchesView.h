// The variables the student watches: a name typed and added (Add or Enter) becomes a row
// with the variable's value as its type shows it, worked out again at every pause; Delete
// removes the selected row. A name the program does not define says so in its value.
#pragma once

#include "app/debug/DebugSnapshot.h"
#include "app/debug/DebuggerTexts.h"
#include "debugger/WatchValue.h"

#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>

class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace velmora::app
{

class WatchesView : public QWidget
{
public:
    // The value of a variable at segment:offset as its type shows it (UTF-8).
    using ValueText = std::function<std::string(const debugger::DebugSymbol &symbol, std::uint16_t segment,
                                                const machine::Memory &memory)>;

    explicit WatchesView(ValueText valueText = debugger::watchValue, QWidget *parent = nullptr);

    void setTexts(const DebuggerTexts &texts);
    using QWidget::show;
    void show(const DebugSnapshot &snapshot);

    // The names watched, in their order, as typed.
    QStringList names() const;
    void addWatch(const QString &name);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showValue(QTreeWidgetItem *item) const;

    ValueText valueText_;
    DebuggerTexts texts_;
    DebugSnapshot snapshot_;
    QLineEdit *name_;
    QPushButton *add_;
    QTreeWidget *list_;
};

} // namespace velmora::app
