// The main window's debug mode: a program under the built-in debugger beside its source.
// While the mode is on, the debugger's commands (trace, step over, run, run to cursor, step
// back, stop, breakpoints) own their keys; the source shows the current line and the
// breakpoints, and docked views show the registers, the stack, memory, watches, the
// instructions, the program's console and, when asked, the machine code of each line.
// Leaving the mode gives the keys back and hides the views.
#pragma once

#include "app/debug/DebugDocks.h"
#include "app/debug/DebuggerTexts.h"
#include "debugger/DebugSession.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QMainWindow;
class QMenu;
class QToolBar;

namespace velmora::widget
{
class TSourceMemo;
class TSourceGutter;
} // namespace velmora::widget

namespace velmora::app
{

class DebugMode : public QObject
{
public:
    // Belongs to window, which it docks its views and tool bars in.
    DebugMode(QMainWindow &window, widget::TSourceMemo &editor, widget::TSourceGutter &gutter);
    ~DebugMode() override;

    // Starts the program under the debugger with the debug information of its map (a map
    // without it, or none, gives a session without source lines). Returns why the program
    // could not be loaded; empty when the mode is on.
    QString start(const QString &program, const QString &map);
    bool active() const { return active_; }
    // Ends the program and the mode.
    void leave();

    void setTexts(const DebuggerTexts &texts);
    // The menu of the debugger's commands, for the menu bar; its items carry the keys.
    QMenu *menu() const { return menu_; }
    // The breakpoint toggle on the caret's line, also outside the mode.
    QAction *toggleBreakpointAction() const { return toggleBreakpoint_; }

    // What the program wrote through DOS, once it has ended or was stopped.
    std::function<void(const QByteArray &output)> OnOutput;
    // The mode was entered or left.
    std::function<void(bool active)> OnActiveChanged;
    // The source's bytes as the editor shows them, for the machine code view.
    std::function<QString(const QByteArray &bytes)> DecodeSource;

private:
    QAction *addCommand(const char *name, const QKeySequence &key, void (DebugMode::*command)());
    void enter();
    // The debugger's commands.
    void traceInto();
    void stepOver();
    void run();
    void runToCursor();
    void stepBack();
    QString stepBackLimitText() const;
    void toggleBreakpoint();
    void toggleMachineCode();
    // Follows a command's outcome: goes on in slices while it runs, else shows where it is.
    void follow(debugger::DebugSession::Outcome outcome);
    // Hands what the program wrote to OnOutput, once a session.
    void sendOutput();
    void slice();
    void pressKey(machine::Key key);
    // Shows the pause: the current line in the source, every view, the status line.
    void showPause();
    void showMachineCode();
    std::int32_t executionBand() const;
    void showStatus(const QString &text);
    void sendBreakpoints();
    bool paused() const;

    QMainWindow &window_;
    widget::TSourceMemo &editor_;
    widget::TSourceGutter &gutter_;
    DebuggerTexts texts_;
    debugger::DebugSession session_;
    debugger::DebugSession::Outcome outcome_ = debugger::DebugSession::Outcome::Ended;
    std::unique_ptr<DebugDocks> docks_;
    QTimer slices_;
    QMenu *menu_ = nullptr;
    // Shown in the mode only: the commands as buttons and where the program is.
    QToolBar *toolBar_ = nullptr;
    QToolBar *statusBar_ = nullptr;
    QLabel *status_ = nullptr;
    // The commands that own their keys in the mode, in the menu's order.
    std::vector<QAction *> commands_;
    QAction *toggleBreakpoint_ = nullptr;
    QAction *machineCode_ = nullptr;
    bool active_ = false;
    bool outputSent_ = false;
};

} // namespace velmora::app
