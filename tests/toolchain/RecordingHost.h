// A stand-in for the main window: keeps the pages, panels, bookmarks and boxes the build
// commands set, logs every call but the boxes in order, and lets a test play the tools' part
// and answer the input boxes.
#pragma once

#include "toolchain/BuildHost.h"
#include "toolchain/BuildState.h"

#include <QDir>

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace velmora::testing
{

class RecordingHost final : public toolchain::IBuildHost
{
public:
    // The state whose `CurrentFile` a save names, as the window's `SaveA` does.
    explicit RecordingHost(toolchain::BuildState &state) : state_(state) {}

    struct Start {
        QString commandLine;
        toolchain::DosWindow window;
        bool waited; // runTool, not winExec
        QString folder;
    };

    // What `SaveA` leaves in `CurrentFile`.
    QString savedFile;
    // What the next input boxes return; nullopt stands for Cancel. Empty queue: Cancel.
    std::deque<std::optional<QString>> inputs;
    // Plays the tool started by runTool in the current folder; its result is runTool's.
    std::function<platform::RunResult(const QString &commandLine)> tool = [](const QString &) {
        return platform::RunResult{};
    };
    // What outputText makes of a tool's bytes: Latin-1, line ends as they are.
    std::function<QString(const QByteArray &)> decode = [](const QByteArray &bytes) {
        return QString::fromLatin1(bytes);
    };
    // What winExec answers.
    platform::RunResult started;

    std::vector<QString> log;
    std::vector<Start> starts;
    std::map<toolchain::OutputPage, QStringList> pages;
    std::map<toolchain::OutputPage, QString> commandTexts;
    std::optional<QString> summaryText;
    std::optional<toolchain::SummaryColour> colour;
    std::optional<toolchain::SummaryColour> tlinkColour;
    std::map<int, int> bookmarks; // line -> number
    std::optional<toolchain::OutputPage> activePage;
    std::vector<QString> inputPrompts; // caption|prompt of each input box
    std::vector<QString> messages;     // the text of each information box

    void saveSource() override
    {
        log.push_back(QStringLiteral("save"));
        state_.CurrentFile = savedFile;
    }
    void clearPage(toolchain::OutputPage page) override
    {
        log.push_back(QStringLiteral("clear %1").arg(int(page)));
        pages[page].clear();
    }
    QString outputText(const QByteArray &bytes) const override { return decode(bytes); }
    void setPageText(toolchain::OutputPage page, const QString &text) override
    {
        log.push_back(QStringLiteral("show %1").arg(int(page)));
        pages[page] = text.split(QLatin1Char('\n'));
    }
    void appendPageLine(toolchain::OutputPage page, const QString &line) override
    {
        log.push_back(QStringLiteral("line %1").arg(int(page)));
        pages[page].append(line);
    }
    QStringList pageLines(toolchain::OutputPage page) const override
    {
        const auto found = pages.find(page);
        return found == pages.end() ? QStringList() : found->second;
    }
    void setCommandText(toolchain::OutputPage page, const QString &commandLine) override
    {
        log.push_back(QStringLiteral("command %1").arg(int(page)));
        commandTexts[page] = commandLine;
    }
    void activatePage(toolchain::OutputPage page) override
    {
        log.push_back(QStringLiteral("page %1").arg(int(page)));
        activePage = page;
    }
    platform::RunResult runTool(const QString &commandLine, toolchain::DosWindow window) override
    {
        log.push_back(QStringLiteral("run"));
        starts.push_back({commandLine, window, true, QDir::currentPath()});
        return tool(commandLine);
    }
    platform::RunResult winExec(const QString &commandLine, toolchain::DosWindow window) override
    {
        log.push_back(QStringLiteral("exec"));
        starts.push_back({commandLine, window, false, QDir::currentPath()});
        return started;
    }
    void runOnBuiltInPc() override { log.push_back(QStringLiteral("built-in PC")); }
    void debugOnBuiltInPc() override { log.push_back(QStringLiteral("built-in debugger")); }
    void setTlinkColour(toolchain::SummaryColour c) override
    {
        log.push_back(QStringLiteral("tlink colour"));
        tlinkColour = c;
    }
    void setSummaryText(const QString &text) override
    {
        log.push_back(QStringLiteral("summary"));
        summaryText = text;
    }
    void setTasmColour(toolchain::SummaryColour c) override
    {
        log.push_back(QStringLiteral("colour"));
        colour = c;
    }
    void clearBookmarks() override
    {
        log.push_back(QStringLiteral("clear bookmarks"));
        bookmarks.clear();
    }
    void placeBookmark(int line, int number) override
    {
        log.push_back(QStringLiteral("bookmark %1 %2").arg(line).arg(number));
        bookmarks[line] = number;
    }
    std::optional<QString> inputBox(const QString &caption, const QString &prompt, const QString &) override
    {
        inputPrompts.push_back(caption + QLatin1Char('|') + prompt);
        if (inputs.empty())
            return std::nullopt;
        const std::optional<QString> answer = inputs.front();
        inputs.pop_front();
        return answer;
    }
    void informationBox(const QString &text) override { messages.push_back(text); }

private:
    toolchain::BuildState &state_;
};

} // namespace velmora::testing
