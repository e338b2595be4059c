#include "LanguageTestWindows.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>

#include <initializer_list>
#include <stdexcept>
#include <type_traits>

namespace velmora::testing
{

namespace
{

template <typename Widget>
Widget *add(QWidget *parent, const char *name, const QString &text = {}, const QString &hint = {})
{
    auto *widget = new Widget(parent);
    widget->setObjectName(QString::fromLatin1(name));
    if constexpr (std::is_same_v<Widget, QGroupBox>)
        widget->setTitle(text);
    else if constexpr (requires { widget->setText(text); })
        widget->setText(text);
    widget->setToolTip(hint);
    return widget;
}

QWidget *addPage(QTabWidget *pages, const char *name, const QString &caption)
{
    auto *page = new QWidget;
    page->setObjectName(QString::fromLatin1(name));
    pages->addTab(page, caption);
    return page;
}

QGroupBox *addRadioGroup(QWidget *parent, const char *name, const QString &caption,
                         std::initializer_list<const char *> choices)
{
    auto *group = add<QGroupBox>(parent, name, caption);
    for (const char *choice : choices)
        new QRadioButton(QString::fromUtf8(choice), group);
    return group;
}

struct MenuItem {
    const char *name;
    const char *caption;
    bool hidden = false;
};

void addItems(QMenu *menu, std::initializer_list<MenuItem> items)
{
    for (const MenuItem &item : items) {
        const bool separator = QByteArray(item.caption) == "-";
        QAction *action = separator ? menu->addSeparator() : menu->addAction(QString());
        if (!separator)
            action->setText(QString::fromUtf8(item.caption));
        action->setObjectName(QString::fromLatin1(item.name));
        action->setVisible(!item.hidden);
    }
}

// A menu whose item (its menu action) carries the name, as menu items are named.
QMenu *addMenu(QWidget *owner, QMenu *parentMenu, QMenuBar *bar, const char *name, const char *caption)
{
    auto *menu = new QMenu(QString::fromUtf8(caption), owner);
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    if (parentMenu)
        parentMenu->addMenu(menu);
    else
        bar->addMenu(menu);
    return menu;
}

void buildMainMenu(QMainWindow &window)
{
    QMenuBar *bar = window.menuBar();
    QMenu *file = addMenu(&window, nullptr, bar, "File1", "&File");
    addItems(file, {{"New1", "&New"},
                    {"Open1", "&Open File.."},
                    {"LastFileA1", "Load &Last File"},
                    {"DefaultTemplate1", "Default Template"},
                    {"Openfolder", "Open folder with source file"},
                    {"N3", "-"},
                    {"Save1", "&Save"},
                    {"SaveAs1", "Save &As.."},
                    {"N2", "-"},
                    {"Print1", "&Print", true},
                    {"PrintSetup1", "Prin&t Setup...", true},
                    {"N1", "-", true},
                    {"Exit1", "&Exit"}});
    QMenu *edit = addMenu(&window, nullptr, bar, "Edit1", "&Edit");
    addItems(edit, {{"Undo1", "Undo"},
                    {"Repeatcommand1", "Redo"},
                    {"Comment1", "Comment"},
                    {"UnComment1", "UnComment"},
                    {"N6", "-"},
                    {"Cut1", "Cu&t"},
                    {"Copy1", "&Copy"},
                    {"Paste1", "&Paste"},
                    {"N5", "-"},
                    {"Find1", "&Find..."},
                    {"SearchAgain1", "Search Again"},
                    {"Replace1", "R&eplace... ???", true},
                    {"GoTo1", "&Go To... ???", true}});
    QMenu *compile = addMenu(&window, nullptr, bar, "Compile1", "&Compile");
    addItems(compile, {{"asm1", "Tasm"},
                       {"link1", "TLink"},
                       {"Run1", "Run"},
                       {"asmTlinkRun1", "Tasm+TLink+Run"},
                       {"N9", "-"},
                       {"urboDebug1", "Tubo Debug"},
                       {"N8", "-"},
                       {"asmClickAPSTR1", "Tasm with Param .."},
                       {"linkClickAPSTR1", "TLink with Param .."},
                       {"N4", "-"},
                       {"Tasmhelp", "Show Tasm help"},
                       {"Tlinkhelp", "Show Tlink help"}});
    addItems(addMenu(&window, compile, bar, "Listing1", "Generate Listing"),
             {{"inyListing1", "Tiny Listing"}, {"ExpandListing1", "Expand Listing"}});
    QMenu *options = addMenu(&window, nullptr, bar, "Options1", "&Options");
    addItems(options, {{"Prefs1", "&Preferences.."}});
    addItems(addMenu(&window, options, bar, "Charset1", "C&harset"), {{"Windows1", "Windows"}, {"DOS1", "DOS"}});

    // This menu carries the name on the menu itself: a caption then becomes its title.
    auto *other = new QMenu(QStringLiteral("Other"), &window);
    other->setObjectName(QStringLiteral("Other1"));
    bar->addMenu(other);
    addItems(other, {{"Calc1", "Calc"},
                     {"AssemblerCommandsHelp", "Assembler Commands Help"},
                     {"N7", "-"},
                     {"faq", "Assembler Faq"},
                     {"ASCIITAble1", "ASCII Table"},
                     {"Optimizationinfo1", "Optimization info"}});
    bar->addAction(QStringLiteral("&About"))->setObjectName(QStringLiteral("AboutMenu"));
}

// Path of named (or class#index) segments from the root, so equal names in different
// windows stay apart.
QString pathOf(const QObject &object, const QObject &root)
{
    if (&object == &root || !object.parent())
        return object.objectName();
    const QObject *parent = object.parent();
    const QString segment = !object.objectName().isEmpty()
                                ? object.objectName()
                                : QString::fromLatin1(object.metaObject()->className()) + QLatin1Char('#') +
                                      QString::number(parent->children().indexOf(const_cast<QObject *>(&object)));
    return pathOf(*parent, root) + QLatin1Char('/') + segment;
}

void collect(const QObject &object, const QObject &root, QMap<QString, QString> &texts)
{
    const QString path = pathOf(object, root);
    for (const char *property : {"text", "title", "toolTip"})
        if (object.metaObject()->indexOfProperty(property) >= 0)
            texts[path + QLatin1Char('.') + QLatin1String(property)] = object.property(property).toString();
    if (const auto *action = qobject_cast<const QAction *>(&object)) {
        texts[path + QStringLiteral(".separator")] = action->isSeparator() ? QStringLiteral("1") : QStringLiteral("0");
        texts[path + QStringLiteral(".hidden")] = action->isVisible() ? QStringLiteral("0") : QStringLiteral("1");
    }
    if (const auto *tabs = qobject_cast<const QTabWidget *>(&object))
        for (int i = 0; i < tabs->count(); ++i)
            texts[pathOf(*tabs->widget(i), root) + QStringLiteral(".tab")] = tabs->tabText(i);
    if (const auto *widget = qobject_cast<const QWidget *>(&object); widget && widget->isWindow())
        texts[path + QStringLiteral(".window")] = widget->windowTitle();
    for (const QObject *child : object.children())
        collect(*child, root, texts);
}

} // namespace

std::unique_ptr<QMainWindow> buildMainWindow()
{
    auto window = std::make_unique<QMainWindow>();
    window->setObjectName(QStringLiteral("Velmora"));
    window->setWindowTitle(QStringLiteral("Untitled - Velmora 3.5f"));
    auto *central = new QWidget;
    window->setCentralWidget(central);

    auto *bar = add<QFrame>(central, "Panel1");
    add<QToolButton>(bar, "New");
    add<QToolButton>(bar, "Open", {}, QStringLiteral("Open [ F3 ]"));
    add<QToolButton>(bar, "Save", {}, QStringLiteral("Save [ F2 ]"));
    add<QToolButton>(bar, "SaveAs", QStringLiteral(".. "), QStringLiteral("Save As.."));
    add<QToolButton>(bar, "Last", QStringLiteral("Last"));
    add<QToolButton>(bar, "Tasm", QStringLiteral("Tasm"), QStringLiteral("Tasm [ F7 ]"));
    add<QToolButton>(bar, "TasmPar", QStringLiteral(".. "), QStringLiteral("Tasm with param_string [ Shift+F7 ]"));
    add<QToolButton>(bar, "Tlink", QStringLiteral("Tlink"), QStringLiteral("Tlink [ F8 ]"));
    add<QToolButton>(bar, "TlinkPar", QStringLiteral(".. "));
    add<QToolButton>(bar, "Td", QStringLiteral("TD"), QStringLiteral("Turbo Debuger [ F10 ]"));
    add<QToolButton>(bar, "run", QStringLiteral("Run"), QStringLiteral("Run Program [ F9 ]"));
    add<QToolButton>(bar, "BTasmTlinkRun", {}, QStringLiteral("TAsm + Tlink + Run Program [ CTRL+F9 ]"));
    auto *right = add<QFrame>(bar, "Panel2");
    add<QToolButton>(right, "Prefs", QStringLiteral("Prefs"));
    add<QToolButton>(right, "About", QStringLiteral("About"));
    add<QToolButton>(right, "Exit", QStringLiteral("Exit"));

    auto *pages = add<QTabWidget>(central, "Pages");
    addPage(pages, "EditSheet", QStringLiteral("Editor"));
    add<QLabel>(addPage(pages, "TasmOutSheet", QStringLiteral("TAsm Output")), "TasmCMDStr");
    add<QLabel>(addPage(pages, "TLinkOutSheet", QStringLiteral("TLink Output")), "TlinkCMDStr");
    add<QLabel>(addPage(pages, "RunOutSheet", QStringLiteral("Run Output")), "RunCMDStr");
    add<QPushButton>(central, "Button1", QStringLiteral(">"), QStringLiteral("Next Page [ F6 ]"));

    for (const char *name : {"SaveA", "SaveAsA", "OpenA", "TasmClickA", "NewA"})
        (new QAction(QString::fromLatin1(name), window.get()))->setObjectName(QString::fromLatin1(name));
    buildMainMenu(*window);

    auto *foreign = new QDialog(window.get());
    foreign->setObjectName(QStringLiteral("PrefsW"));
    add<QPushButton>(foreign, "Tasm", QStringLiteral("untouched"));
    return window;
}

std::unique_ptr<QDialog> buildPrefsWindow()
{
    auto window = std::make_unique<QDialog>();
    window->setObjectName(QStringLiteral("PrefsW"));
    window->setWindowTitle(QStringLiteral("Preferences"));
    auto *pages = add<QTabWidget>(window.get(), "PageControl1");

    QWidget *main = addPage(pages, "MainOptions", QStringLiteral("Main"));
    add<QPushButton>(main, "Button1", QStringLiteral("Associate \".asm\" files with Velmora"));
    addRadioGroup(main, "StartLoad", QStringLiteral(" -= On \"New File\" Load : =- "),
                  {"Default Template (TTDIR\\def_templ.asm )", "Empty Document"});
    add<QCheckBox>(main, "copytott", QStringLiteral("Copy All Loaded files in Velmora\\TTDIR"))->hide();
    auto *language = add<QGroupBox>(main, "GroupBox4", QStringLiteral(" -= Language =- "));
    add<QLabel>(language, "Label5", QStringLiteral("Current language file :"));
    add<QLabel>(language, "Label8", QStringLiteral("LNGPAK_Rus.lng"));
    add<QPushButton>(language, "BitBtn2", QStringLiteral("Load language file "));

    QWidget *output = addPage(pages, "TabSheet2", QStringLiteral("Output"));
    addRadioGroup(output, "OutDestination", QStringLiteral(" -= Output Destination =- "),
                  {"Output Tasm, Tlink, Run messages to Velmora", "Standart output in windows"});
    auto *what = add<QGroupBox>(output, "WhatsEditBox", QStringLiteral(" -= Output Options =- "));
    add<QCheckBox>(what, "CheckBox12", QStringLiteral("TAsm messages"));
    add<QCheckBox>(what, "CheckBox13", QStringLiteral("TLink Messages"));
    add<QCheckBox>(what, "CheckBox14", QStringLiteral("Run Output information"));
    add<QCheckBox>(what, "CAutoChangePage", QStringLiteral("Auto change page"));
    add<QLabel>(output, "Label6");
    add<QLabel>(output, "Label7");

    QWidget *highlight = addPage(pages, "TabSheet1", QStringLiteral("Highlight"));
    add<QCheckBox>(highlight, "EnableHL", QStringLiteral("Enable HighLight"))->hide();
    add<QCheckBox>(highlight, "NumbersHL", QStringLiteral("HighLight numbers"));
    add<QLabel>(highlight, "Label4", QStringLiteral("Numbers color :"));
    add<QPushButton>(highlight, "BitBtn1", QStringLiteral("Define Keyword List"));

    QWidget *parser = addPage(pages, "TabSheet3", QStringLiteral("Parser"));
    auto *aids = add<QGroupBox>(parser, "GroupBox3");
    add<QCheckBox>(aids, "CheckBox3", QStringLiteral("Put Space after ','"));
    add<QCheckBox>(aids, "CheckBox4", QStringLiteral("Put 2 Tab`s before ';'"));
    for (const char *name :
         {"CheckBox5", "CheckBox6", "CheckBox7", "CheckBox8", "CheckBox9", "CheckBox10", "CheckBox11"})
        add<QCheckBox>(aids, name, QStringLiteral("Reserved"))->hide();

    QWidget *style = addPage(pages, "FontsStyles", QStringLiteral("Style"));
    auto *memo = add<QGroupBox>(style, "MemoOpt");
    add<QLabel>(memo, "Label1", QStringLiteral("BackGround color"));
    add<QLabel>(memo, "Label2", QStringLiteral("Font color"));
    add<QPushButton>(memo, "SpeedButton1", QStringLiteral("Chose Editor font"));
    add<QCheckBox>(memo, "Bold", QStringLiteral("Bold Font in Editor"));
    add<QCheckBox>(memo, "Wrap", QStringLiteral("Word wrap in Editor"));
    auto *alpha = add<QGroupBox>(style, "GroupBox1", QStringLiteral(" -= Alpha Blend =-   "));
    add<QCheckBox>(alpha, "CheckBox1", QStringLiteral("Enable Alpha Blend"));
    add<QLabel>(alpha, "Label3");
    addRadioGroup(style, "whatctrl", QStringLiteral(" -= Controls =- "),
                  {"Main Menu", "Toolbar (buttons)", "Main Menu and ToolBar"});

    QWidget *lines = addPage(pages, "TabSheet4", QStringLiteral("Command lines"));
    add<QLabel>(lines, "Label10", QStringLiteral("Compile"));
    add<QLabel>(lines, "Label13", QStringLiteral("Link"));
    add<QLabel>(lines, "Label14", QStringLiteral("Debug"));
    add<QLineEdit>(lines, "Edit1", QStringLiteral("tasm.exe"));
    add<QLabel>(lines, "Label9", QStringLiteral("/opt/velmora/TTDIR/"));

    auto *buttons = add<QFrame>(window.get(), "Panel1");
    add<QPushButton>(buttons, "Cancel", QStringLiteral("Cancel"));
    add<QPushButton>(buttons, "SpeedButton2", QStringLiteral("OK"));
    add<QPushButton>(buttons, "SpeedButton3", QStringLiteral("Dafault all settings"));
    add<QPushButton>(buttons, "Apply", QStringLiteral("Apply"));
    return window;
}

std::unique_ptr<QDialog> buildAboutWindow()
{
    auto window = std::make_unique<QDialog>();
    window->setObjectName(QStringLiteral("Form3"));
    window->setWindowTitle(QStringLiteral("About Velmora"));
    auto *pages = add<QTabWidget>(window.get(), "PageControl1");
    QWidget *about = addPage(pages, "TabSheet1", QStringLiteral("About Velmora"));
    add<QLabel>(about, "Label1", QStringLiteral("Velmora"));
    add<QLabel>(about, "Label13", QStringLiteral("3.5f"));
    add<QPlainTextEdit>(addPage(pages, "TabSheet2", QStringLiteral("Functions && History ")), "Memo1");
    QWidget *fetches = addPage(pages, "TabSheet3", QStringLiteral("Fetches"));
    add<QLabel>(fetches, "Label115", QStringLiteral("Vendor"));
    add<QLabel>(fetches, "PValue", QStringLiteral("??"));
    add<QPushButton>(fetches, "Button1", QStringLiteral("Get CPU ID"));
    add<QPushButton>(window.get(), "SpeedButton1", QStringLiteral("OK"));
    return window;
}

std::unique_ptr<QDialog> buildInfoWindow()
{
    auto window = std::make_unique<QDialog>();
    window->setObjectName(QStringLiteral("InfoW"));
    window->setWindowTitle(QStringLiteral("Info"));
    auto *pages = add<QTabWidget>(window.get(), "PageControl1");
    add<QPlainTextEdit>(addPage(pages, "TabSheet1", QStringLiteral("Asm.Chainik.FAQ")), "SourceMemo1");
    add<QLabel>(addPage(pages, "TabSheet2", QStringLiteral("ASCII Table")), "Image1");
    add<QPlainTextEdit>(addPage(pages, "TabSheet3", QStringLiteral("Optimization")), "editor");
    return window;
}

QMap<QString, QString> textsOf(QWidget &window)
{
    QMap<QString, QString> texts;
    collect(window, window, texts);
    return texts;
}

QStringList changedTexts(const QMap<QString, QString> &before, const QMap<QString, QString> &after)
{
    QStringList changed;
    for (auto it = after.begin(); it != after.end(); ++it)
        if (before.value(it.key(), QStringLiteral("<absent>")) != it.value())
            changed.append(it.key().section(QLatin1Char('/'), -1) + QLatin1Char('=') + it.value());
    changed.sort();
    return changed;
}

QAction *actionNamed(QWidget &window, const QString &name)
{
    return window.findChild<QAction *>(name);
}

QString tabTextOf(QWidget &window, const QString &pageName)
{
    auto *page = window.findChild<QWidget *>(pageName);
    for (auto *tabs : window.findChildren<QTabWidget *>())
        if (tabs->indexOf(page) >= 0)
            return tabs->tabText(tabs->indexOf(page));
    return QStringLiteral("<no such page>");
}

QString PackFolder::write(const QString &name, const QByteArray &bytes)
{
    const QString path = dir_.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test pack " + path.toStdString());
    return path;
}

QString shippedPackPath(const char *fileName)
{
    return QStringLiteral(VELMORA_SOURCE_DIR "/data/info/") + QString::fromLatin1(fileName);
}

} // namespace velmora::testing
