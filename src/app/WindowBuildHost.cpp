#include "app/WindowBuildHost.h"

#include "app/MainWindow.h"
#include "app/StatusBar.h"
#include "editor/core/text/CodePages.h"
#include "editor/widget/ColorSwatch.h"
#include "editor/widget/SourceGutter.h"
#include "platform/Dialogs.h"
#include "platform/ProcessRunner.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QToolButton>

#include <string_view>

namespace velmora::app
{

using toolchain::OutputPage;

namespace
{

template <class T> T *component(const TVelmora &window, const char *name)
{
    auto *found = window.findChild<T *>(QString::fromLatin1(name));
    Q_ASSERT(found);
    return found;
}

platform::DosWindow dosWindow(toolchain::DosWindow window)
{
    return window == toolchain::DosWindow::Shown ? platform::DosWindow::Shown : platform::DosWindow::Hidden;
}

void setCaptionColour(QToolButton &button, toolchain::SummaryColour colour)
{
    QPalette palette = button.palette();
    palette.setColor(QPalette::ButtonText, widget::colorFromValue(toolchain::colourValue(colour)));
    button.setPalette(palette);
}

} // namespace

TWindowBuildHost::TWindowBuildHost(TVelmora &window)
    : window_(window), pages_(component<QTabWidget>(window, "Pages")), statusBar_(component<TStatusBar>(window, "sb")),
      tasmButton_(component<QToolButton>(window, "Tasm")),
      tlinkButton_(component<QToolButton>(window, "Tlink")), memos_{component<QPlainTextEdit>(window, "MTasm"),
                                                                    component<QPlainTextEdit>(window, "MTLink"),
                                                                    component<QPlainTextEdit>(window, "MRun")},
      commandPanels_{component<QLabel>(window, "TasmCMDStr"), component<QLabel>(window, "TlinkCMDStr"),
                     component<QLabel>(window, "RunCMDStr")}
{
}

QPlainTextEdit *TWindowBuildHost::memo(OutputPage page) const
{
    return memos_.at(index(page));
}

void TWindowBuildHost::saveSource()
{
    window_.SaveA();
}

void TWindowBuildHost::clearPage(OutputPage page)
{
    memo(page)->clear();
}

// The DOS tools write OEM (866) text with CR LF or bare CR or LF line ends.
QString TWindowBuildHost::outputText(const QByteArray &bytes) const
{
    QString text = QString::fromStdU16String(core::decode(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), core::CodePage::Dos866));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

void TWindowBuildHost::setPageText(OutputPage page, const QString &text)
{
    memo(page)->setPlainText(text);
}

void TWindowBuildHost::appendPageLine(OutputPage page, const QString &line)
{
    memo(page)->appendPlainText(line);
}

QStringList TWindowBuildHost::pageLines(OutputPage page) const
{
    const QString text = memo(page)->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

void TWindowBuildHost::setCommandText(OutputPage page, const QString &commandLine)
{
    commandPanels_.at(index(page))->setText(commandLine);
}

void TWindowBuildHost::activatePage(OutputPage page)
{
    pages_->setCurrentIndex(static_cast<int>(page));
}

platform::RunResult TWindowBuildHost::runTool(const QString &commandLine, toolchain::DosWindow window)
{
    return platform::RunTool(commandLine, {dosWindow(window)});
}

platform::RunResult TWindowBuildHost::winExec(const QString &commandLine, toolchain::DosWindow window)
{
    return platform::WinExec(commandLine, window == toolchain::DosWindow::Shown ? 1 : 0);
}

void TWindowBuildHost::runOnBuiltInPc()
{
    window_.RunBuiltInPcClick();
}

void TWindowBuildHost::debugOnBuiltInPc()
{
    window_.startBuiltInDebugger();
}

std::optional<QString> TWindowBuildHost::inputBox(const QString &caption, const QString &prompt, const QString &value)
{
    return platform::dialogs().input(caption, prompt, value);
}

void TWindowBuildHost::informationBox(const QString &text)
{
    platform::dialogs().message(platform::MessageKind::Information, text);
}

void TWindowBuildHost::setSummaryText(const QString &text)
{
    statusBar_->setPanelText(2, text);
}

void TWindowBuildHost::setTasmColour(toolchain::SummaryColour colour)
{
    setCaptionColour(*tasmButton_, colour);
}

void TWindowBuildHost::setTlinkColour(toolchain::SummaryColour colour)
{
    setCaptionColour(*tlinkButton_, colour);
}

void TWindowBuildHost::clearBookmarks()
{
    window_.Gutter->ClearBookmarks();
}

void TWindowBuildHost::placeBookmark(int line, int number)
{
    // A line keeps a bookmark it already holds.
    if (window_.Gutter->BookmarkAt(line) == -1)
        window_.Gutter->ToggleBookmark(line, number);
}

} // namespace velmora::app
