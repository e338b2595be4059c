#include "app/debug/DebugDocks.h"

#include "app/PixelFont.h"
#include "app/console/PcScreenView.h"
#include "app/debug/HexText.h"
#include "app/debug/InstructionView.h"
#include "app/debug/MemoryDumpView.h"
#include "app/debug/RegistersView.h"
#include "app/debug/StackView.h"
#include "app/debug/WatchesView.h"

#include <QDockWidget>
#include <QHeaderView>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QTableWidget>

namespace velmora::app
{

namespace
{

QString machineCodeText(const std::vector<debugger::MachineCodeLine> &rows,
                        const std::function<QString(const std::string &)> &decode)
{
    QString text;
    for (const debugger::MachineCodeLine &row : rows) {
        if (row.isSource) {
            text += QStringLiteral("%1  %2\n").arg(row.sourceLine, 5).arg(decode(row.text));
            continue;
        }
        QString bytes;
        for (std::uint8_t byte : row.bytes)
            bytes += hexText(byte, 2) + QLatin1Char(' ');
        text += QStringLiteral("       %1  %2 %3\n")
                    .arg(addressText(row.segment, row.offset))
                    .arg(bytes, -24)
                    .arg(QString::fromStdString(row.text));
    }
    return text;
}

// The registers and flags are few: their tables show every row without scrolling.
void showAllRows(QWidget &view)
{
    for (QTableWidget *table : view.findChildren<QTableWidget *>())
        table->setMinimumHeight(table->verticalHeader()->length() + 2 * table->frameWidth());
}

} // namespace

DebugDocks::DebugDocks(QMainWindow &window) : window_(window)
{
    registers_ = new RegistersView;
    stack_ = new StackView;
    memory_ = new MemoryDumpView;
    watches_ = new WatchesView;
    instructions_ = new InstructionView;
    // Smaller than the console window's screen, so that the source keeps its room.
    console_ = new PcScreenView(nullptr, 12);
    machineCode_ = new QPlainTextEdit;
    machineCode_->setObjectName(QStringLiteral("DebugMachineCode"));
    machineCode_->setReadOnly(true);
    machineCode_->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont fixed = pixelFont(QStringLiteral("Courier New"), 12);
    fixed.setStyleHint(QFont::Monospace);
    fixed.setFixedPitch(true);
    machineCode_->setFont(fixed);

    addDock(registers_, "DebugRegistersDock", Qt::RightDockWidgetArea);
    addDock(instructions_, "DebugInstructionsDock", Qt::RightDockWidgetArea);
    addDock(stack_, "DebugStackDock", Qt::RightDockWidgetArea);
    addDock(memory_, "DebugMemoryDock", Qt::BottomDockWidgetArea);
    addDock(watches_, "DebugWatchesDock", Qt::BottomDockWidgetArea);
    // The screen keeps its size; the dock shows what fits and scrolls the rest.
    auto *consoleArea = new QScrollArea;
    consoleArea->setWidget(console_);
    consoleArea->setAlignment(Qt::AlignCenter);
    consoleDock_ = addDock(consoleArea, "DebugConsoleDock", Qt::BottomDockWidgetArea);
    machineCodeDock_ = addDock(machineCode_, "DebugMachineCodeDock", Qt::LeftDockWidgetArea);
    window_.tabifyDockWidget(docks_[3], docks_[4]);
    window_.tabifyDockWidget(docks_[4], consoleDock_);
    docks_[3]->raise();
    showAllRows(*registers_);
    setVisible(false);
}

QDockWidget *DebugDocks::addDock(QWidget *view, const char *name, Qt::DockWidgetArea area)
{
    auto *dock = new QDockWidget(&window_);
    dock->setObjectName(QString::fromLatin1(name));
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    dock->setWidget(view);
    window_.addDockWidget(area, dock);
    docks_.push_back(dock);
    return dock;
}

void DebugDocks::setTexts(const DebuggerTexts &texts)
{
    registers_->setTexts(texts);
    stack_->setTexts(texts);
    memory_->setTexts(texts);
    watches_->setTexts(texts);
    instructions_->setTexts(texts);
    const QString titles[] = {texts.registersTitle, texts.instructionsTitle, texts.stackTitle,      texts.memoryTitle,
                              texts.watchesTitle,   texts.consoleTitle,      texts.machineCodeTitle};
    for (std::size_t i = 0; i < docks_.size(); ++i)
        docks_[i]->setWindowTitle(titles[i]);
}

void DebugDocks::setVisible(bool visible)
{
    visible_ = visible;
    for (QDockWidget *dock : docks_)
        dock->setVisible(visible && (dock != machineCodeDock_ || machineCodeShown_));
    if (visible && !sized_) {
        // The first time: the views get room for their rows, the source keeps the rest.
        sized_ = true;
        window_.resizeDocks({docks_[0]}, {340}, Qt::Horizontal);
        window_.resizeDocks({docks_[3]}, {240}, Qt::Vertical);
    }
}

void DebugDocks::showMachineCode(bool visible)
{
    machineCodeShown_ = visible;
    machineCodeDock_->setVisible(visible_ && visible);
    if (machineCodeDock_->isVisible() && !machineCodeSized_) {
        // Wide enough for an address, the bytes and the instruction on one row.
        machineCodeSized_ = true;
        window_.resizeDocks({machineCodeDock_}, {430}, Qt::Horizontal);
    }
}

void DebugDocks::show(const DebugSnapshot &snapshot)
{
    registers_->show(snapshot);
    stack_->show(snapshot);
    memory_->show(snapshot);
    watches_->show(snapshot);
    instructions_->show(snapshot);
    console_->refresh();
}

void DebugDocks::showMachineCodeRows(const std::vector<debugger::MachineCodeLine> &rows,
                                     const std::function<QString(const std::string &)> &decode)
{
    machineCode_->setPlainText(machineCodeText(rows, decode));
}

} // namespace velmora::app
