#include "app/debug/DebugMode.h"

#include "app/MainWindow.h"
#include "app/console/PcScreenView.h"
#include "app/debug/MemoryDumpView.h"
#include "app/debug/RegistersView.h"
#include "debugger/DebugInfo.h"
#include "editor/widget/ColorSwatch.h"
#include "editor/widget/SourceGutter.h"
#include "editor/widget/SourceMemo.h"

#include <QAction>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>

#include <algorithm>
#include <set>

namespace velmora::app
{

using debugger::DebugSession;
using Outcome = debugger::DebugSession::Outcome;

namespace
{

// The debug information of the map beside the program; none when there is no map.
debugger::DebugInfo readMap(const QString &map)
{
    QFile file(map);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return debugger::readDebugMap(file.readAll().toStdString());
}

} // namespace

DebugMode::DebugMode(QMainWindow &window, widget::TSourceMemo &editor, widget::TSourceGutter &gutter)
    : QObject(&window), window_(window), editor_(editor), gutter_(gutter), docks_(std::make_unique<DebugDocks>(window))
{
    menu_ = new QMenu(&window_);
    menu_->menuAction()->setObjectName(QStringLiteral("Debug1"));
    toolBar_ = new QToolBar(&window_);
    toolBar_->setObjectName(QStringLiteral("DebugToolBar"));
    toolBar_->setMovable(false);
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    window_.addToolBar(Qt::TopToolBarArea, toolBar_);
    addCommand("DebugTrace", Qt::Key_F7, &DebugMode::traceInto);
    addCommand("DebugStepOver", Qt::Key_F8, &DebugMode::stepOver);
    addCommand("DebugRun", Qt::Key_F9, &DebugMode::run);
    addCommand("DebugRunToCursor", Qt::Key_F4, &DebugMode::runToCursor);
    addCommand("DebugStepBack", Qt::ALT | Qt::Key_F7, &DebugMode::stepBack);
    addCommand("DebugStop", Qt::CTRL | Qt::Key_F2, &DebugMode::leave);
    menu_->addSeparator()->setObjectName(QStringLiteral("DebugN1"));
    // The toggle works outside the mode too, from the menu and the gutter; its key only in it.
    toggleBreakpoint_ = addCommand("DebugBreakpoint", Qt::Key_F2, &DebugMode::toggleBreakpoint);
    toggleBreakpoint_->setEnabled(true);
    machineCode_ = addCommand("DebugMachineCode", {}, &DebugMode::toggleMachineCode);
    machineCode_->setCheckable(true);
    toolBar_->addActions(menu_->actions());
    toolBar_->hide();
    // Where the program is, on a line of its own under the commands.
    window_.addToolBarBreak(Qt::TopToolBarArea);
    statusBar_ = new QToolBar(&window_);
    statusBar_->setObjectName(QStringLiteral("DebugStatusBar"));
    statusBar_->setMovable(false);
    window_.addToolBar(Qt::TopToolBarArea, statusBar_);
    status_ = new QLabel(statusBar_);
    status_->setObjectName(QStringLiteral("DebugStatus"));
    status_->setTextFormat(Qt::PlainText);
    status_->setContentsMargins(4, 0, 4, 0);
    statusBar_->addWidget(status_);
    statusBar_->hide();

    slices_.setSingleShot(true);
    slices_.setInterval(0);
    connect(&slices_, &QTimer::timeout, this, [this] { TVelmora::runCommand([this] { slice(); }); });

    gutter_.setBreakpoints(true);
    gutter_.OnBreakpointsChanged = [this](widget::TSourceGutter &) { sendBreakpoints(); };
    docks_->console().OnKey = [this](machine::Key key) { pressKey(key); };
    docks_->console().OnBreak = [this] { leave(); };
    docks_->registers().OnRegistersEdited = [this](const machine::Registers &registers) {
        if (!paused())
            return;
        session_.setRegisters(registers);
        showPause();
    };
    docks_->memory().OnByteEdited = [this](std::uint32_t address, std::uint8_t value) {
        if (!paused())
            return;
        session_.writeByte(address, value);
        showPause();
    };
    setTexts(texts_);
}

DebugMode::~DebugMode() = default;

QAction *DebugMode::addCommand(const char *name, const QKeySequence &key, void (DebugMode::*command)())
{
    QAction *action = menu_->addAction(QString());
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(key);
    // The window's key dispatcher matches the key while the action is one of the window's.
    action->setShortcutContext(Qt::WidgetShortcut);
    action->setEnabled(false);
    connect(action, &QAction::triggered, this,
            [this, command] { TVelmora::runCommand([this, command] { (this->*command)(); }); });
    commands_.push_back(action);
    return action;
}

void DebugMode::setTexts(const DebuggerTexts &texts)
{
    texts_ = texts;
    menu_->setTitle(texts_.debugMenu);
    const QString captions[] = {texts_.traceInto,        texts_.stepOver,       texts_.runProgram,
                                texts_.runToCursor,      texts_.stepBack,       texts_.stopDebugging,
                                texts_.toggleBreakpoint, texts_.showMachineCode};
    for (std::size_t i = 0; i < commands_.size(); ++i)
        commands_[i]->setText(captions[i]);
    docks_->setTexts(texts_);
    if (active_)
        showPause();
}

QString DebugMode::start(const QString &program, const QString &map)
{
    if (active_)
        leave();
    const std::string error = session_.start(QFile::encodeName(program).toStdString(), std::string(), readMap(map));
    if (!error.empty())
        return QString::fromStdString(error);
    outputSent_ = false;
    outcome_ = Outcome::Paused;
    enter();
    sendBreakpoints();
    showPause();
    return {};
}

void DebugMode::enter()
{
    active_ = true;
    for (QAction *command : commands_) {
        command->setEnabled(true);
        window_.addAction(command);
    }
    docks_->console().setScreen(&session_.pc().screen());
    docks_->setVisible(true);
    toolBar_->show();
    statusBar_->show();
    if (OnActiveChanged)
        OnActiveChanged(true);
}

void DebugMode::leave()
{
    if (!active_)
        return;
    slices_.stop();
    session_.stop();
    sendOutput();
    active_ = false;
    for (QAction *command : commands_) {
        window_.removeAction(command);
        command->setEnabled(command == toggleBreakpoint_);
    }
    docks_->setVisible(false);
    toolBar_->hide();
    statusBar_->hide();
    docks_->console().setScreen(nullptr);
    gutter_.SetExecutionLine(-1);
    if (OnActiveChanged)
        OnActiveChanged(false);
    editor_.setFocus();
}

bool DebugMode::paused() const
{
    return active_ && outcome_ != Outcome::Running && outcome_ != Outcome::WaitingForKey;
}

void DebugMode::traceInto()
{
    if (paused() && session_.active())
        follow(session_.traceInto());
}

void DebugMode::stepOver()
{
    if (paused() && session_.active())
        follow(session_.stepOver());
}

void DebugMode::run()
{
    if (paused() && session_.active())
        follow(session_.run());
}

void DebugMode::runToCursor()
{
    if (paused() && session_.active())
        follow(session_.runToLine(editor_.SelPar() + 1));
}

void DebugMode::stepBack()
{
    if (!paused())
        return;
    if (!session_.stepBack())
        return showStatus(stepBackLimitText());
    outcome_ = Outcome::Paused;
    showPause();
}

QString DebugMode::stepBackLimitText() const
{
    switch (session_.stepBackLimit()) {
    case debugger::StepBackLimit::DiskFile:
        return texts_.stepBackDisk;
    case debugger::StepBackLimit::TooMuchMemory:
        return texts_.stepBackMemory;
    case debugger::StepBackLimit::HistoryFull:
        return texts_.stepBackFull.arg(DebugSession::kHistorySteps);
    case debugger::StepBackLimit::AtStart:
    case debugger::StepBackLimit::None:
        break;
    }
    return texts_.noStepBack;
}

void DebugMode::toggleBreakpoint()
{
    // By paragraph, so that a wrapped line toggles as one.
    std::vector<std::int32_t> lines = gutter_.BreakpointLines();
    const std::int32_t caret = editor_.SelPar();
    if (const auto at = std::find(lines.begin(), lines.end(), caret); at != lines.end())
        lines.erase(at);
    else
        lines.insert(std::upper_bound(lines.begin(), lines.end(), caret), caret);
    gutter_.SetBreakpointLines(lines);
}

void DebugMode::toggleMachineCode()
{
    docks_->showMachineCode(machineCode_->isChecked());
    if (active_)
        showPause();
}

void DebugMode::sendBreakpoints()
{
    std::set<int> lines;
    for (std::int32_t paragraph : gutter_.BreakpointLines())
        lines.insert(paragraph + 1);
    session_.setBreakpointLines(lines);
    if (!active_ || session_.info().empty())
        return;
    // A breakpoint on a line without code shows where it stops: on the next line with code.
    std::vector<std::int32_t> placed;
    for (int line : lines)
        if (const std::optional<int> effective = session_.effectiveBreakpointLine(line))
            placed.push_back(*effective - 1);
    std::sort(placed.begin(), placed.end());
    placed.erase(std::unique(placed.begin(), placed.end()), placed.end());
    if (placed != gutter_.BreakpointLines())
        gutter_.SetBreakpointLines(placed);
}

void DebugMode::follow(Outcome outcome)
{
    outcome_ = outcome;
    docks_->console().refresh();
    switch (outcome) {
    case Outcome::Running:
        showStatus(texts_.running);
        slices_.start();
        return;
    case Outcome::WaitingForKey:
        showStatus(texts_.waitingForKey);
        docks_->consoleDock().raise();
        docks_->console().setFocus();
        return;
    case Outcome::Ended:
    case Outcome::Stopped:
        sendOutput();
        break;
    case Outcome::Paused:
    case Outcome::AtBreakpoint:
        break;
    }
    showPause();
}

void DebugMode::sendOutput()
{
    if (outputSent_ || !OnOutput)
        return;
    outputSent_ = true;
    OnOutput(QByteArray::fromStdString(session_.pc().output()));
}

void DebugMode::slice()
{
    if (active_ && outcome_ == Outcome::Running)
        follow(session_.proceed());
}

void DebugMode::pressKey(machine::Key key)
{
    if (!active_ || !session_.active())
        return;
    session_.pressKey(key);
    if (outcome_ == Outcome::WaitingForKey)
        follow(session_.proceed());
}

void DebugMode::showPause()
{
    const std::optional<int> line = session_.currentLine();
    gutter_.SetExecutionBand(executionBand());
    gutter_.SetExecutionLine(line ? *line - 1 : -1);
    if (line && outcome_ != Outcome::Ended && outcome_ != Outcome::Stopped) {
        editor_.selectParagraph(*line - 1);
        editor_.scrollCaretCommand();
    }
    DebugSnapshot snapshot;
    snapshot.now = &session_.registers();
    snapshot.before = &session_.previousRegisters();
    snapshot.memory = &session_.pc().memory();
    snapshot.info = &session_.info();
    snapshot.loadSegment = session_.loadSegment();
    snapshot.model = session_.pc().cpu().model();
    docks_->show(snapshot);
    if (machineCode_->isChecked())
        showMachineCode();

    switch (outcome_) {
    case Outcome::Ended:
        return showStatus(texts_.ended.arg(session_.exitCode()));
    case Outcome::Stopped:
        return showStatus(texts_.stopped.arg(QString::fromStdString(session_.message())));
    case Outcome::AtBreakpoint:
        return showStatus(texts_.atBreakpoint.arg(line.value_or(0)));
    default:
        break;
    }
    showStatus(line ? texts_.pausedAtLine.arg(*line) : texts_.pausedOutsideSource);
}

std::int32_t DebugMode::executionBand() const
{
    // A band the text colours stay readable on: dark blue on a dark background, pale
    // yellow on a light one.
    const QColor background = widget::colorFromValue(editor_.Color());
    return background.lightness() < 128 ? 0x603800 : 0xA0FFFF;
}

void DebugMode::showMachineCode()
{
    std::vector<std::string> source;
    for (std::int32_t i = 0; i < editor_.Paragraphs().Count(); ++i)
        source.push_back(editor_.Paragraphs().Get(i));
    const auto rows = debugger::machineCode(source, session_.info(), session_.loadSegment(), session_.pc().memory(),
                                            session_.pc().cpu().model());
    docks_->showMachineCodeRows(rows, [this](const std::string &text) {
        return DecodeSource ? DecodeSource(QByteArray::fromStdString(text)) : QString::fromStdString(text);
    });
}

void DebugMode::showStatus(const QString &text)
{
    status_->setText(text);
}

} // namespace velmora::app
