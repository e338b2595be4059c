#include "app/language/InterfaceTexts.h"

#include "app/language/LanguagePack.h"

#include <initializer_list>

namespace velmora::app
{

namespace
{

struct TextKey {
    const char *key;
    QString *text;
};

// Every text of the section that the pack holds replaces its default; the others stay. A
// value is one line, so "\n" in it stands for a line break.
void readSection(const LanguagePack &pack, const char *sectionName, std::initializer_list<TextKey> keys)
{
    const QString section = QString::fromLatin1(sectionName);
    for (const TextKey &key : keys)
        if (pack.contains(section, QString::fromLatin1(key.key)))
            *key.text =
                pack.value(section, QString::fromLatin1(key.key)).replace(QLatin1String("\\n"), QLatin1String("\n"));
}

void readBuild(const LanguagePack &pack, toolchain::BuildTexts &t)
{
    readSection(pack, "Build_Language",
                {{"Tasm_Not_Found", &t.tasmNotFound},
                 {"Tlink_Not_Found", &t.tlinkNotFound},
                 {"Td_Not_Found", &t.tdNotFound},
                 {"No_DOSBox", &t.noDosBox},
                 {"Not_Started", &t.notStarted},
                 {"Cancelled", &t.cancelled},
                 {"Not_Produced", &t.notProduced},
                 {"Program_Missing", &t.programMissing},
                 {"Output_Cut", &t.outputCut}});
    readSection(pack, "Parameters_Language",
                {{"tasmParameters", &t.tasmParameters},
                 {"tlinkParameters", &t.tlinkParameters},
                 {"inputParameters", &t.inputParameters},
                 {"summaryCounts", &t.summaryCounts},
                 {"noToolsFolder", &t.noToolsFolder}});
}

void readMainWindow(const LanguagePack &pack, MainWindowMoreTexts &t)
{
    readSection(pack, "MainWindow_Language",
                {{"untitled", &t.untitled},
                 {"utf8Item", &t.utf8Item},
                 {"runBuiltInPc", &t.runBuiltInPc},
                 {"openTitle", &t.openTitle},
                 {"saveTitle", &t.saveTitle},
                 {"dosToolsPanel", &t.dosToolsPanel},
                 {"builtInToolsPanel", &t.builtInToolsPanel}});
}

void readMessages(const LanguagePack &pack, MessageTexts &t)
{
    readSection(pack, "Messages_Language",
                {{"notEnoughMemory", &t.notEnoughMemory},
                 {"saveChanges", &t.saveChanges},
                 {"readToEnd", &t.readToEnd},
                 {"partLoaded", &t.partLoaded},
                 {"partLoadedNoMemory", &t.partLoadedNoMemory},
                 {"partRead", &t.partRead},
                 {"noMemoryToLoad", &t.noMemoryToLoad},
                 {"nulByte", &t.nulByte},
                 {"saveAfterNul", &t.saveAfterNul},
                 {"noMemoryToSave", &t.noMemoryToSave},
                 {"changedOutside", &t.changedOutside},
                 {"goneOutside", &t.goneOutside},
                 {"reloadLosingChanges", &t.reloadLosingChanges},
                 {"reload", &t.reload},
                 {"recoveryNotWritten", &t.recoveryNotWritten},
                 {"recoveryNoMemory", &t.recoveryNoMemory},
                 {"untitledText", &t.untitledText},
                 {"recoveryOffer", &t.recoveryOffer},
                 {"encodingLoss", &t.encodingLoss},
                 {"noCalculator", &t.noCalculator},
                 {"folderNotOpened", &t.folderNotOpened},
                 {"noLanguagePack", &t.noLanguagePack},
                 {"folderMissing", &t.folderMissing},
                 {"keywordListUnreadable", &t.keywordListUnreadable},
                 {"cannotDelete", &t.cannotDelete}});
}

void readDialogs(const LanguagePack &pack, platform::DialogTexts &t)
{
    readSection(pack, "Dialogs_Language",
                {{"title", &t.title},
                 {"ok", &t.ok},
                 {"cancel", &t.cancel},
                 {"yes", &t.yes},
                 {"no", &t.no},
                 {"save", &t.save},
                 {"discard", &t.discard},
                 {"running", &t.running},
                 {"howToStop", &t.howToStop},
                 {"quoteInName", &t.quoteInName},
                 {"cannotOpenFile", &t.cannotOpenFile},
                 {"cannotReadFile", &t.cannotReadFile},
                 {"cannotWriteFile", &t.cannotWriteFile},
                 {"cannotCreateFile", &t.cannotCreateFile},
                 {"unableToWrite", &t.unableToWrite},
                 {"noMemory", &t.noMemory},
                 {"folderRefusesNewFile", &t.folderRefusesNewFile}});
}

void readPrefs(const LanguagePack &pack, PrefsMoreTexts &t)
{
    readSection(pack, "PrefsMore_Language",
                {{"sourceColours", &t.sourceColours},
                 {"instructions", &t.instructions},
                 {"registers", &t.registers},
                 {"directives", &t.directives},
                 {"comments", &t.comments},
                 {"strings", &t.strings},
                 {"languageTitle", &t.languageTitle},
                 {"toolChain", &t.toolChain},
                 {"dosTools", &t.dosTools},
                 {"builtInTools", &t.builtInTools}});
}

void readFind(const LanguagePack &pack, FindTexts &t)
{
    readSection(pack, "Find_Language",
                {{"title", &t.title},
                 {"findWhat", &t.findWhat},
                 {"matchCase", &t.matchCase},
                 {"wholeWord", &t.wholeWord},
                 {"direction", &t.direction},
                 {"up", &t.up},
                 {"down", &t.down},
                 {"findNext", &t.findNext},
                 {"cancel", &t.cancel}});
}

void readHelp(const LanguagePack &pack, HelpTexts &t)
{
    readSection(pack, "Help_Language",
                {{"title", &t.title},
                 {"topicTitle", &t.topicTitle},
                 {"contentsTab", &t.contentsTab},
                 {"indexTab", &t.indexTab},
                 {"indexFilter", &t.indexFilter},
                 {"back", &t.back},
                 {"forward", &t.forward},
                 {"home", &t.home}});
}

void readAbout(const LanguagePack &pack, AboutTexts &t)
{
    readSection(pack, "AboutPages_Language",
                {{"purpose", &t.purpose},
                 {"contact", &t.contact},
                 {"writtenFor", &t.writtenFor},
                 {"historyHeading", &t.historyHeading},
                 {"cpuGroup", &t.cpuGroup},
                 {"processorType", &t.processorType},
                 {"family", &t.family},
                 {"model", &t.model},
                 {"stepping", &t.stepping},
                 {"vendorUnknown", &t.vendorUnknown},
                 {"vendor", &t.vendor},
                 {"noCpuId", &t.noCpuId},
                 {"getCpuId", &t.getCpuId},
                 {"ok", &t.ok}});
}

void readEditor(const LanguagePack &pack, widget::EditorTexts &t)
{
    widget::PopupTexts &p = t.popup;
    readSection(pack, "Popup_Language",
                {{"undo", &p.undo},
                 {"redo", &p.redo},
                 {"cut", &p.cut},
                 {"copy", &p.copy},
                 {"paste", &p.paste},
                 {"selectAll", &p.selectAll}});
    widget::KeywordsEditorTexts &k = t.keywords;
    readSection(pack, "Keywords_Language",
                {{"title", &k.title},
                 {"extendedTitle", &k.extendedTitle},
                 {"fileMenu", &k.fileMenu},
                 {"loadPlainItem", &k.loadPlainItem},
                 {"loadAttributesItem", &k.loadAttributesItem},
                 {"loadBinaryItem", &k.loadBinaryItem},
                 {"savePlainItem", &k.savePlainItem},
                 {"saveAttributesItem", &k.saveAttributesItem},
                 {"saveBinaryItem", &k.saveBinaryItem},
                 {"loadListTitle", &k.loadListTitle},
                 {"loadAttributesTitle", &k.loadAttributesTitle},
                 {"saveListTitle", &k.saveListTitle},
                 {"saveAttributesTitle", &k.saveAttributesTitle},
                 {"textFilter", &k.textFilter},
                 {"binaryFilter", &k.binaryFilter},
                 {"startColumn", &k.startColumn},
                 {"stopColumn", &k.stopColumn},
                 {"editHint", &k.editHint},
                 {"selectedCount", &k.selectedCount},
                 {"optionsGroup", &k.optionsGroup},
                 {"matchCase", &k.matchCase},
                 {"wholeWords", &k.wholeWords},
                 {"crossParagraphs", &k.crossParagraphs},
                 {"bold", &k.bold},
                 {"italic", &k.italic},
                 {"underline", &k.underline},
                 {"strikeOut", &k.strikeOut},
                 {"highlight", &k.highlight},
                 {"altFont", &k.altFont},
                 {"foreground", &k.foreground},
                 {"background", &k.background},
                 {"clear", &k.clear},
                 {"contextNumber", &k.contextNumber},
                 {"mousePointer", &k.mousePointer},
                 {"scope", &k.scope},
                 {"priority", &k.priority},
                 {"positional", &k.positional},
                 {"positionNone", &k.positionNone},
                 {"positionFirstWord", &k.positionFirstWord},
                 {"positionFirstItem", &k.positionFirstItem},
                 {"positionParagraphStart", &k.positionParagraphStart},
                 {"endAtDelimiter", &k.endAtDelimiter},
                 {"collapsible", &k.collapsible},
                 {"ok", &k.ok},
                 {"cancel", &k.cancel},
                 {"insert", &k.insert},
                 {"add", &k.add},
                 {"remove", &k.remove},
                 {"help", &k.help},
                 {"startStopCaption", &k.startStopCaption},
                 {"newStartKey", &k.newStartKey},
                 {"newStopKey", &k.newStopKey},
                 {"notInteger", &k.notInteger}});
}

void readConsole(const LanguagePack &pack, ConsoleTexts &t)
{
    readSection(pack, "Console_Language",
                {{"title", &t.title},
                 {"stop", &t.stop},
                 {"running", &t.running},
                 {"ended", &t.ended},
                 {"stoppedByUser", &t.stoppedByUser},
                 {"stopped", &t.stopped},
                 {"outputCut", &t.outputCut},
                 {"untitled", &t.untitled},
                 {"noProgram", &t.noProgram},
                 {"notLoaded", &t.notLoaded}});
}

void readDebugger(const LanguagePack &pack, DebuggerTexts &t)
{
    readSection(pack, "Debugger_Language",
                {{"registersTitle", &t.registersTitle},
                 {"stackTitle", &t.stackTitle},
                 {"memoryTitle", &t.memoryTitle},
                 {"watchesTitle", &t.watchesTitle},
                 {"instructionsTitle", &t.instructionsTitle},
                 {"consoleTitle", &t.consoleTitle},
                 {"machineCodeTitle", &t.machineCodeTitle},
                 {"registersHint", &t.registersHint},
                 {"flagsHint", &t.flagsHint},
                 {"badHex", &t.badHex},
                 {"addressPlaceholder", &t.addressPlaceholder},
                 {"followDs", &t.followDs},
                 {"memoryHint", &t.memoryHint},
                 {"unknownAddress", &t.unknownAddress},
                 {"watchPlaceholder", &t.watchPlaceholder},
                 {"addWatch", &t.addWatch},
                 {"watchName", &t.watchName},
                 {"watchValue", &t.watchValue},
                 {"watchesHint", &t.watchesHint},
                 {"noSuchVariable", &t.noSuchVariable},
                 {"noProgram", &t.noProgram},
                 {"debugMenu", &t.debugMenu},
                 {"traceInto", &t.traceInto},
                 {"stepOver", &t.stepOver},
                 {"runProgram", &t.runProgram},
                 {"runToCursor", &t.runToCursor},
                 {"stepBack", &t.stepBack},
                 {"stopDebugging", &t.stopDebugging},
                 {"toggleBreakpoint", &t.toggleBreakpoint},
                 {"showMachineCode", &t.showMachineCode},
                 {"modeCaption", &t.modeCaption},
                 {"pausedAtLine", &t.pausedAtLine},
                 {"pausedOutsideSource", &t.pausedOutsideSource},
                 {"atBreakpoint", &t.atBreakpoint},
                 {"running", &t.running},
                 {"waitingForKey", &t.waitingForKey},
                 {"ended", &t.ended},
                 {"stopped", &t.stopped},
                 {"noStepBack", &t.noStepBack},
                 {"stepBackDisk", &t.stepBackDisk},
                 {"stepBackMemory", &t.stepBackMemory},
                 {"stepBackFull", &t.stepBackFull},
                 {"notLoaded", &t.notLoaded}});
}

} // namespace

bool ApplyInterfaceTexts(const QString &languageFile, InterfaceTexts &texts)
{
    const std::optional<LanguagePack> pack = LanguagePack::load(languageFile);
    if (!pack)
        return false;
    texts = InterfaceTexts{};
    readBuild(*pack, texts.build);
    readMainWindow(*pack, texts.main);
    readMessages(*pack, texts.messages);
    readPrefs(*pack, texts.prefs);
    readFind(*pack, texts.find);
    readHelp(*pack, texts.help);
    readAbout(*pack, texts.about);
    readEditor(*pack, texts.editor);
    readDialogs(*pack, texts.dialogs);
    readConsole(*pack, texts.console);
    readDebugger(*pack, texts.debugger);
    readSection(*pack, "Locale_Language", {{"locale", &texts.locale}});
    return true;
}

} // namespace velmora::app
