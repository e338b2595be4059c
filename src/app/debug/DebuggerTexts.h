// The texts of the debugger. The English texts are the defaults; a language pack replaces
// those it names.
#pragma once

#include <QString>

namespace velmora::app
{

struct DebuggerTexts {
    // The views' captions, which their docks show.
    QString registersTitle = QStringLiteral("Registers");
    QString stackTitle = QStringLiteral("Stack");
    QString memoryTitle = QStringLiteral("Memory");
    QString watchesTitle = QStringLiteral("Watches");
    QString instructionsTitle = QStringLiteral("Instructions");

    QString registersHint = QStringLiteral("Double-click or Enter changes a register's value (hexadecimal)");
    QString flagsHint = QStringLiteral("Double-click or Enter sets a flag to 1 or clears it to 0");
    // A value typed into a register or a byte: %1 the text typed, %2 the largest value.
    QString badHex = QStringLiteral("\"%1\" is no hexadecimal number from 0 to %2. Nothing was changed.");

    QString addressPlaceholder = QStringLiteral("Address, such as DS:0010, ES:DI, 0B800h:0 or msg+2");
    QString followDs = QStringLiteral("Follow DS");
    QString memoryHint = QStringLiteral("Double-click a byte to change it (hexadecimal)");
    // %1 the text typed.
    QString unknownAddress = QStringLiteral("\"%1\" names no address.");

    QString watchPlaceholder = QStringLiteral("Variable name");
    QString addWatch = QStringLiteral("Add");
    QString watchName = QStringLiteral("Name");
    QString watchValue = QStringLiteral("Value");
    QString watchesHint = QStringLiteral("Delete removes the selected watch");
    QString noSuchVariable = QStringLiteral("no such variable");
    QString noProgram = QStringLiteral("no program is being debugged");

    bool operator==(const DebuggerTexts &) const = default;
};

} // namespace velmora::app
