// The main window as the host of the build commands: its output memos and command panels,
// the page control, status panel 2, the `Tasm` button's caption colour, the gutter's
// bookmarks, `SaveA`, the process runner and the program's dialogs.
#pragma once

#include "toolchain/BuildHost.h"

#include <array>

class QLabel;
class QPlainTextEdit;
class QTabWidget;
class QToolButton;

namespace velmora::app
{

class TStatusBar;
class TVelmora;

class TWindowBuildHost final : public toolchain::IBuildHost
{
public:
    // Finds the components by name; the window's component tree must be built.
    explicit TWindowBuildHost(TVelmora &window);

    QPlainTextEdit *memo(toolchain::OutputPage page) const;

    void saveSource() override;
    void clearPage(toolchain::OutputPage page) override;
    QString outputText(const QByteArray &bytes) const override;
    void setPageText(toolchain::OutputPage page, const QString &text) override;
    void appendPageLine(toolchain::OutputPage page, const QString &line) override;
    QStringList pageLines(toolchain::OutputPage page) const override;
    void setCommandText(toolchain::OutputPage page, const QString &commandLine) override;
    void activatePage(toolchain::OutputPage page) override;
    platform::RunResult runTool(const QString &commandLine, toolchain::DosWindow window) override;
    platform::RunResult winExec(const QString &commandLine, toolchain::DosWindow window) override;
    void runOnBuiltInPc() override;
    void debugOnBuiltInPc() override;
    void setTlinkColour(toolchain::SummaryColour colour) override;
    std::optional<QString> inputBox(const QString &caption, const QString &prompt, const QString &value) override;
    void informationBox(const QString &text) override;

    void setSummaryText(const QString &text) override;
    void setTasmColour(toolchain::SummaryColour colour) override;
    void clearBookmarks() override;
    void placeBookmark(int line, int number) override;

private:
    static int index(toolchain::OutputPage page) { return static_cast<int>(page) - 1; }

    TVelmora &window_;
    QTabWidget *pages_;
    TStatusBar *statusBar_;
    QToolButton *tasmButton_;
    QToolButton *tlinkButton_;
    std::array<QPlainTextEdit *, 3> memos_;
    std::array<QLabel *, 3> commandPanels_;
};

} // namespace velmora::app
