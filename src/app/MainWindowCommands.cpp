// The command table of TVelmora: the actions of ActionList1 and the main menu MainMenu1.
#include "app/MainWindow.h"
#include "app/ShortcutDispatcher.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace velmora::app
{

namespace
{

QKeySequence key(QKeyCombination combination)
{
    return QKeySequence(combination);
}

} // namespace

QAction *TVelmora::addAction(const char *name, const QKeySequence &shortcut, void (TVelmora::*handler)())
{
    auto *action = new QAction(QString::fromLatin1(name), actionList_);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    // Never registered with a widget: ShortcutDispatcher matches the key.
    action->setShortcutContext(Qt::WidgetShortcut);
    connect(action, &QAction::triggered, this,
            [this, handler] { runCommand([this, handler] { (this->*handler)(); }); });
    return action;
}

void TVelmora::createActions()
{
    actionList_ = new QObject(this);
    actionList_->setObjectName(QStringLiteral("ActionList1"));
    addAction("SaveA", key(Qt::Key_F2), &TVelmora::SaveA);
    addAction("SaveAsA", key(Qt::SHIFT | Qt::Key_F2), &TVelmora::SaveAsA);
    addAction("OpenA", key(Qt::Key_F3), &TVelmora::OpenA);
    addAction("ReadAllINI", {}, &TVelmora::ReadAllINI);
    addAction("WriteAllINI", {}, &TVelmora::WriteAllINI);
    addAction("apply", {}, &TVelmora::apply);
    addAction("FNameShow", {}, &TVelmora::FNameShow);
    addAction("TasmClickA", key(Qt::Key_F7), &TVelmora::TasmClick);
    addAction("TasmClickA_PSTR", key(Qt::SHIFT | Qt::Key_F7), &TVelmora::TasmClickA_PSTR);
    addAction("TlinkClickA", key(Qt::Key_F8), &TVelmora::TlinkClick);
    addAction("TlinkClickA_PSTR", key(Qt::CTRL | Qt::Key_F8), &TVelmora::TlinkClickA_PSTR);
    addAction("TDClickA", key(Qt::Key_F10), &TVelmora::TdClick);
    addAction("RunClickA", key(Qt::Key_F9), &TVelmora::runClick);
    addAction("ExitA", key(Qt::Key_F12), &TVelmora::ExitA);
    addAction("EWM", {}, &TVelmora::EWM);
    addAction("TasmTlinkRun", key(Qt::CTRL | Qt::Key_F9), &TVelmora::TasmTlinkRun);
    addAction("NextPage", key(Qt::Key_F6), &TVelmora::NextPage);
    addAction("LastFileA", {}, &TVelmora::LastFileA);
    addAction("NewA", {}, &TVelmora::NewA);
    addAction("UndoA", {}, &TVelmora::UndoA);
    addAction("RedoA", {}, &TVelmora::RedoA);
    addAction("HelpShowA", {}, &TVelmora::HelpShowA);
    addAction("ApplyLanguage", {}, &TVelmora::ApplyLanguage);
    addAction("ApplyLanguagePrefsW", {}, &TVelmora::ApplyLanguagePrefsW);
    addAction("ApplyLanguageAboutW", {}, &TVelmora::ApplyLanguageAboutW);
    addAction("ApplyLanguageInfoW", {}, &TVelmora::ApplyLanguageInfoW);
}

QAction *TVelmora::addMenuItem(QMenu *menu, const char *name, const QString &caption, const QKeySequence &shortcut,
                               void (TVelmora::*handler)())
{
    QAction *item = menu->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    item->setShortcut(shortcut);
    // Shown in the menu; the key itself is matched by ShortcutDispatcher.
    item->setShortcutContext(Qt::WidgetShortcut);
    if (handler != nullptr)
        connect(item, &QAction::triggered, this,
                [this, handler] { runCommand([this, handler] { (this->*handler)(); }); });
    return item;
}

QAction *TVelmora::addSeparator(QMenu *menu, const char *name)
{
    QAction *separator = menu->addSeparator();
    separator->setObjectName(QString::fromLatin1(name));
    return separator;
}

namespace
{

QMenu *addSubmenu(QWidget *parent, const char *name, const QString &caption)
{
    auto *menu = new QMenu(caption, parent);
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    if (auto *bar = qobject_cast<QMenuBar *>(parent))
        bar->addMenu(menu);
    else
        static_cast<QMenu *>(parent)->addMenu(menu);
    return menu;
}

} // namespace

void TVelmora::createMainMenu()
{
    auto *bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("MainMenu1"));
    setMenuBar(bar);

    QMenu *file = addSubmenu(bar, "File1", QStringLiteral("&File"));
    addMenuItem(file, "New1", QStringLiteral("&New"), {}, &TVelmora::NewA);
    addMenuItem(file, "Open1", QStringLiteral("&Open File.."), key(Qt::Key_F3), &TVelmora::OpenA);
    addMenuItem(file, "LastFileA1", QStringLiteral("Load &Last File"), key(Qt::CTRL | Qt::ALT | Qt::Key_L),
                &TVelmora::LastFileA);
    addMenuItem(file, "DefaultTemplate1", QStringLiteral("Default Template"), key(Qt::CTRL | Qt::ALT | Qt::Key_D),
                &TVelmora::DefaultTemplate1Click);
    addMenuItem(file, "Openfolder", QStringLiteral("Open folder with source file"), key(Qt::CTRL | Qt::ALT | Qt::Key_O),
                &TVelmora::OpenfolderClick);
    addSeparator(file, "N3");
    addMenuItem(file, "Save1", QStringLiteral("&Save"), key(Qt::Key_F2), &TVelmora::SaveA);
    addMenuItem(file, "SaveAs1", QStringLiteral("Save &As.."), key(Qt::SHIFT | Qt::Key_F2), &TVelmora::SaveAsA);
    addSeparator(file, "N2");
    addMenuItem(file, "Print1", QStringLiteral("&Print"), key(Qt::CTRL | Qt::Key_P), nullptr)->setVisible(false);
    addMenuItem(file, "PrintSetup1", QStringLiteral("Prin&t Setup..."), {}, nullptr)->setVisible(false);
    addSeparator(file, "N1")->setVisible(false);
    addMenuItem(file, "Exit1", QStringLiteral("&Exit"), key(Qt::Key_F12), &TVelmora::ExitA);

    QMenu *edit = addSubmenu(bar, "Edit1", QStringLiteral("&Edit"));
    addMenuItem(edit, "Undo1", QStringLiteral("Undo"), key(Qt::ALT | Qt::Key_Backspace), &TVelmora::UndoA);
    addMenuItem(edit, "Repeatcommand1", QStringLiteral("Redo"), key(Qt::SHIFT | Qt::ALT | Qt::Key_Backspace),
                &TVelmora::RedoA);
    addMenuItem(edit, "Comment1", QStringLiteral("Comment"), key(Qt::CTRL | Qt::Key_K), &TVelmora::Comment1Click);
    addMenuItem(edit, "UnComment1", QStringLiteral("UnComment"), key(Qt::CTRL | Qt::Key_U), &TVelmora::UnComment1Click);
    addSeparator(edit, "N6");
    addMenuItem(edit, "Cut1", QStringLiteral("Cu&t"), key(Qt::CTRL | Qt::Key_X), &TVelmora::Cut1Click);
    addMenuItem(edit, "Copy1", QStringLiteral("&Copy"), key(Qt::CTRL | Qt::Key_C), &TVelmora::Copy1Click);
    addMenuItem(edit, "Paste1", QStringLiteral("&Paste"), key(Qt::CTRL | Qt::Key_V), &TVelmora::Paste1Click);
    addSeparator(edit, "N5");
    addMenuItem(edit, "Find1", QStringLiteral("&Find..."), key(Qt::CTRL | Qt::Key_F3), &TVelmora::Find1Click);
    addMenuItem(edit, "SearchAgain1", QStringLiteral("Search Again"), key(Qt::CTRL | Qt::Key_F),
                &TVelmora::SearchAgain1Click);
    addMenuItem(edit, "Replace1", QStringLiteral("R&eplace... ???"), {}, nullptr)->setVisible(false);
    addMenuItem(edit, "GoTo1", QStringLiteral("&Go To... ???"), {}, nullptr)->setVisible(false);

    QMenu *compile = addSubmenu(bar, "Compile1", QStringLiteral("&Compile"));
    addMenuItem(compile, "asm1", QStringLiteral("Tasm"), key(Qt::Key_F7), &TVelmora::TasmClick);
    addMenuItem(compile, "link1", QStringLiteral("TLink"), key(Qt::Key_F8), &TVelmora::TlinkClick);
    addMenuItem(compile, "Run1", QStringLiteral("Run"), key(Qt::Key_F9), &TVelmora::runClick);
    addMenuItem(compile, "asmTlinkRun1", QStringLiteral("Tasm+TLink+Run"), key(Qt::CTRL | Qt::Key_F9),
                &TVelmora::TasmTlinkRun);
    addMenuItem(compile, "RunBuiltInPc1", QStringLiteral("Run on the built-in PC"), key(Qt::SHIFT | Qt::Key_F9),
                &TVelmora::RunBuiltInPcClick);
    addSeparator(compile, "N9");
    addMenuItem(compile, "urboDebug1", QStringLiteral("Tubo Debug"), key(Qt::Key_F10), &TVelmora::TdClick);
    addSeparator(compile, "N8");
    addMenuItem(compile, "asmClickAPSTR1", QStringLiteral("Tasm with Param .."), key(Qt::SHIFT | Qt::Key_F7),
                &TVelmora::TasmClickA_PSTR);
    addMenuItem(compile, "linkClickAPSTR1", QStringLiteral("TLink with Param .."), key(Qt::CTRL | Qt::Key_F8),
                &TVelmora::TlinkClickA_PSTR);
    addSeparator(compile, "N4");
    addMenuItem(compile, "Tasmhelp", QStringLiteral("Show Tasm help"), {}, &TVelmora::TasmhelpClick);
    addMenuItem(compile, "Tlinkhelp", QStringLiteral("Show Tlink help"), {}, &TVelmora::TlinkhelpClick);
    QMenu *listing = addSubmenu(compile, "Listing1", QStringLiteral("Generate Listing"));
    addMenuItem(listing, "inyListing1", QStringLiteral("Tiny Listing"), {}, &TVelmora::inyListing1Click);
    addMenuItem(listing, "ExpandListing1", QStringLiteral("Expand Listing"), {}, &TVelmora::ExpandListing1Click);

    QMenu *options = addSubmenu(bar, "Options1", QStringLiteral("&Options"));
    addMenuItem(options, "Prefs1", QStringLiteral("&Preferences.."), {}, &TVelmora::PrefsClick);
    QMenu *charset = addSubmenu(options, "Charset1", QStringLiteral("C&harset"));
    QAction *windows = addMenuItem(charset, "Windows1", QStringLiteral("Windows"), {}, &TVelmora::Windows1Click);
    windows->setCheckable(true);
    windows->setChecked(true);
    addMenuItem(charset, "DOS1", QStringLiteral("DOS"), {}, &TVelmora::DOS1Click)->setCheckable(true);
    addMenuItem(charset, "UTF81", QStringLiteral("UTF-8"), {}, &TVelmora::UTF81Click)->setCheckable(true);

    QMenu *other = addSubmenu(bar, "Other1", QStringLiteral("Other"));
    addMenuItem(other, "Calc1", QStringLiteral("Calc"), {}, &TVelmora::Calc1Click);
    addMenuItem(other, "AssemblerCommandsHelp", QStringLiteral("Assembler Commands Help"), key(Qt::Key_F1),
                &TVelmora::HelpShowA);
    addSeparator(other, "N7");
    addMenuItem(other, "faq", QStringLiteral("Assembler Faq"), {}, &TVelmora::faqClick);
    addMenuItem(other, "ASCIITAble1", QStringLiteral("ASCII Table"), {}, &TVelmora::ASCIITAble1Click);
    addMenuItem(other, "Optimizationinfo1", QStringLiteral("Optimization info"), {}, &TVelmora::Optimizationinfo1Click);

    QAction *about = bar->addAction(QStringLiteral("&About"));
    about->setObjectName(QStringLiteral("AboutMenu"));
    connect(about, &QAction::triggered, this, [this] { runCommand([this] { AboutClick(); }); });

    new ShortcutDispatcher(this, bar, actionList_);
}

} // namespace velmora::app
