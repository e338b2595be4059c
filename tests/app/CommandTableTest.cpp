// The main window's command table: menu items, actions and tool buttons by component name.
#include "AppFixture.h"

#include "app/ShortcutDispatcher.h"
#include "editor/widget/SourceMemo.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QToolButton>

namespace velmora::testing
{
namespace
{

struct MenuRow {
    const char *menu; // component name of the menu holding the item
    const char *name;
    const char *caption; // nullptr for a separator
    const char *shortcut;
    bool visible = true;
};

const MenuRow menuTable[] = {
    {"MainMenu1", "File1", "&File", ""},
    {"File1", "New1", "&New", ""},
    {"File1", "Open1", "&Open File..", "F3"},
    {"File1", "LastFileA1", "Load &Last File", "Ctrl+Alt+L"},
    {"File1", "DefaultTemplate1", "Default Template", "Ctrl+Alt+D"},
    {"File1", "Openfolder", "Open folder with source file", "Ctrl+Alt+O"},
    {"File1", "N3", nullptr, ""},
    {"File1", "Save1", "&Save", "F2"},
    {"File1", "SaveAs1", "Save &As..", "Shift+F2"},
    {"File1", "N2", nullptr, ""},
    {"File1", "Print1", "&Print", "Ctrl+P", false},
    {"File1", "PrintSetup1", "Prin&t Setup...", "", false},
    {"File1", "N1", nullptr, "", false},
    {"File1", "Exit1", "&Exit", "F12"},
    {"MainMenu1", "Edit1", "&Edit", ""},
    {"Edit1", "Undo1", "Undo", "Alt+Backspace"},
    {"Edit1", "Repeatcommand1", "Redo", "Shift+Alt+Backspace"},
    {"Edit1", "Comment1", "Comment", "Ctrl+K"},
    {"Edit1", "UnComment1", "UnComment", "Ctrl+U"},
    {"Edit1", "N6", nullptr, ""},
    {"Edit1", "Cut1", "Cu&t", "Ctrl+X"},
    {"Edit1", "Copy1", "&Copy", "Ctrl+C"},
    {"Edit1", "Paste1", "&Paste", "Ctrl+V"},
    {"Edit1", "N5", nullptr, ""},
    {"Edit1", "Find1", "&Find...", "Ctrl+F3"},
    {"Edit1", "SearchAgain1", "Search Again", "Ctrl+F"},
    {"Edit1", "Replace1", "R&eplace... ???", "", false},
    {"Edit1", "GoTo1", "&Go To... ???", "", false},
    {"MainMenu1", "Compile1", "&Compile", ""},
    {"Compile1", "asm1", "Tasm", "F7"},
    {"Compile1", "link1", "TLink", "F8"},
    {"Compile1", "Run1", "Run", "F9"},
    {"Compile1", "asmTlinkRun1", "Tasm+TLink+Run", "Ctrl+F9"},
    {"Compile1", "RunBuiltInPc1", "Run on the built-in PC", "Shift+F9"},
    {"Compile1", "N9", nullptr, ""},
    {"Compile1", "urboDebug1", "Tubo Debug", "F10"},
    {"Compile1", "N8", nullptr, ""},
    {"Compile1", "asmClickAPSTR1", "Tasm with Param ..", "Shift+F7"},
    {"Compile1", "linkClickAPSTR1", "TLink with Param ..", "Ctrl+F8"},
    {"Compile1", "N4", nullptr, ""},
    {"Compile1", "Tasmhelp", "Show Tasm help", ""},
    {"Compile1", "Tlinkhelp", "Show Tlink help", ""},
    {"Compile1", "Listing1", "Generate Listing", ""},
    {"Listing1", "inyListing1", "Tiny Listing", ""},
    {"Listing1", "ExpandListing1", "Expand Listing", ""},
    {"MainMenu1", "Debug1", "&Debug", ""},
    {"Debug1", "DebugTrace", "Trace into", "F7"},
    {"Debug1", "DebugStepOver", "Step over", "F8"},
    {"Debug1", "DebugRun", "Run", "F9"},
    {"Debug1", "DebugRunToCursor", "Run to cursor", "F4"},
    {"Debug1", "DebugStepBack", "Step back", "Alt+F7"},
    {"Debug1", "DebugStop", "Stop debugging", "Ctrl+F2"},
    {"Debug1", "DebugN1", nullptr, ""},
    {"Debug1", "DebugBreakpoint", "Toggle breakpoint", "F2"},
    {"Debug1", "DebugMachineCode", "Show machine code", ""},
    {"MainMenu1", "Options1", "&Options", ""},
    {"Options1", "Prefs1", "&Preferences..", ""},
    {"Options1", "Charset1", "C&harset", ""},
    {"Charset1", "Windows1", "Windows", ""},
    {"Charset1", "DOS1", "DOS", ""},
    {"Charset1", "UTF81", "UTF-8", ""},
    {"MainMenu1", "Other1", "Other", ""},
    {"Other1", "Calc1", "Calc", ""},
    {"Other1", "AssemblerCommandsHelp", "Assembler Commands Help", "F1"},
    {"Other1", "N7", nullptr, ""},
    {"Other1", "faq", "Assembler Faq", ""},
    {"Other1", "ASCIITAble1", "ASCII Table", ""},
    {"Other1", "Optimizationinfo1", "Optimization info", ""},
    {"MainMenu1", "AboutMenu", "&About", ""},
};

// Every item of the menu bar in tree order, each with the name of the menu holding it.
void walk(const QList<QAction *> &items, const QString &holder, std::vector<std::pair<QString, QAction *>> &out)
{
    for (QAction *item : items) {
        out.emplace_back(holder, item);
        if (item->menu())
            walk(item->menu()->actions(), item->objectName(), out);
    }
}

using CommandTableTest = AppFixture;

TEST_F(CommandTableTest, MainMenuHoldsEveryItemInOrderWithCaptionShortcutAndVisibility)
{
    start();
    std::vector<std::pair<QString, QAction *>> items;
    walk(component<QMenuBar>("MainMenu1")->actions(), QStringLiteral("MainMenu1"), items);
    ASSERT_EQ(items.size(), std::size(menuTable));
    for (size_t i = 0; i < items.size(); ++i) {
        const MenuRow &row = menuTable[i];
        const auto &[holder, item] = items[i];
        SCOPED_TRACE(row.name);
        EXPECT_EQ(item->objectName(), QString::fromLatin1(row.name));
        EXPECT_EQ(holder, QString::fromLatin1(row.menu));
        EXPECT_EQ(item->isSeparator(), row.caption == nullptr);
        if (row.caption != nullptr) {
            EXPECT_EQ(item->text(), QString::fromLatin1(row.caption));
        }
        EXPECT_EQ(item->shortcut(), QKeySequence::fromString(QString::fromLatin1(row.shortcut)));
        EXPECT_EQ(item->isVisible(), row.visible);
    }
    EXPECT_TRUE(component<QAction>("Windows1")->isChecked());
    EXPECT_FALSE(component<QAction>("DOS1")->isChecked());
}

TEST_F(CommandTableTest, ActionListHoldsEveryActionWithItsShortcut)
{
    start();
    const std::pair<const char *, const char *> actions[] = {
        {"SaveA", "F2"},
        {"SaveAsA", "Shift+F2"},
        {"OpenA", "F3"},
        {"ReadAllINI", ""},
        {"WriteAllINI", ""},
        {"apply", ""},
        {"FNameShow", ""},
        {"TasmClickA", "F7"},
        {"TasmClickA_PSTR", "Shift+F7"},
        {"TlinkClickA", "F8"},
        {"TlinkClickA_PSTR", "Ctrl+F8"},
        {"TDClickA", "F10"},
        {"RunClickA", "F9"},
        {"ExitA", "F12"},
        {"EWM", ""},
        {"TasmTlinkRun", "Ctrl+F9"},
        {"NextPage", "F6"},
        {"LastFileA", ""},
        {"NewA", ""},
        {"UndoA", ""},
        {"RedoA", ""},
        {"HelpShowA", ""},
        {"ApplyLanguage", ""},
        {"ApplyLanguagePrefsW", ""},
        {"ApplyLanguageAboutW", ""},
        {"ApplyLanguageInfoW", ""},
    };
    const auto list = component<QObject>("ActionList1")->findChildren<QAction *>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(list.size(), qsizetype(std::size(actions)));
    for (size_t i = 0; i < std::size(actions); ++i) {
        SCOPED_TRACE(actions[i].first);
        EXPECT_EQ(list[i]->objectName(), QString::fromLatin1(actions[i].first));
        EXPECT_EQ(list[i]->shortcut(), QKeySequence::fromString(QString::fromLatin1(actions[i].second)));
    }
}

TEST_F(CommandTableTest, ToolButtonsCarryCaptionsAndHintsInTheirPanels)
{
    start();
    struct Row {
        const char *panel, *name, *caption, *hint;
    };
    const Row buttons[] = {
        {"Panel1", "New", "", ""},
        {"Panel1", "Open", "", "Open [ F3 ]"},
        {"Panel1", "Save", "", "Save [ F2 ]"},
        {"Panel1", "SaveAs", ".. ", "Save As.."},
        {"Panel1", "Last", "Last", ""},
        {"Panel1", "Tasm", "Tasm", "Tasm [ F7 ]"},
        {"Panel1", "TasmPar", ".. ", "Tasm with param_string [ Shift+F7 ]"},
        {"Panel1", "Tlink", "Tlink", "Tlink [ F8 ]"},
        {"Panel1", "TlinkPar", ".. ", ""},
        {"Panel1", "Td", "TD", "Turbo Debuger [ F10 ]"},
        {"Panel1", "run", "Run", "Run Program [ F9 ]"},
        {"Panel1", "BTasmTlinkRun", "", "TAsm + Tlink + Run Program [ CTRL+F9 ]"},
        {"Panel2", "Prefs", "Prefs", ""},
        {"Panel2", "About", "About", ""},
        {"Panel2", "Exit", "Exit", ""},
    };
    for (const Row &row : buttons) {
        SCOPED_TRACE(row.name);
        auto *button = component<QToolButton>(row.name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->parent()->objectName(), QString::fromLatin1(row.panel));
        EXPECT_EQ(button->text(), QString::fromLatin1(row.caption));
        EXPECT_EQ(button->toolTip(), QString::fromLatin1(row.hint));
    }
    EXPECT_TRUE(component<QToolButton>("Tasm")->font().bold());
    auto *next = component<QToolButton>("Button1");
    EXPECT_EQ(next->text(), QStringLiteral(">"));
    EXPECT_EQ(next->toolTip(), QStringLiteral("Next Page [ F6 ]"));
    EXPECT_EQ(next->size(), QSize(20, 17));
}

TEST_F(CommandTableTest, PagesHoldTheirMemosAndCommandPanels)
{
    start();
    auto *pages = component<QTabWidget>("Pages");
    ASSERT_EQ(pages->count(), 4);
    const char *sheets[] = {"EditSheet", "TasmOutSheet", "TLinkOutSheet", "RunOutSheet"};
    const char *captions[] = {"Editor", "TAsm Output", "TLink Output", "Run Output"};
    const char *memos[] = {"editor", "MTasm", "MTLink", "MRun"};
    const char *panels[] = {nullptr, "TasmCMDStr", "TlinkCMDStr", "RunCMDStr"};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(sheets[i]);
        QWidget *page = pages->widget(i);
        EXPECT_EQ(page->objectName(), QString::fromLatin1(sheets[i]));
        EXPECT_EQ(pages->tabText(i), QString::fromLatin1(captions[i]));
        EXPECT_NE(page->findChild<QWidget *>(QString::fromLatin1(memos[i])), nullptr);
        if (panels[i] != nullptr) {
            EXPECT_NE(page->findChild<QLabel *>(QString::fromLatin1(panels[i])), nullptr);
        }
    }
    EXPECT_TRUE(component<QPlainTextEdit>("MTasm")->font().bold());
    EXPECT_FALSE(component<QPlainTextEdit>("MRun")->font().bold());
    for (const char *name : {"Panel1", "Panel2", "Bevel1", "Bevel2", "sb", "OD", "SD", "FD", "ActionList1"})
        EXPECT_NE(component<QObject>(name), nullptr) << name;
}

TEST_F(CommandTableTest, KeysGoToMenuItemsFirstThenToActions)
{
    auto &w = start();
    // Undo and Redo are greyed while there is nothing to undo or redo.
    w.editor->SetSelTextBuf("a");
    w.editor->startNewUndoGroup();
    w.editor->SetSelTextBuf("b");
    w.UndoA();
    auto *dispatcher = w.findChild<app::ShortcutDispatcher *>();
    ASSERT_NE(dispatcher, nullptr);
    const auto commandName = [&](QKeyCombination key) {
        QAction *command = dispatcher->commandFor(key);
        return command ? command->objectName() : QStringLiteral("none");
    };
    const std::pair<QKeyCombination, const char *> keys[] = {
        {Qt::Key_F2, "Save1"},
        {Qt::SHIFT | Qt::Key_F2, "SaveAs1"},
        {Qt::Key_F3, "Open1"},
        {Qt::Key_F6, "NextPage"},
        {Qt::Key_F7, "asm1"},
        {Qt::SHIFT | Qt::Key_F7, "asmClickAPSTR1"},
        {Qt::Key_F8, "link1"},
        {Qt::CTRL | Qt::Key_F8, "linkClickAPSTR1"},
        {Qt::SHIFT | Qt::Key_F8, "none"},
        {Qt::Key_F9, "Run1"},
        {Qt::CTRL | Qt::Key_F9, "asmTlinkRun1"},
        {Qt::Key_F10, "urboDebug1"},
        {Qt::Key_F12, "Exit1"},
        {Qt::Key_F1, "AssemblerCommandsHelp"},
        {Qt::CTRL | Qt::Key_P, "Print1"},
        {Qt::CTRL | Qt::Key_K, "Comment1"},
        {Qt::ALT | Qt::Key_Backspace, "Undo1"},
        {Qt::SHIFT | Qt::ALT | Qt::Key_Backspace, "Repeatcommand1"},
        {Qt::Key_A, "none"},
    };
    for (const auto &[key, name] : keys)
        EXPECT_EQ(commandName(key), QString::fromLatin1(name)) << QKeySequence(key).toString().toStdString();

    // Hiding the menus leaves their shortcuts working.
    w.state().settings.WhatControls = 1;
    w.apply();
    EXPECT_EQ(commandName(Qt::CTRL | Qt::ALT | Qt::Key_L), QStringLiteral("LastFileA1"));
    // A disabled item gives the key to the next match.
    component<QAction>("Open1")->setEnabled(false);
    EXPECT_EQ(commandName(Qt::Key_F3), QStringLiteral("OpenA"));
}

} // namespace
} // namespace velmora::testing
