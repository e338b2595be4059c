// The component tree of TVelmora: tool bar, pages with the editor, the output memos and
// command panels, the ">" button, the status bar and the dialogs.
#include "app/FileDialog.h"
#include "app/FindDialog.h"
#include "app/MainWindow.h"
#include "app/PixelFont.h"
#include "app/SourceEditorSetup.h"
#include "app/StatusBar.h"
#include "editor/widget/SourceGutter.h"
#include "editor/widget/SourceMemo.h"
#include "platform/DesktopPrograms.h"
#include "platform/Dialogs.h"

#include <QFontMetricsF>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace velmora::app
{

namespace
{

QFrame *addBevel(QWidget *panel, const char *name)
{
    auto *bevel = new QFrame(panel);
    bevel->setObjectName(QString::fromLatin1(name));
    bevel->setFrameShape(QFrame::VLine);
    bevel->setFrameShadow(QFrame::Sunken);
    panel->layout()->addWidget(bevel);
    return bevel;
}

// An output page: its memo filling the page and a command panel along the bottom.
QWidget *createOutputPage(QWidget *parent, const char *sheet, const char *memo, const char *commandPanel, bool bold)
{
    auto *page = new QWidget(parent);
    page->setObjectName(QString::fromLatin1(sheet));
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto *output = new QPlainTextEdit(page);
    output->setObjectName(QString::fromLatin1(memo));
    output->setReadOnly(true);
    output->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    output->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The tools line their columns up with blanks and tabs every 8 columns, so their output
    // is shown in a fixed-width font with those tab stops.
    QFont fixed = pixelFont(QStringLiteral("Courier New"), 12, bold);
    fixed.setStyleHint(QFont::Monospace);
    fixed.setFixedPitch(true);
    output->setFont(fixed);
    output->setTabStopDistance(8 * QFontMetricsF(fixed).horizontalAdvance(QLatin1Char(' ')));
    layout->addWidget(output);

    auto *panel = new QLabel(page);
    panel->setObjectName(QString::fromLatin1(commandPanel));
    panel->setTextFormat(Qt::PlainText);
    panel->setFixedHeight(18);
    panel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    panel->setFont(pixelFont(QStringLiteral("Arial"), 11));
    layout->addWidget(panel);
    return page;
}

} // namespace

QToolButton *TVelmora::addToolButton(QWidget *panel, const char *name, const QString &caption, const QString &hint,
                                     void (TVelmora::*handler)())
{
    auto *button = new QToolButton(panel);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this,
            [this, handler] { runCommand([this, handler] { (this->*handler)(); }); });
    panel->layout()->addWidget(button);
    return button;
}

void TVelmora::createToolBar()
{
    auto *panel1 = new QFrame(this);
    panel1_ = panel1;
    panel1->setObjectName(QStringLiteral("Panel1"));
    panel1->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    panel1->setFixedHeight(27);
    // On a narrow screen the tool bar is cut at the right rather than widening the window
    // past the screen; every command is in the menu as well.
    panel1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    auto *layout = new QHBoxLayout(panel1);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);

    const auto icon = [this](QStyle::StandardPixmap pixmap) { return style()->standardIcon(pixmap); };
    addToolButton(panel1, "New", {}, {}, &TVelmora::NewA)->setIcon(icon(QStyle::SP_FileIcon));
    addToolButton(panel1, "Open", {}, QStringLiteral("Open [ F3 ]"), &TVelmora::OpenA)
        ->setIcon(icon(QStyle::SP_DialogOpenButton));
    addToolButton(panel1, "Save", {}, QStringLiteral("Save [ F2 ]"), &TVelmora::SaveA)
        ->setIcon(icon(QStyle::SP_DialogSaveButton));
    addToolButton(panel1, "SaveAs", QStringLiteral(".. "), QStringLiteral("Save As.."), &TVelmora::SaveAsA);
    lastButton_ = addToolButton(panel1, "Last", QStringLiteral("Last"), {}, &TVelmora::LastFileA);
    lastButton_->installEventFilter(this);
    addBevel(panel1, "Bevel1");
    auto *tasm =
        addToolButton(panel1, "Tasm", QStringLiteral("Tasm"), QStringLiteral("Tasm [ F7 ]"), &TVelmora::TasmClick);
    tasm->setFont(pixelFont(QStringLiteral("Arial"), 13, true));
    QPalette palette = tasm->palette();
    palette.setColor(QPalette::ButtonText, Qt::black);
    tasm->setPalette(palette);
    addToolButton(panel1, "TasmPar", QStringLiteral(".. "), QStringLiteral("Tasm with param_string [ Shift+F7 ]"),
                  &TVelmora::TasmClickA_PSTR);
    addToolButton(panel1, "Tlink", QStringLiteral("Tlink"), QStringLiteral("Tlink [ F8 ]"), &TVelmora::TlinkClick);
    addToolButton(panel1, "TlinkPar", QStringLiteral(".. "), {}, &TVelmora::TlinkClickA_PSTR);
    addBevel(panel1, "Bevel2");
    addToolButton(panel1, "Td", QStringLiteral("TD"), QStringLiteral("Turbo Debuger [ F10 ]"), &TVelmora::TdClick);
    addToolButton(panel1, "run", QStringLiteral("Run"), QStringLiteral("Run Program [ F9 ]"), &TVelmora::runClick);
    addToolButton(panel1, "BTasmTlinkRun", {}, QStringLiteral("TAsm + Tlink + Run Program [ CTRL+F9 ]"),
                  &TVelmora::TasmTlinkRun)
        ->setIcon(icon(QStyle::SP_MediaPlay));
    layout->addStretch(1);

    auto *panel2 = new QFrame(panel1);
    panel2->setObjectName(QStringLiteral("Panel2"));
    panel2->setAutoFillBackground(true);
    QPalette black = panel2->palette();
    black.setColor(QPalette::Window, Qt::black);
    panel2->setPalette(black);
    auto *layout2 = new QHBoxLayout(panel2);
    layout2->setContentsMargins(1, 0, 1, 0);
    layout2->setSpacing(1);
    for (auto *button : {addToolButton(panel2, "Prefs", QStringLiteral("Prefs"), {}, &TVelmora::PrefsClick),
                         addToolButton(panel2, "About", QStringLiteral("About"), {}, &TVelmora::AboutClick),
                         addToolButton(panel2, "Exit", QStringLiteral("Exit"), {}, &TVelmora::ExitA)}) {
        // Raised buttons keep their own face, so the captions stay readable on the black panel.
        button->setAutoRaise(false);
        button->setPalette(QPalette());
    }
    layout->addWidget(panel2);
}

void TVelmora::createEditor(QWidget *parent)
{
    editor = createSourceEditor(parent, NumberHL);

    // The position panel follows the caret however it moves: keys, typing, mouse, Find, the
    // error jump.
    editor->OnSelMove = [this](widget::TSourceMemo &) { showCaretPosition(); };
    editor->OnClick = editor->OnSelMove;
    editor->OnKeyPress = [this](widget::TSourceMemo &, QChar &key) { typingAid(key); };
    OpenFolder = [this](const QString &folder) {
        if (!platform::openFolder(folder))
            platform::dialogs().message(platform::MessageKind::Error, texts.messages.folderNotOpened.arg(folder));
    };
    SetEditorFont = [this](const QString &name, int pointSize) {
        QFont font = editor->font();
        font.setFamily(name);
        font.setPointSize(pointSize);
        editor->setFont(font);
    };
    SetNumbersForeground = [this](int colour) { setNumbersColour(colour); };
    ReApplyKeywords = [this] { editor->ReApplyKeywords(); };
}

void TVelmora::setNumbersColour(int colour)
{
    NumberHL.setForeground(colour);
    editor->ReApplyKeywords();
}

void TVelmora::createPages()
{
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("Pages"));
    pages_->setFont(pixelFont(QStringLiteral("MS Sans Serif"), 11));
    pages_->tabBar()->setMouseTracking(true);

    auto *editSheet = new QWidget(pages_);
    editSheet->setObjectName(QStringLiteral("EditSheet"));
    auto *editLayout = new QHBoxLayout(editSheet);
    editLayout->setContentsMargins(0, 0, 0, 0);
    editLayout->setSpacing(0);
    createEditor(editSheet);
    Gutter = new widget::TSourceGutter(editSheet);
    Gutter->setObjectName(QStringLiteral("Gutter"));
    // Room for the breakpoint and execution marks beside the bookmark icons.
    Gutter->setFixedWidth(36);
    Gutter->setIgnoreLastLineIfEmpty(false);
    Gutter->setSourceMemo(editor);
    editLayout->addWidget(Gutter);
    editLayout->addWidget(editor);
    pages_->addTab(editSheet, QStringLiteral("Editor"));
    pages_->addTab(createOutputPage(pages_, "TasmOutSheet", "MTasm", "TasmCMDStr", true),
                   QStringLiteral("TAsm Output"));
    pages_->addTab(createOutputPage(pages_, "TLinkOutSheet", "MTLink", "TlinkCMDStr", false),
                   QStringLiteral("TLink Output"));
    pages_->addTab(createOutputPage(pages_, "RunOutSheet", "MRun", "RunCMDStr", false), QStringLiteral("Run Output"));

    nextPageButton_ = new QToolButton(pages_);
    nextPageButton_->setObjectName(QStringLiteral("Button1"));
    nextPageButton_->setText(QStringLiteral(">"));
    nextPageButton_->setToolTip(QStringLiteral("Next Page [ F6 ]"));
    nextPageButton_->setFixedSize(20, 17);
    nextPageButton_->setFocusPolicy(Qt::NoFocus);
    connect(nextPageButton_, &QToolButton::clicked, this, [this] { runCommand([this] { NextPage(); }); });
    pages_->tabBar()->installEventFilter(this);
}

// Keeps the ">" button on the tab row just right of the last tab, however wide the tabs are.
void TVelmora::placeNextPageButton()
{
    const QRect tabs = pages_->tabBar()->geometry();
    const int y = tabs.top() + (tabs.height() - nextPageButton_->height()) / 2;
    nextPageButton_->move(tabs.right() + 4, qMax(0, y));
    nextPageButton_->raise();
}

void TVelmora::createStatusBar()
{
    sb_ = new TStatusBar(this);
    setStatusBar(sb_);
}

void TVelmora::createDialogs()
{
    od_ = new TFileDialog(TFileDialog::Kind::Open, "OD", this);
    od_->request().defaultExt = QStringLiteral("asm");
    od_->request().filter = mainTexts.openFilter;
    sd_ = new TFileDialog(TFileDialog::Kind::Save, "SD", this);
    sd_->request().defaultExt = QStringLiteral("asm");
    sd_->request().filter = mainTexts.saveFilter;
    fd_ = new TFindDialog(this);
    fd_->OnFind = [this] { runCommand([this] { FDFind(); }); };
}

} // namespace velmora::app
