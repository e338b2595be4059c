#include "BuildCommandsFixture.h"
#include "toolchain/ToolchainError.h"

#include <algorithm>

using namespace velmora::toolchain;
using velmora::platform::RunResult;
using velmora::platform::RunStatus;

using BuildCommandsTest = velmora::testing::BuildCommandsFixture;
using velmora::testing::canonical;
using velmora::testing::cleanOutput;
using velmora::testing::read;
using velmora::testing::write;
using velmora::testing::writeHere;

TEST_F(BuildCommandsTest, AssembleCopiesASourceKeptElsewhereInAndItsObjectBack)
{
    source(src("Prog.ASM"));
    host.tool = [](const QString &) {
        writeHere("tasm.out", cleanOutput);
        writeHere("PROG.OBJ", "object code");
        return RunResult{};
    };
    commands.assemble();

    EXPECT_EQ(read(tools("prog.asm")), read(src("Prog.ASM")));
    EXPECT_FALSE(QFile::exists(tools("Prog.ASM")));
    ASSERT_EQ(host.starts.size(), 1u);
    EXPECT_EQ(host.starts[0].commandLine, "tasm.exe /z  Prog.ASM >tasm.out");
    EXPECT_TRUE(host.starts[0].waited);
    EXPECT_EQ(host.starts[0].window, DosWindow::Hidden);
    EXPECT_EQ(canonical(host.starts[0].folder), canonical(state.ToolsDir));
    EXPECT_EQ(read(src("Prog.obj")), "object code");

    EXPECT_EQ(host.log, (std::vector<QString>{"clear 1", "save", "run", "show 1", "clear bookmarks", "summary",
                                              "colour", "page 1", "command 1"}));
    EXPECT_EQ(host.pages[OutputPage::Tasm].value(1), "Error messages:    None");
    EXPECT_EQ(host.summaryText, "Warnings: 0 Errors: 0   -/ OK /-");
    EXPECT_EQ(host.colour, SummaryColour::Green);
    EXPECT_EQ(host.commandTexts[OutputPage::Tasm], "tasm.exe /z  Prog.ASM >tasm.out");
}

TEST_F(BuildCommandsTest, SourceInTheToolsFolderCopiesNothingEitherWay)
{
    // Named through a detour, so only the resolved folders compare equal.
    source(state.ToolsDir + "/../TTDIR/Prog.ASM");
    host.tool = [](const QString &line) {
        if (line.startsWith("tasm.exe")) {
            writeHere("tasm.out", cleanOutput);
            writeHere("PROG.OBJ", "object");
        } else {
            writeHere("PROG.MAP", "map");
            writeHere("PROG.EXE", "exe");
        }
        return RunResult{};
    };
    commands.assemble();
    commands.link();

    EXPECT_EQ(toolsFiles(), (QStringList{"PROG.EXE", "PROG.MAP", "PROG.OBJ", "Prog.ASM", "tasm.out"}));
    EXPECT_EQ(QDir(root.filePath("src")).entryList(QDir::Files), QStringList());
}

TEST_F(BuildCommandsTest, UncapturedAssembleStartsTheFullPathAndComputesNoSummary)
{
    source(src("prog.asm"));
    settings.outdest = 1;
    host.summaryText = "Warnings: 1 Errors: 0";
    commands.assemble();

    ASSERT_EQ(host.starts.size(), 1u);
    EXPECT_FALSE(host.starts[0].waited);
    EXPECT_EQ(host.starts[0].commandLine, "tasm.exe /z  " + src("prog.asm"));
    EXPECT_EQ(host.starts[0].window, DosWindow::Shown);
    EXPECT_TRUE(host.pages[OutputPage::Tasm].isEmpty());
    EXPECT_EQ(host.summaryText, "Warnings: 1 Errors: 0");
    EXPECT_EQ(host.log, (std::vector<QString>{"clear 1", "save", "exec", "page 1", "command 1"}));
    EXPECT_EQ(host.commandTexts[OutputPage::Tasm], "tasm.exe /z  prog.asm >tasm.out");
}

TEST_F(BuildCommandsTest, UntitledTextRunsNoAssemblerButStillLinks)
{
    host.savedFile.clear(); // the save dialog was cancelled
    commands.assemble();
    EXPECT_TRUE(host.starts.empty());
    EXPECT_EQ(host.log, (std::vector<QString>{"clear 1", "save", "page 1", "command 1"}));
    EXPECT_EQ(host.commandTexts[OutputPage::Tasm], "tasm.exe /z   >tasm.out");

    commands.link();
    ASSERT_EQ(host.starts.size(), 1u);
    EXPECT_EQ(host.starts[0].commandLine, tools("tLink.exe   >tlink.out"));
    EXPECT_EQ(toolsFiles(), QStringList());
}

TEST_F(BuildCommandsTest, AssemblerThatCannotStartShowsNoOldOutputAndNoOldBookmarks)
{
    source(src("prog.asm"));
    write(tools("tasm.out"), "**Error** prog.asm(2) stale\nError messages: 1\n");
    host.bookmarks[4] = 1;
    host.tool = [](const QString &) { return RunResult{RunStatus::NotFound, 2}; };
    EXPECT_THROW(commands.assemble(), ToolchainError);

    EXPECT_EQ(host.pages[OutputPage::Tasm].size(), 1) << "only the line that says why";
    EXPECT_EQ(std::count(host.log.begin(), host.log.end(), "show 1"), 0);
    EXPECT_EQ(host.summaryText, "Warnings: 0 Errors: 1");
    EXPECT_TRUE(host.bookmarks.empty());
}

TEST_F(BuildCommandsTest, MalformedSummaryIsReportedAfterTheCommandsLastSteps)
{
    source(src("prog.asm"));
    host.tool = [](const QString &) {
        writeHere("tasm.out", "Turbo Assembler\nError messages: lots\n");
        writeHere("PROG.OBJ", "object");
        return RunResult{};
    };
    try {
        commands.assemble();
        FAIL() << "no conversion error";
    } catch (const ToolchainError &e) {
        EXPECT_EQ(e.message(), "' lots' is not a valid integer value");
    }
    EXPECT_FALSE(host.summaryText);
    EXPECT_EQ(host.log.back(), "command 1");
    EXPECT_EQ(read(src("prog.obj")), "object");
}

TEST_F(BuildCommandsTest, MissingToolsFolderEndsACommandBeforeAnyRun)
{
    source(src("prog.asm"));
    state.ToolsDir = root.filePath("missing");
    EXPECT_THROW(commands.assemble(), ToolchainError);
    EXPECT_EQ(host.log, (std::vector<QString>{"clear 1", "save"}));
    EXPECT_THROW(commands.run(), ToolchainError);
    EXPECT_THROW(commands.showTasmHelp(), ToolchainError);
    EXPECT_THROW(commands.debug(), ToolchainError);
    EXPECT_TRUE(host.starts.empty());
    EXPECT_EQ(canonical(QDir::currentPath()), canonical(previousFolder));
}

TEST_F(BuildCommandsTest, LinkShowsItsOutputAndCopiesMapAndExecutableBack)
{
    source(src("prog.asm"));
    host.tool = [](const QString &) {
        writeHere("TLINK.OUT", "Turbo Link");
        writeHere("PROG.MAP", "map");
        writeHere("PROG.EXE", "exe");
        return RunResult{};
    };
    commands.link();

    ASSERT_EQ(host.starts.size(), 1u);
    EXPECT_EQ(host.starts[0].commandLine, tools("tLink.exe  prog >tlink.out"));
    EXPECT_EQ(host.starts[0].window, DosWindow::Hidden);
    EXPECT_EQ(host.log,
              (std::vector<QString>{"clear 2", "save", "run", "show 2", "tlink colour", "page 2", "command 2"}));
    EXPECT_EQ(host.pages[OutputPage::TLink], QStringList{"Turbo Link"});
    EXPECT_EQ(read(src("prog.map")), "map");
    EXPECT_EQ(read(src("prog.exe")), "exe");
}

TEST_F(BuildCommandsTest, LinkCopiesBackEveryProductItMade)
{
    source(src("prog.asm"));
    host.tool = [](const QString &) {
        writeHere("prog.exe", "exe");
        return RunResult{};
    };
    commands.link();
    EXPECT_EQ(read(src("prog.exe")), "exe") << "a program linked without a map comes back too";
    EXPECT_FALSE(QFile::exists(src("prog.map")));

    state.TlinkParams = "/t";
    host.tool = [](const QString &) {
        writeHere("PROG.COM", "com");
        writeHere("PROG.MAP", "map");
        return RunResult{};
    };
    commands.link();
    EXPECT_EQ(read(src("prog.com")), "com");
    EXPECT_EQ(read(src("prog.map")), "map");
    EXPECT_EQ(host.tlinkColour, SummaryColour::Green);
}

TEST_F(BuildCommandsTest, UncapturedLinkNeitherLoadsNorSwitchesPage)
{
    source(src("prog.asm"));
    settings.outTlink = false;
    commands.link();
    ASSERT_EQ(host.starts.size(), 1u);
    EXPECT_EQ(host.starts[0].commandLine, "tLink.exe  prog");
    EXPECT_EQ(host.log, (std::vector<QString>{"clear 2", "save", "exec", "command 2"}));
}

TEST_F(BuildCommandsTest, ParameterBoxesKeepTheOldParametersOnCancel)
{
    source(src("prog.asm"));
    state.TlinkParams = "/v";
    host.inputs = {std::nullopt, QString("/t")};
    commands.linkWithParameters();
    EXPECT_EQ(state.TlinkParams, "/v");
    ASSERT_EQ(host.starts.size(), 1u);
    EXPECT_EQ(host.starts[0].commandLine, tools("tLink.exe /v prog >tlink.out"));
    EXPECT_EQ(std::count(host.log.begin(), host.log.end(), "save"), 2);

    commands.linkWithParameters();
    EXPECT_EQ(state.TlinkParams, "/t");
    EXPECT_EQ(host.starts.back().commandLine, tools("tLink.exe /t prog >tlink.out"));

    host.inputs = {QString("/zi /m2")};
    commands.assembleWithParameters();
    EXPECT_EQ(state.TasmParams, "/zi /m2");
    EXPECT_EQ(host.starts.back().commandLine, "tasm.exe /zi /m2 prog.asm >tasm.out");
    EXPECT_EQ(host.inputPrompts, (std::vector<QString>{"TLink Parameters (/t - for .com file)|Input parameters",
                                                       "TLink Parameters (/t - for .com file)|Input parameters",
                                                       "TAsm Parameters|Input parameters"}));
}

TEST_F(BuildCommandsTest, BoxesGoToTheHostAndParametersEnteredStayWhenTheCommandFails)
{
    source(src("prog.asm"));
    commands.debug();
    EXPECT_EQ(host.messages, std::vector<QString>{tools("TD.exe prog")});

    state.ToolsDir = root.filePath("missing");
    host.inputs = {QString("/zi"), QString("/t")};
    EXPECT_THROW(commands.assembleWithParameters(), ToolchainError);
    EXPECT_THROW(commands.linkWithParameters(), ToolchainError);
    EXPECT_EQ(state.TasmParams, "/zi");
    EXPECT_EQ(state.TlinkParams, "/t");
    EXPECT_EQ(host.inputPrompts.size(), 2u);
    EXPECT_TRUE(dialogs.messages.empty() && dialogs.inputPrompts.empty()) << "no box shown past the host";
}

TEST_F(BuildCommandsTest, RunStartsTheComOrExeFileWithoutSaving)
{
    state.CurrentFile = src("prog.asm");
    write(tools("PROG.COM"), "com");
    write(tools("prog.exe"), "exe");
    state.TlinkParams = "/t";
    host.tool = [](const QString &) {
        writeHere("RUN.OUT", "Hello");
        return RunResult{};
    };
    commands.run();
    ASSERT_EQ(host.starts.size(), 1u);
    EXPECT_EQ(host.starts[0].commandLine, tools("prog.com >run.out"));
    EXPECT_EQ(host.starts[0].window, DosWindow::Shown);
    EXPECT_EQ(host.log, (std::vector<QString>{"clear 3", "run", "show 3", "page 3", "command 3"}));
    EXPECT_EQ(host.pages[OutputPage::Run], QStringList{"Hello"});

    state.TlinkParams = "/T";
    commands.run();
    EXPECT_EQ(host.starts.back().commandLine, tools("prog.exe >run.out"));

    settings.outRun = false;
    settings.Auto_Change_Page = false;
    host.log.clear();
    commands.run();
    EXPECT_EQ(host.starts.back().commandLine, "prog.exe");
    EXPECT_FALSE(host.starts.back().waited);
    EXPECT_EQ(host.log, (std::vector<QString>{"clear 3", "exec", "command 3"}));
    EXPECT_EQ(host.commandTexts[OutputPage::Run], tools("prog.exe >run.out"));
}

TEST_F(BuildCommandsTest, ThreeCharacterExtensionShortensTheBaseName)
{
    source(src("prog.s"));
    host.tool = [](const QString &line) {
        if (line.startsWith("tasm.exe"))
            writeHere("PR.OBJ", "object");
        else if (line.contains("tLink.exe"))
            writeHere("PR.EXE", "exe");
        return RunResult{};
    };
    commands.assemble();
    commands.link();
    commands.run();
    ASSERT_EQ(host.starts.size(), 3u);
    EXPECT_EQ(host.starts[0].commandLine, "tasm.exe /z  prog.s >tasm.out");
    EXPECT_EQ(host.starts[1].commandLine, tools("tLink.exe  pr >tlink.out"));
    EXPECT_EQ(host.starts[2].commandLine, tools("pr.exe >run.out"));
    EXPECT_EQ(read(src("pr.obj")), "object");
}

TEST_F(BuildCommandsTest, DebugStartsTheDebuggerInTheToolsFolderAndShowsItsLine)
{
    state.CurrentFile = src("prog.asm");
    commands.debug();
    ASSERT_EQ(host.starts.size(), 1u);
    EXPECT_EQ(host.starts[0].commandLine, tools("TD.exe prog"));
    EXPECT_FALSE(host.starts[0].waited);
    EXPECT_EQ(host.starts[0].window, DosWindow::Shown);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], tools("TD.exe prog"));
    EXPECT_EQ(canonical(host.starts[0].folder), canonical(state.ToolsDir));
    EXPECT_EQ(std::count(host.log.begin(), host.log.end(), "save"), 0);
}

TEST_F(BuildCommandsTest, ChainRunsAllThreeWhateverTheAssemblerReports)
{
    source(src("prog.asm"));
    host.tool = [](const QString &line) {
        if (line.startsWith("tasm.exe"))
            writeHere("tasm.out", "Turbo Assembler\n**Error** prog.asm(2) Illegal instruction\nError messages: 1\n");
        else if (line.contains("tLink.exe"))
            writeHere("PROG.EXE", "the linker writes a program whatever it reports");
        return RunResult{};
    };
    commands.assembleLinkRun();
    ASSERT_EQ(host.starts.size(), 3u);
    EXPECT_EQ(host.starts[1].commandLine, tools("tLink.exe  prog >tlink.out"));
    EXPECT_EQ(host.starts[2].commandLine, tools("prog.exe >run.out"));
    EXPECT_EQ(host.colour, SummaryColour::Red);
    EXPECT_EQ(host.bookmarks, (std::map<int, int>{{1, 1}}));
    EXPECT_EQ(host.activePage, OutputPage::Run);
}

TEST_F(BuildCommandsTest, ChainGoesOnAfterAFailureAndReportsIt)
{
    source(src("prog.asm"));
    host.tool = [](const QString &line) {
        if (line.startsWith("tasm.exe"))
            writeHere("tasm.out", "Error messages: 1 2\n");
        else if (line.contains("tLink.exe"))
            writeHere("PROG.EXE", "exe");
        return RunResult{};
    };
    try {
        commands.assembleLinkRun();
        FAIL() << "no conversion error";
    } catch (const ToolchainError &e) {
        EXPECT_EQ(e.message(), "' 1 2' is not a valid integer value");
    }
    EXPECT_EQ(host.starts.size(), 3u);

    host.log.clear();
    state.ToolsDir = root.filePath("missing");
    EXPECT_THROW(commands.assembleLinkRun(), ToolchainError);
    EXPECT_EQ(host.log, (std::vector<QString>{"clear 1", "save", "clear 2", "save", "clear 3"}));
}

TEST_F(BuildCommandsTest, ListingRunsOnTheToolsFolderCopyAndAnnouncesOnlyAWrittenListing)
{
    state.CurrentFile = src("prog.asm");
    settings.Auto_Change_Page = false;
    host.tool = [](const QString &) {
        writeHere("PROG.LST", "listing");
        return RunResult{};
    };
    commands.listing(ListingKind::Expanded, QString());
    ASSERT_EQ(host.starts.size(), 1u);
    EXPECT_EQ(host.starts[0].commandLine, tools("tasm.exe prog.asm /la"));
    EXPECT_TRUE(host.starts[0].waited);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], " - " + src("prog.lst")) << "the copy beside the source";
    EXPECT_EQ(read(src("prog.lst")), "listing");
    EXPECT_EQ(host.log, (std::vector<QString>{"clear 1", "run", "page 1", "show 1", "command 1"}));
    EXPECT_EQ(host.pages[OutputPage::Tasm], QStringList{"listing"});

    // A run that failed is not announced as a listing, even with an old one lying there,
    // and the page no longer shows the old one.
    host.tool = [](const QString &) { return RunResult{RunStatus::NotFound, 2}; };
    host.log.clear();
    EXPECT_THROW(commands.listing(ListingKind::Tiny, "Listing generated"), ToolchainError);
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.log, (std::vector<QString>{"clear 1", "run", "line 1", "page 1", "command 1"}));
    EXPECT_EQ(host.commandTexts[OutputPage::Tasm], tools("tasm.exe prog.asm /l"));

    state.CurrentFile = src("other.asm");
    host.tool = [](const QString &) { return RunResult{}; };
    commands.listing(ListingKind::Tiny, "Listing generated");
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.pages[OutputPage::Tasm], QStringList{"other.lst was not produced."});

    host.tool = [](const QString &) {
        writeHere("other.lst", "listing");
        return RunResult{};
    };
    commands.listing(ListingKind::Tiny, "Listing generated");
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages.back(), "Listing generated - " + src("other.lst"));
}

TEST_F(BuildCommandsTest, ToolHelpRunsCapturedWhateverTheSettings)
{
    settings.outdest = 1;
    settings.Auto_Change_Page = false;
    host.tool = [](const QString &line) {
        writeHere(line.contains("tasm") ? "TASM.OUT" : "TLINK.OUT", "Syntax: ...");
        return RunResult{};
    };
    commands.showTasmHelp();
    commands.showTlinkHelp();
    ASSERT_EQ(host.starts.size(), 2u);
    EXPECT_EQ(host.starts[0].commandLine, tools("tasm.exe  >tasm.out"));
    EXPECT_EQ(host.starts[1].commandLine, tools("tlink.exe  >tlink.out"));
    EXPECT_TRUE(host.starts[0].waited && host.starts[1].waited);
    EXPECT_EQ(host.log, (std::vector<QString>{"run", "show 1", "page 1", "run", "show 2", "page 2"}));
    EXPECT_TRUE(host.commandTexts.empty());
}
