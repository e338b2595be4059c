#include "app/MainWindow.h"

#include "app/FileDialog.h"
#include "app/FindDialog.h"
#include "app/IniFile.h"
#include "app/RecoveryCopies.h"
#include "app/StatusBar.h"
#include "app/WindowBuildHost.h"
#include "app/WindowPlacement.h"
#include "app/helpview/HelpSystem.h"
#include "app/language/QtTranslation.h"
#include "editor/widget/EditorTexts.h"
#include "editor/widget/KeywordsEditorDlg.h"
#include "editor/widget/SourceMemo.h"
#include "platform/Dialogs.h"
#include "platform/DosRunner.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <cstdio>
#include <exception>
#include <new>

namespace velmora::app
{

namespace
{

// The window's icon: the program's initial on a dark tile.
QIcon programIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::black);
    QPainter painter(&pixmap);
    painter.setPen(QColor(0xC0, 0xDC, 0xC0));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(26);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("V"));
    return QIcon(pixmap);
}

// The command runner serves every window without one at hand, so it keeps its message here.
QString &notEnoughMemory()
{
    static QString text = MessageTexts{}.notEnoughMemory;
    return text;
}

} // namespace

TVelmora::TVelmora(StartUp startUp, QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Velmora"));
    state_.ExeDir = std::move(startUp.exeDir);
    if (!state_.ExeDir.endsWith(QLatin1Char('/')))
        state_.ExeDir += QLatin1Char('/');
    state_.Folders = platform::programFolders(state_.ExeDir);
    platform::provideToolsFolder(state_.Folders);
    setWindowTitle(QStringLiteral("-----"));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);
    new ScreenFit(this);

    createActions();
    createMainMenu();
    createToolBar();
    createPages();
    createStatusBar();
    createDialogs();
    createBuildHost();
    createDebugMode();

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(panel1_);
    layout->addWidget(pages_, 1);
    setCentralWidget(central);

    startRecovery(startUp.recoveryDir);
    runCommand([this, &startUp] { FormCreate(startUp.arguments); });
}

TVelmora::~TVelmora()
{
    widget::TKeywordsEditorDlg::SetHelpHook(nullptr);
}

void TVelmora::FormCreate(const QStringList &arguments)
{
    ReadAllINI();
    restoreWindowPlacement();
    SetEditorFont(state_.settings.FontName, state_.settings.FontSize);
    state_.CaptionBase = state_.settings.velm_caption + QLatin1Char(' ') + state_.settings.velm_version;
    setWindowIcon(programIcon());
    QApplication::setWindowIcon(windowIcon());
    showInterfaceTexts();
    NewA();
    watchUndoState();
    apply();
    state_.TlinkParams.clear();
    state_.TasmParams = QStringLiteral("/z ");
    // The name is made absolute: the build commands change the current folder later.
    if (!arguments.isEmpty() && !arguments.first().isEmpty())
        runCommand([&] { OpenSourceFile(QFileInfo(arguments.first()).absoluteFilePath()); });
    ApplyLanguage();
    runCommand([this] { loadKeywordList(); });
    showEditor();
    // The tools folder gets its own drive letter in every later DOS run.
    if (state_.settings.VirtDriveEnable)
        platform::mapToolsDrive(state_.settings.VirtDrive, state_.toolsFolder());
}

QString TVelmora::settingsFilePath() const
{
    return ini_ ? ini_->path() : QString();
}

void TVelmora::runCommand(const std::function<void()> &command)
{
    QString failure;
    try {
        command();
        return;
    } catch (const std::bad_alloc &) {
        failure = notEnoughMemory();
    } catch (const std::exception &e) {
        failure = QString::fromUtf8(e.what());
    }
    try {
        platform::dialogs().message(platform::MessageKind::Error, failure);
    } catch (const std::exception &) {
        // Not even the message box could be made: the terminal is the last place to say it.
        std::fprintf(stderr, "velmora: %s\n", failure.toLocal8Bit().constData());
    }
}

void TVelmora::FNameShow()
{
    sb_->setPanelText(0, state_.CurrentFile);
    const QString name = state_.CurrentFile.isEmpty() ? texts.main.untitled : QFileInfo(state_.CurrentFile).fileName();
    const QString mode = debugging() ? texts.debugger.modeCaption : QString();
    setWindowTitle(name + mode + QStringLiteral(" - ") + state_.CaptionBase);
}

void TVelmora::showToolChain()
{
    sb_->setPanelText(TStatusBar::ToolChainPanel, state_.settings.build.toolChain == toolchain::Chain::BuiltIn
                                                      ? texts.main.builtInToolsPanel
                                                      : texts.main.dosToolsPanel);
}

void TVelmora::showCaretPosition()
{
    sb_->setPanelText(1, QString::number(editor->SelLine() + 1) + QStringLiteral(" : ") +
                             QString::number(editor->SelCol() + 1));
}

void TVelmora::showEditor()
{
    pages_->setCurrentIndex(0);
    editor->setFocus();
    showCaretPosition();
}

void TVelmora::NextPage()
{
    const int next = pages_->currentIndex() + 1;
    pages_->setCurrentIndex(next >= pages_->count() ? 0 : next);
}

void TVelmora::ExitA()
{
    close();
}

void TVelmora::closeEvent(QCloseEvent *event)
{
    // Asked to end by a signal or the session: the unsaved text stays in the recovery copy.
    const bool byRequest = endingByRequest_ || qApp->isSavingSession();
    if (!byRequest) {
        bool discard = false;
        runCommand([&] { discard = confirmDiscard(); });
        if (!discard) {
            event->ignore();
            return;
        }
    }
    // A settings file that cannot be written is reported; the window closes all the same.
    rememberWindowPlacement();
    runCommand([this] { WriteAllINI(); });
    fd_->close();
    if (!byRequest)
        recovery_->remove();
    event->accept();
}

void TVelmora::LastMouseMove()
{
    lastButton_->setToolTip(mainTexts.lastButtonHint(state_.LastFile));
}

bool TVelmora::eventFilter(QObject *watched, QEvent *event)
{
    const auto type = event->type();
    if (watched == lastButton_ && (type == QEvent::Enter || type == QEvent::MouseMove || type == QEvent::ToolTip))
        LastMouseMove();
    else if (watched == pages_->tabBar() && (type == QEvent::Resize || type == QEvent::Move))
        placeNextPageButton();
    else if (type == QEvent::MouseButtonDblClick && buildHost_ &&
             watched == buildHost_->memo(toolchain::OutputPage::Tasm)->viewport() &&
             MTasmDblClick(static_cast<QMouseEvent *>(event)->position().toPoint()))
        return true;
    return QMainWindow::eventFilter(watched, event);
}

void TVelmora::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    placeNextPageButton();
}

void TVelmora::ApplyLanguage()
{
    applyHelpFile();
    if (!velmora::app::ApplyLanguage(*this, state_.LanguageFile, mainTexts))
        return;
    ApplyInterfaceTexts(state_.LanguageFile, texts);
    od_->setFilter(mainTexts.openFilter);
    sd_->setFilter(mainTexts.saveFilter);
    findChild<QAction *>(QStringLiteral("SaveA"))->setText(mainTexts.saveActionCaption);
    showInterfaceTexts();
}

void TVelmora::showInterfaceTexts()
{
    notEnoughMemory() = texts.messages.notEnoughMemory;
    setNoPackWarning(texts.messages.noLanguagePack);
    platform::setDialogTexts(texts.dialogs);
    widget::setEditorTexts(texts.editor);
    useToolkitTranslation(texts.locale);
    findChild<QAction *>(QStringLiteral("UTF81"))->setText(texts.main.utf8Item);
    showConsoleTexts();
    od_->request().title = texts.main.openTitle;
    sd_->request().title = texts.main.saveTitle;
    fd_->setTexts(texts.find);
    if (help_)
        help_->setTexts(texts.help);
    FNameShow();
    showToolChain();
}

} // namespace velmora::app
