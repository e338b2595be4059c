// Memory at a pause, 16 bytes a row: the row's segment:offset, the bytes in hexadecimal and
// as the DOS screen shows them (code page 866). The dump follows DS:0000 until the student
// types an address (DS:0010, ES:DI, 0B800h:0, msg+2...); Follow DS, or an empty address,
// goes back to following DS. Double-clicking a byte edits it in hexadecimal; the change
// goes to OnByteEdited.
#pragma once

#include "app/debug/DebugSnapshot.h"
#include "app/debug/DebuggerTexts.h"
#include "debugger/WatchValue.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QTableWidget;

namespace velmora::app
{

class MemoryDumpView : public QWidget
{
public:
    static constexpr int kRows = 16;

    // Works out a typed address as a linear one; none for text that names no address.
    using AddressParser =
        std::function<std::optional<std::uint32_t>(const std::string &text, const machine::Registers &registers,
                                                   const debugger::DebugInfo &info, std::uint16_t loadSegment)>;

    explicit MemoryDumpView(AddressParser parseAddress = debugger::parseAddress, QWidget *parent = nullptr);

    void setTexts(const DebuggerTexts &texts);
    using QWidget::show;
    void show(const DebugSnapshot &snapshot);

    std::function<void(std::uint32_t linearAddress, std::uint8_t value)> OnByteEdited;

private:
    struct Place {
        std::uint16_t segment = 0;
        std::uint16_t offset = 0;
    };
    // Where the dump starts: DS:0000 while following DS.
    Place start() const;
    void goToTyped();
    void followDs();
    void showRows();
    void commitByte(const QModelIndex &cell, const QString &typed);

    AddressParser parseAddress_;
    DebuggerTexts texts_;
    DebugSnapshot snapshot_;
    std::optional<Place> typed_; // none while following DS
    QLineEdit *address_;
    QPushButton *followDs_;
    QTableWidget *table_;
    QLabel *message_;
};

} // namespace velmora::app
