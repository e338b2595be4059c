// The stack at a pause: the words from SS:SP upward, one a row as "SS:offset  SP+n  value",
// up to the end of the stack segment. SP's row is emphasized, and the rows SP and BP point
// at carry their names.
#pragma once

#include "app/debug/DebugSnapshot.h"
#include "app/debug/DebuggerTexts.h"

#include <QWidget>

class QTableWidget;

namespace velmora::app
{

class StackView : public QWidget
{
public:
    static constexpr int kRows = 16;

    explicit StackView(QWidget *parent = nullptr);

    void setTexts(const DebuggerTexts &texts);
    using QWidget::show;
    void show(const DebugSnapshot &snapshot);

private:
    QTableWidget *table_;
};

} // namespace velmora::app
