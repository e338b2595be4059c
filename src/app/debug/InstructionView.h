// The machine instructions around CS:IP at a pause, one a row: a mark, CS:offset, the bytes
// in hexadecimal and the instruction. The instruction at CS:IP is marked and emphasized;
// before it come up to two instructions from where a source line's code starts, when
// decoding from there meets CS:IP, and after it the next kFollowing.
#pragma once

#include "app/debug/DebugSnapshot.h"
#include "app/debug/DebuggerTexts.h"

#include <QWidget>

class QTableWidget;

namespace velmora::app
{

class InstructionView : public QWidget
{
public:
    static constexpr int kPreceding = 2;
    static constexpr int kFollowing = 8;

    explicit InstructionView(QWidget *parent = nullptr);

    void setTexts(const DebuggerTexts &texts);
    using QWidget::show;
    void show(const DebugSnapshot &snapshot);

private:
    QTableWidget *table_;
};

} // namespace velmora::app
