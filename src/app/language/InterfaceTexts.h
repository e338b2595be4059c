// The interface texts that the sections appended after the four window sections carry. The
// English texts are the defaults; reading a pack first restores them, then replaces those the
// pack names, so a pack written before a text existed still shows that text in English.
#pragma once

#include "app/FindDialog.h"
#include "app/about/AboutWindow.h"
#include "app/console/ConsoleTexts.h"
#include "app/debug/DebuggerTexts.h"
#include "app/helpview/HelpWindow.h"
#include "editor/widget/EditorTexts.h"
#include "platform/Dialogs.h"
#include "toolchain/BuildTexts.h"

#include <QString>

namespace velmora::app
{

// The main window's texts beyond section "Language".
struct MainWindowMoreTexts {
    QString untitled = QStringLiteral("Untitled");
    QString utf8Item = QStringLiteral("UTF-8");
    QString runBuiltInPc = QStringLiteral("Run on the built-in PC");
    QString openTitle = QStringLiteral("Open");
    QString saveTitle = QStringLiteral("Save As");
    // The status bar's panel naming the tool chain that the build commands run.
    QString dosToolsPanel = QStringLiteral("DOS tools");
    QString builtInToolsPanel = QStringLiteral("Built-in tools");

    bool operator==(const MainWindowMoreTexts &) const = default;
};

// The messages of the main window's commands.
struct MessageTexts {
    QString notEnoughMemory = QStringLiteral("Not enough memory to finish the command.");
    // %1 the file's name.
    QString saveChanges = QStringLiteral("Save changes to %1?");
    QString readToEnd = QStringLiteral("The file could not be read to its end.");
    // %1 the reason.
    QString partLoaded = QStringLiteral("%1: only part of the file could be loaded.");
    QString partLoadedNoMemory = QStringLiteral("Not enough memory: only part of the file could be loaded.");
    QString partRead = QStringLiteral("The file could not be read to its end: only part of it was loaded.");
    QString noMemoryToLoad = QStringLiteral("Not enough memory to load it whole; nothing was changed.");
    // %1 the file's name, %2 the offset.
    QString nulByte = QStringLiteral("%1 contains a NUL byte at offset %2: only the text before it was loaded");
    QString saveAfterNul =
        QStringLiteral("%1 holds more after its NUL byte than was loaded. Saving replaces all of it. Save anyway?");
    QString noMemoryToSave = QStringLiteral("Not enough memory to produce the whole text; the file was not changed.");
    QString changedOutside = QStringLiteral("%1 was changed by another program since it was loaded or saved here. "
                                            "Overwrite that program's changes?");
    QString goneOutside = QStringLiteral(
        "%1 was deleted or moved by another program. The text stays in the editor; saving writes the file again.");
    QString reloadLosingChanges =
        QStringLiteral("%1 was changed by another program. Reload it and lose the changes made here?");
    QString reload = QStringLiteral("%1 was changed by another program. Reload it?");
    // %1 the reason.
    QString recoveryNotWritten = QStringLiteral(
        "The recovery copy of the unsaved text could not be written. %1\nSave the text to keep it safe.");
    QString recoveryNoMemory = QStringLiteral("Not enough memory to produce the whole text.");
    QString untitledText = QStringLiteral("an untitled text");
    // %1 the file in double quotes or untitledText, %2 the time the copy was written.
    QString recoveryOffer =
        QStringLiteral("Velmora ended without saving %1. A recovery copy of it was written at %2.\n\n"
                       "Restore it? No deletes the copy; Cancel keeps it for the next start.");
    // %1 the line, %2 the encoding asked for, %3 the text's encoding.
    QString encodingLoss = QStringLiteral("Line %1 holds a character that %2 cannot hold; the text stays in %3.");
    QString noCalculator = QStringLiteral("No calculator program was found on this system.");
    QString folderNotOpened = QStringLiteral("The folder %1 could not be opened.");
    QString noLanguagePack =
        QStringLiteral("%1 is no language pack: it holds none of the texts. The windows keep their texts.");
    QString folderMissing = QStringLiteral("The folder %1 does not exist. The file was not saved.");
    // %1 the file, %2 the reason.
    QString keywordListUnreadable =
        QStringLiteral("The keyword list %1 could not be read (%2); the built-in list is used.");
    QString cannotDelete = QStringLiteral("Unable to delete %1");

    bool operator==(const MessageTexts &) const = default;
};

// The preferences window's texts beyond section "Prefs_Language".
struct PrefsMoreTexts {
    QString sourceColours = QStringLiteral(" -= Source colours =- ");
    QString instructions = QStringLiteral("Instructions");
    QString registers = QStringLiteral("Registers");
    QString directives = QStringLiteral("Directives and operators");
    QString comments = QStringLiteral("Comments");
    QString strings = QStringLiteral("Strings");
    QString languageTitle = QStringLiteral("Load language file");
    // The tool-chain choice, in the order of toolchain::Chain.
    QString toolChain = QStringLiteral(" -= Tool chain =- ");
    QString dosTools = QStringLiteral("DOS tools in the tools folder (TASM, TLINK, TD through DOSBox)");
    QString builtInTools = QStringLiteral("Built-in");

    bool operator==(const PrefsMoreTexts &) const = default;
};

struct InterfaceTexts {
    toolchain::BuildTexts build;
    MainWindowMoreTexts main;
    MessageTexts messages;
    PrefsMoreTexts prefs;
    FindTexts find;
    HelpTexts help;
    AboutTexts about;
    widget::EditorTexts editor;
    platform::DialogTexts dialogs;
    ConsoleTexts console;
    DebuggerTexts debugger;
    QString locale = QStringLiteral("en"); // the pack's language, for the toolkit's own translation

    bool operator==(const InterfaceTexts &) const = default;
};

// Restores the English texts, then reads the appended sections of the pack at languageFile.
// Without a pack file nothing changes and the result is false.
bool ApplyInterfaceTexts(const QString &languageFile, InterfaceTexts &texts);

} // namespace velmora::app
