#include "app/debug/InstructionView.h"

#include "app/debug/DebugViewParts.h"
#include "app/debug/HexText.h"
#include "debugger/Disassembler.h"

#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <vector>

namespace velmora::app
{

namespace
{

enum Column { kMark, kAddress, kBytes, kText, kColumns };

// The bytes read for one instruction: more than any instruction without repeated prefixes.
constexpr int kLongestInstruction = 16;
// How many instructions a search for those before CS:IP decodes from one line's start.
constexpr int kSearchLimit = 64;

struct Decoded {
    std::uint16_t offset = 0;
    std::vector<std::uint8_t> bytes;
    QString text;
};

Decoded decodeAt(const DebugSnapshot &snapshot, std::uint16_t offset)
{
    const std::uint16_t cs = snapshot.now->cs;
    std::array<std::uint8_t, kLongestInstruction> bytes{};
    for (int i = 0; i < kLongestInstruction; ++i)
        bytes[i] = snapshot.memory->read8(machine::Memory::linear(cs, std::uint16_t(offset + i)));
    const debugger::Disassembled d = debugger::disassemble(bytes, offset, snapshot.model);
    return {offset, std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + d.length), QString::fromStdString(d.text)};
}

// The instructions just before CS:IP: decoded from the start of one of the nearest source
// lines' code before it, the farthest first, when that decoding meets CS:IP exactly (code
// does not tell where an instruction starts when read backwards).
std::vector<Decoded> preceding(const DebugSnapshot &snapshot)
{
    const machine::Registers &r = *snapshot.now;
    std::vector<std::uint16_t> starts;
    for (const debugger::LineAddress &line : snapshot.info->lines)
        if (std::uint16_t(snapshot.loadSegment + line.place.frame) == r.cs && line.place.offset < r.ip)
            starts.push_back(line.place.offset);
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    const std::size_t nearest =
        starts.size() > InstructionView::kPreceding ? starts.size() - InstructionView::kPreceding : 0;
    for (std::size_t i = nearest; i < starts.size(); ++i) {
        std::vector<Decoded> found;
        std::uint32_t offset = starts[i];
        while (offset < r.ip && found.size() < kSearchLimit) {
            found.push_back(decodeAt(snapshot, std::uint16_t(offset)));
            offset += std::uint32_t(found.back().bytes.size());
        }
        if (offset == r.ip) {
            if (found.size() > InstructionView::kPreceding)
                found.erase(found.begin(), found.end() - InstructionView::kPreceding);
            return found;
        }
    }
    return {};
}

QString bytesText(const std::vector<std::uint8_t> &bytes)
{
    QStringList parts;
    for (const std::uint8_t byte : bytes)
        parts.append(hexText(byte, 2));
    return parts.join(QLatin1Char(' '));
}

} // namespace

InstructionView::InstructionView(QWidget *parent) : QWidget(parent)
{
    table_ = makeDebugTable(this, 0, kColumns);
    table_->setObjectName(QStringLiteral("InstructionTable"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(table_);
    setTexts(DebuggerTexts{});
}

void InstructionView::setTexts(const DebuggerTexts &texts)
{
    setWindowTitle(texts.instructionsTitle);
}

void InstructionView::show(const DebugSnapshot &snapshot)
{
    if (snapshot.empty()) {
        table_->setRowCount(0);
        return;
    }
    std::vector<Decoded> rows = preceding(snapshot);
    const std::size_t current = rows.size();
    std::uint16_t offset = snapshot.now->ip;
    for (int i = 0; i <= kFollowing; ++i) {
        rows.push_back(decodeAt(snapshot, offset));
        offset = std::uint16_t(offset + rows.back().bytes.size());
    }
    table_->setRowCount(int(rows.size()));
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const int r = int(row);
        tableCell(table_, r, kMark)->setText(row == current ? QStringLiteral(u"\u25BA") : QString());
        tableCell(table_, r, kAddress)->setText(addressText(snapshot.now->cs, rows[row].offset));
        tableCell(table_, r, kBytes)->setText(bytesText(rows[row].bytes));
        tableCell(table_, r, kText)->setText(rows[row].text);
        for (int column = 0; column < kColumns; ++column)
            emphasize(table_->item(r, column), row == current);
    }
    table_->resizeColumnsToContents();
    table_->scrollToItem(table_->item(int(current), kMark));
}

} // namespace velmora::app
