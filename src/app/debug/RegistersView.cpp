#include "app/debug/RegistersView.h"

#include "app/debug/DebugViewParts.h"
#include "app/debug/HexText.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include <iterator>

namespace velmora::app
{

namespace
{

using machine::Registers;

struct RegisterRow {
    const char *name;
    std::uint16_t Registers::*word;
    const char *high = nullptr; // the 8-bit halves' names, for AX..DX
    const char *low = nullptr;
};

const RegisterRow kRegisterRows[] = {
    {"AX", &Registers::ax, "AH", "AL"},
    {"BX", &Registers::bx, "BH", "BL"},
    {"CX", &Registers::cx, "CH", "CL"},
    {"DX", &Registers::dx, "DH", "DL"},
    {"SI", &Registers::si},
    {"DI", &Registers::di},
    {"BP", &Registers::bp},
    {"SP", &Registers::sp},
    {"IP", &Registers::ip},
    {"CS", &Registers::cs},
    {"DS", &Registers::ds},
    {"ES", &Registers::es},
    {"SS", &Registers::ss},
};

// A register's row: its name and value, then for AX..DX the high half's name and value and
// the low half's.
enum RegisterColumn { kName, kValue, kHighName, kHighValue, kLowName, kLowValue, kRegisterColumns };

struct FlagColumn {
    const char *name;
    machine::Flag flag;
};

const FlagColumn kFlagColumns[] = {{"OF", machine::OF}, {"DF", machine::DF}, {"IF", machine::IF},
                                   {"TF", machine::TF}, {"SF", machine::SF}, {"ZF", machine::ZF},
                                   {"AF", machine::AF}, {"PF", machine::PF}, {"CF", machine::CF}};

// The flags' table: the names above their values.
enum FlagRow { kFlagNames, kFlagValues, kFlagRows };

bool isHalf(int column)
{
    return column == kHighValue || column == kLowValue;
}

std::uint16_t largestOf(int column)
{
    return isHalf(column) ? 0xFF : 0xFFFF;
}

int digitsOf(int column)
{
    return isHalf(column) ? 2 : 4;
}

// The part of a register that a value column shows.
std::uint16_t partOf(std::uint16_t word, int column)
{
    if (column == kHighValue)
        return word >> 8;
    if (column == kLowValue)
        return word & 0xFF;
    return word;
}

std::uint16_t withPart(std::uint16_t word, int column, std::uint16_t value)
{
    if (column == kHighValue)
        return std::uint16_t((word & 0x00FF) | (value << 8));
    if (column == kLowValue)
        return std::uint16_t((word & 0xFF00) | value);
    return value;
}

} // namespace

RegistersView::RegistersView(QWidget *parent) : QWidget(parent)
{
    registers_ = makeDebugTable(this, int(std::size(kRegisterRows)), kRegisterColumns);
    registers_->setObjectName(QStringLiteral("RegistersTable"));
    flags_ = makeDebugTable(this, kFlagRows, int(std::size(kFlagColumns)));
    flags_->setObjectName(QStringLiteral("FlagsTable"));
    message_ = makeMessageLine(this);
    message_->setObjectName(QStringLiteral("RegistersMessage"));

    for (int row = 0; row < registers_->rowCount(); ++row) {
        const RegisterRow &r = kRegisterRows[row];
        tableCell(registers_, row, kName)->setText(QString::fromLatin1(r.name));
        tableCell(registers_, row, kHighName)->setText(QString::fromLatin1(r.high));
        tableCell(registers_, row, kLowName)->setText(QString::fromLatin1(r.low));
    }
    for (int column = 0; column < flags_->columnCount(); ++column)
        tableCell(flags_, kFlagNames, column)->setText(QString::fromLatin1(kFlagColumns[column].name));

    auto *editing = new HexCellDelegate(registers_);
    editing->OnCommit = [this](const QModelIndex &cell, const QString &typed) { commitRegister(cell, typed); };
    registers_->setItemDelegate(editing);
    registers_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    // A double-click on a name, or Enter anywhere, edits the value beside it.
    connect(registers_, &QTableWidget::activated, this, [this](const QModelIndex &cell) { editRegister(cell); });
    connect(flags_, &QTableWidget::activated, this, [this](const QModelIndex &cell) { toggleFlag(cell); });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(registers_, 1);
    layout->addWidget(flags_);
    layout->addWidget(message_);
    // The flags take the height of their two rows; the registers the rest.
    flags_->setFixedHeight(flags_->verticalHeader()->length() + 2 * flags_->frameWidth());

    setTexts(texts_);
    show(DebugSnapshot{});
}

void RegistersView::setTexts(const DebuggerTexts &texts)
{
    texts_ = texts;
    setWindowTitle(texts_.registersTitle);
    registers_->setToolTip(texts_.registersHint);
    flags_->setToolTip(texts_.flagsHint);
    showMessage(message_, {});
}

void RegistersView::show(const DebugSnapshot &snapshot)
{
    if (snapshot.empty()) {
        now_.reset();
    } else {
        now_ = *snapshot.now;
        before_ = *snapshot.before;
    }
    showMessage(message_, {});
    showRegisters();
    showFlags();
    registers_->resizeColumnsToContents();
    flags_->resizeColumnsToContents();
}

void RegistersView::showRegisters()
{
    for (int row = 0; row < registers_->rowCount(); ++row) {
        const RegisterRow &r = kRegisterRows[row];
        for (const int column : {kValue, kHighValue, kLowValue}) {
            const bool shown = now_ && (column == kValue || r.high);
            QTableWidgetItem *cell = tableCell(registers_, row, column, shown);
            if (!shown) {
                cell->setText({});
                emphasize(cell, false);
                continue;
            }
            const std::uint16_t value = partOf((*now_).*r.word, column);
            cell->setText(hexText(value, digitsOf(column)));
            emphasize(cell, value != partOf(before_.*r.word, column));
        }
    }
}

void RegistersView::showFlags()
{
    for (int column = 0; column < flags_->columnCount(); ++column) {
        QTableWidgetItem *cell = tableCell(flags_, kFlagValues, column);
        const machine::Flag flag = kFlagColumns[column].flag;
        cell->setText(now_ ? QString::number(int(now_->flag(flag))) : QString());
        emphasize(cell, now_ && now_->flag(flag) != before_.flag(flag));
    }
}

void RegistersView::editRegister(const QModelIndex &cell)
{
    const int column = cell.column() == kName || cell.column() == kHighName || cell.column() == kLowName
                           ? cell.column() + 1
                           : cell.column();
    QTableWidgetItem *value = registers_->item(cell.row(), column);
    if (!value || !(value->flags() & Qt::ItemIsEditable))
        return;
    registers_->setCurrentItem(value);
    registers_->editItem(value);
}

void RegistersView::commitRegister(const QModelIndex &cell, const QString &typed)
{
    if (!now_)
        return;
    const int column = cell.column();
    const std::optional<std::uint16_t> value = parseHex(typed, largestOf(column));
    if (!value) {
        showMessage(message_, texts_.badHex.arg(typed.trimmed(), hexText(largestOf(column), digitsOf(column))));
        return;
    }
    showMessage(message_, {});
    machine::Registers changed = *now_;
    std::uint16_t &word = changed.*kRegisterRows[cell.row()].word;
    const std::uint16_t edited = withPart(word, column, *value);
    if (edited == word)
        return;
    word = edited;
    if (OnRegistersEdited)
        OnRegistersEdited(changed);
}

void RegistersView::toggleFlag(const QModelIndex &cell)
{
    if (!now_)
        return;
    machine::Registers changed = *now_;
    const machine::Flag flag = kFlagColumns[cell.column()].flag;
    changed.setFlag(flag, !changed.flag(flag));
    if (OnRegistersEdited)
        OnRegistersEdited(changed);
}

} // namespace velmora::app
