// The debugger's views, each in a dock of the main window: registers and flags, the
// instructions at CS:IP and the stack on the right; memory, watches and the program's
// console along the bottom; the machine code of the source, shown on demand.
#pragma once

#include "app/debug/DebugSnapshot.h"
#include "app/debug/DebuggerTexts.h"
#include "debugger/MachineCode.h"

#include <QString>

#include <functional>
#include <string>
#include <vector>

class QDockWidget;
class QWidget;
class QMainWindow;
class QPlainTextEdit;

namespace velmora::app
{

class InstructionView;
class MemoryDumpView;
class PcScreenView;
class RegistersView;
class StackView;
class WatchesView;

class DebugDocks
{
public:
    explicit DebugDocks(QMainWindow &window);

    void setTexts(const DebuggerTexts &texts);
    // Shows or hides every dock (the machine code's only as its toggle says).
    void setVisible(bool visible);
    void showMachineCode(bool visible);
    void show(const DebugSnapshot &snapshot);
    // The rows of the machine code view; decode turns a source line's bytes into its text.
    void showMachineCodeRows(const std::vector<debugger::MachineCodeLine> &rows,
                             const std::function<QString(const std::string &)> &decode);

    RegistersView &registers() const { return *registers_; }
    MemoryDumpView &memory() const { return *memory_; }
    PcScreenView &console() const { return *console_; }
    QDockWidget &consoleDock() const { return *consoleDock_; }

private:
    QDockWidget *addDock(QWidget *view, const char *name, Qt::DockWidgetArea area);

    QMainWindow &window_;
    RegistersView *registers_;
    StackView *stack_;
    MemoryDumpView *memory_;
    WatchesView *watches_;
    InstructionView *instructions_;
    PcScreenView *console_;
    QPlainTextEdit *machineCode_;
    std::vector<QDockWidget *> docks_;
    QDockWidget *consoleDock_;
    QDockWidget *machineCodeDock_;
    bool machineCodeShown_ = false;
    bool visible_ = false;
    bool sized_ = false;
    bool machineCodeSized_ = false;
};

} // namespace velmora::app
