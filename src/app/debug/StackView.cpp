#include "app/debug/StackView.h"

#include "app/debug/DebugViewParts.h"
#include "app/debug/HexText.h"

#include <QTableWidget>
#include <QVBoxLayout>

namespace velmora::app
{

namespace
{

enum Column { kMark, kAddress, kFromSp, kValue, kColumns };

// A word of a segment: the high byte of the word at FFFFh is the segment's first.
std::uint16_t wordAt(const machine::Memory &memory, std::uint16_t segment, std::uint16_t offset)
{
    return std::uint16_t(memory.read8(machine::Memory::linear(segment, offset)) |
                         memory.read8(machine::Memory::linear(segment, std::uint16_t(offset + 1))) << 8);
}

} // namespace

StackView::StackView(QWidget *parent) : QWidget(parent)
{
    table_ = makeDebugTable(this, 0, kColumns);
    table_->setObjectName(QStringLiteral("StackTable"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(table_);
    setTexts(DebuggerTexts{});
}

void StackView::setTexts(const DebuggerTexts &texts)
{
    setWindowTitle(texts.stackTitle);
}

void StackView::show(const DebugSnapshot &snapshot)
{
    if (snapshot.empty()) {
        table_->setRowCount(0);
        return;
    }
    const machine::Registers &r = *snapshot.now;
    // The stack ends with its segment: SP+n stays below 10000h.
    const int rows = std::min(kRows, (0x10000 - r.sp + 1) / 2);
    table_->setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        const std::uint16_t offset = std::uint16_t(r.sp + 2 * row);
        QStringList marks;
        if (offset == r.sp)
            marks << QStringLiteral("SP");
        if (offset == r.bp)
            marks << QStringLiteral("BP");
        tableCell(table_, row, kMark)->setText(marks.join(QLatin1Char(' ')));
        tableCell(table_, row, kAddress)->setText(addressText(r.ss, offset));
        tableCell(table_, row, kFromSp)->setText(QStringLiteral("SP+%1").arg(hexText(2 * row, 2)));
        tableCell(table_, row, kValue)->setText(hexText(wordAt(*snapshot.memory, r.ss, offset), 4));
        for (int column = 0; column < kColumns; ++column)
            emphasize(table_->item(row, column), row == 0);
    }
    table_->resizeColumnsToContents();
}

} // namespace velmora::app
