#include "app/debug/MemoryDumpView.h"

#include "app/debug/DebugViewParts.h"
#include "app/debug/HexText.h"
#include "app/info/AsciiChart.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velmora::app
{

namespace
{

constexpr int kBytesPerRow = 16;
// A row: its address, its bytes, then the bytes as characters.
constexpr int kAddressColumn = 0;
constexpr int kFirstByteColumn = 1;
constexpr int kCharactersColumn = kFirstByteColumn + kBytesPerRow;

} // namespace

MemoryDumpView::MemoryDumpView(AddressParser parseAddress, QWidget *parent)
    : QWidget(parent), parseAddress_(std::move(parseAddress))
{
    address_ = new QLineEdit(this);
    address_->setObjectName(QStringLiteral("MemoryAddress"));
    followDs_ = new QPushButton(this);
    followDs_->setObjectName(QStringLiteral("MemoryFollowDs"));
    table_ = makeDebugTable(this, kRows, kCharactersColumn + 1);
    table_->setObjectName(QStringLiteral("MemoryTable"));
    message_ = makeMessageLine(this);
    message_->setObjectName(QStringLiteral("MemoryMessage"));

    auto *editing = new HexCellDelegate(table_);
    editing->OnCommit = [this](const QModelIndex &cell, const QString &typed) { commitByte(cell, typed); };
    table_->setItemDelegate(editing);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    connect(address_, &QLineEdit::returnPressed, this, [this] { goToTyped(); });
    connect(followDs_, &QPushButton::clicked, this, [this] { followDs(); });

    auto *top = new QHBoxLayout;
    top->addWidget(address_, 1);
    top->addWidget(followDs_);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(message_);
    layout->addWidget(table_, 1);

    setTexts(texts_);
    show(DebugSnapshot{});
}

void MemoryDumpView::setTexts(const DebuggerTexts &texts)
{
    texts_ = texts;
    setWindowTitle(texts_.memoryTitle);
    address_->setPlaceholderText(texts_.addressPlaceholder);
    followDs_->setText(texts_.followDs);
    table_->setToolTip(texts_.memoryHint);
    showMessage(message_, {});
}

void MemoryDumpView::show(const DebugSnapshot &snapshot)
{
    snapshot_ = snapshot;
    address_->setEnabled(!snapshot_.empty());
    table_->setEnabled(!snapshot_.empty());
    showMessage(message_, {});
    showRows();
}

MemoryDumpView::Place MemoryDumpView::start() const
{
    return typed_ ? *typed_ : Place{snapshot_.now->ds, 0};
}

void MemoryDumpView::goToTyped()
{
    const QString text = address_->text().trimmed();
    if (snapshot_.empty())
        return;
    if (text.isEmpty())
        return followDs();
    const std::optional<std::uint32_t> linear =
        parseAddress_(text.toStdString(), *snapshot_.now, *snapshot_.info, snapshot_.loadSegment);
    if (!linear) {
        showMessage(message_, texts_.unknownAddress.arg(text));
        return;
    }
    // Within DS's 64 KB the address shows as DS:offset, elsewhere as its own paragraph.
    const std::uint32_t ds = std::uint32_t(snapshot_.now->ds) << 4;
    if (*linear >= ds && *linear - ds <= 0xFFFF)
        typed_ = Place{snapshot_.now->ds, std::uint16_t(*linear - ds)};
    else
        typed_ = Place{std::uint16_t(*linear >> 4), std::uint16_t(*linear & 0xF)};
    showMessage(message_, {});
    showRows();
}

void MemoryDumpView::followDs()
{
    typed_.reset();
    address_->clear();
    showMessage(message_, {});
    showRows();
}

void MemoryDumpView::showRows()
{
    followDs_->setEnabled(typed_.has_value() && !snapshot_.empty());
    for (int row = 0; row < kRows; ++row) {
        if (snapshot_.empty()) {
            for (int column = 0; column <= kCharactersColumn; ++column)
                tableCell(table_, row, column)->setText({});
            continue;
        }
        const Place from = start();
        const auto offset = std::uint16_t(from.offset + row * kBytesPerRow);
        tableCell(table_, row, kAddressColumn)->setText(addressText(from.segment, offset));
        QString characters;
        for (int i = 0; i < kBytesPerRow; ++i) {
            const std::uint8_t byte =
                snapshot_.memory->read8(machine::Memory::linear(from.segment, std::uint16_t(offset + i)));
            tableCell(table_, row, kFirstByteColumn + i, true)->setText(hexText(byte, 2));
            characters += QChar(dosDisplayCharacter(byte));
        }
        tableCell(table_, row, kCharactersColumn)->setText(characters);
    }
    table_->resizeColumnsToContents();
}

void MemoryDumpView::commitByte(const QModelIndex &cell, const QString &typed)
{
    if (snapshot_.empty())
        return;
    const std::optional<std::uint16_t> value = parseHex(typed, 0xFF);
    if (!value) {
        showMessage(message_, texts_.badHex.arg(typed.trimmed(), QStringLiteral("FF")));
        return;
    }
    showMessage(message_, {});
    const Place from = start();
    const auto offset = std::uint16_t(from.offset + cell.row() * kBytesPerRow + cell.column() - kFirstByteColumn);
    const std::uint32_t linear = machine::Memory::linear(from.segment, offset);
    if (*value != snapshot_.memory->read8(linear) && OnByteEdited)
        OnByteEdited(linear, std::uint8_t(*value));
}

} // namespace velmora::app
