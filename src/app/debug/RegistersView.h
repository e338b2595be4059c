// The CPU's registers and flags at a pause: AX, BX, CX and DX with their 8-bit halves, SI DI
// BP SP IP, the segment registers, and OF DF IF TF SF ZF AF PF CF as 0 or 1. Values that the
// last step changed are emphasized. Double-click or Enter on a register edits its value in
// hexadecimal, on a flag turns it over; the registers so changed go to OnRegistersEdited.
#pragma once

#include "app/debug/DebugSnapshot.h"
#include "app/debug/DebuggerTexts.h"

#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QModelIndex;
class QTableWidget;

namespace velmora::app
{

class RegistersView : public QWidget
{
public:
    explicit RegistersView(QWidget *parent = nullptr);

    void setTexts(const DebuggerTexts &texts);
    using QWidget::show;
    void show(const DebugSnapshot &snapshot);

    // The registers with the student's change; the view keeps showing the snapshot until
    // the next show().
    std::function<void(const machine::Registers &changed)> OnRegistersEdited;

private:
    void showRegisters();
    void showFlags();
    void editRegister(const QModelIndex &cell);
    void commitRegister(const QModelIndex &cell, const QString &typed);
    void toggleFlag(const QModelIndex &cell);

    DebuggerTexts texts_;
    std::optional<machine::Registers> now_;
    machine::Registers before_;
    QTableWidget *registers_;
    QTableWidget *flags_;
    QLabel *message_;
};

} // namespace velmora::app
