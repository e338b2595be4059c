// The build commands with the built-in tool chain: a tools folder without any DOS tool,
// the assembler and the linker run in-process, and everything after the run (pages,
// summary, bookmarks, product checks, copies back) as with the DOS tools.
#include "BuildCommandsFixture.h"
#include "assembler/AssemblerCommand.h"
#include "toolchain/BuiltInTools.h"
#include "toolchain/ToolchainError.h"
#include "toolchain/ToolsFolder.h"

#include <algorithm>

using namespace velmora::toolchain;
using velmora::platform::RunStatus;
using velmora::testing::read;
using velmora::testing::write;

namespace
{

const QByteArray exeProgram = "; prints a greeting\r\n"
                              ".model small\r\n"
                              ".stack 100h\r\n"
                              ".data\r\n"
                              "msg db 'Hello$'\r\n"
                              ".code\r\n"
                              "start:\r\n"
                              "    mov ax, @data\r\n"
                              "    mov ds, ax\r\n"
                              "    mov ah, 9\r\n"
                              "    mov dx, offset msg\r\n"
                              "    int 21h\r\n"
                              "    mov ax, 4C00h\r\n"
                              "    int 21h\r\n"
                              "end start\r\n";

const QByteArray comProgram = ".model tiny\r\n"
                              ".code\r\n"
                              "org 100h\r\n"
                              "start:\r\n"
                              "    mov ah, 9\r\n"
                              "    mov dx, offset msg\r\n"
                              "    int 21h\r\n"
                              "    ret\r\n"
                              "msg db 'Hi$'\r\n"
                              "end start\r\n";

// Line 4 uses a symbol that is nowhere defined.
const QByteArray wrongProgram = ".model small\r\n"
                                ".code\r\n"
                                "start:\r\n"
                                "    mov ax, nowhere\r\n"
                                "    mov ax, 4C00h\r\n"
                                "    int 21h\r\n"
                                "end start\r\n";

class BuiltInChainTest : public velmora::testing::BuildCommandsFixture
{
protected:
    void SetUp() override
    {
        BuildCommandsFixture::SetUp();
        settings.toolChain = Chain::BuiltIn;
        // The built-in tools print CR LF line ends, which the window reads as one.
        host.decode = [](const QByteArray &bytes) {
            return QString::fromLatin1(bytes).replace(QLatin1String("\r\n"), QLatin1String("\n"));
        };
    }

    void program(const QString &name, const QByteArray &text)
    {
        source(src(name));
        write(src(name), text);
    }

    QString pageText(OutputPage page) { return host.pages[page].join('\n'); }
};

TEST_F(BuiltInChainTest, CtrlF9BuildsTheProgramWithoutStartingATool)
{
    program("prog.asm", exeProgram);
    commands.assembleLinkRun();

    // No process at all: neither tool was started, and the program runs on the built-in PC.
    EXPECT_TRUE(host.starts.empty());
    EXPECT_EQ(host.log.back(), "built-in PC");

    EXPECT_TRUE(pageText(OutputPage::Tasm).contains(velmora::assembler::assemblerBanner));
    EXPECT_TRUE(host.pages[OutputPage::Tasm].contains("Error messages:    None"));
    EXPECT_TRUE(pageText(OutputPage::TLink).startsWith("Velmora Linker")) << pageText(OutputPage::TLink).toStdString();
    EXPECT_EQ(host.summaryText, "Warnings: 0 Errors: 0   -/ OK /-");
    EXPECT_EQ(host.colour, SummaryColour::Green);
    EXPECT_EQ(host.tlinkColour, SummaryColour::Green);
    EXPECT_TRUE(host.bookmarks.empty());

    // The products beside the source, an MZ program among them.
    for (const char *name : {"prog.obj", "prog.exe", "prog.map"})
        EXPECT_TRUE(QFile::exists(src(name))) << name;
    EXPECT_TRUE(read(src("prog.exe")).startsWith("MZ"));
    EXPECT_FALSE(QFile::exists(src("prog.com")));
}

TEST_F(BuiltInChainTest, LinkParametersReachTheLinkerAndSlashTMakesACom)
{
    program("small.asm", comProgram);
    host.inputs.push_back(QStringLiteral("/t"));
    commands.assemble();
    commands.linkWithParameters();

    EXPECT_EQ(state.TlinkParams, "/t");
    EXPECT_TRUE(host.starts.empty());
    EXPECT_EQ(host.tlinkColour, SummaryColour::Green) << pageText(OutputPage::TLink).toStdString();
    // mov ah,9 is the first byte loaded at 100h.
    EXPECT_TRUE(read(src("small.com")).startsWith("\xB4\x09"));
    EXPECT_FALSE(QFile::exists(src("small.exe")));
}

TEST_F(BuiltInChainTest, AnErrorGivesItsSummaryItsBookmarkAndNoProduct)
{
    program("prog.asm", exeProgram);
    commands.assemble();
    ASSERT_TRUE(QFile::exists(tools("prog.obj")));

    write(src("prog.asm"), wrongProgram);
    EXPECT_NO_THROW(commands.assembleWithParameters()) << "the page and the summary say it, no box";

    EXPECT_EQ(state.TasmParams, "/z ");
    const QString page = pageText(OutputPage::Tasm);
    EXPECT_TRUE(page.contains("**Error** prog.asm(4) ")) << page.toStdString();
    EXPECT_TRUE(page.contains("mov ax, nowhere")) << "/z shows the source line";
    EXPECT_EQ(host.colour, SummaryColour::Red);
    EXPECT_EQ(host.summaryText, "Warnings: 0 Errors: 1");
    EXPECT_EQ(host.bookmarks, (std::map<int, int>{{3, 1}}));
    EXPECT_TRUE(velmora::toolchain::existingFile(state.ToolsDir, "prog.obj").isEmpty())
        << "the object of the earlier assembly is gone";
}

TEST_F(BuiltInChainTest, ListingAndToolHelpComeFromTheBuiltInTools)
{
    program("prog.asm", exeProgram);
    commands.assemble();
    commands.listing(ListingKind::Tiny, "Listing generated");

    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "Listing generated - " + src("prog.lst"));
    EXPECT_TRUE(pageText(OutputPage::Tasm).contains("mov ax, 4C00h"));

    commands.showTasmHelp();
    EXPECT_TRUE(pageText(OutputPage::Tasm).startsWith(velmora::assembler::assemblerBanner));
    EXPECT_TRUE(pageText(OutputPage::Tasm).contains("Syntax:"));
    commands.showTlinkHelp();
    EXPECT_TRUE(pageText(OutputPage::TLink).startsWith("Velmora Linker"));
    EXPECT_TRUE(pageText(OutputPage::TLink).contains("Syntax:"));
    EXPECT_TRUE(host.starts.empty());
}

TEST_F(BuiltInChainTest, OutputIsCapturedEvenWhenTheSettingsSendToolsToWindows)
{
    program("prog.asm", exeProgram);
    settings.outdest = 1;
    settings.outTasm = false;
    commands.assemble();

    EXPECT_TRUE(host.starts.empty());
    EXPECT_TRUE(host.pages[OutputPage::Tasm].contains("Error messages:    None"));
    EXPECT_TRUE(QFile::exists(src("prog.obj")));
}

TEST_F(BuiltInChainTest, TheDebuggerBuildsWithDebugInformationAndStartsOnTheProgram)
{
    program("prog.asm", exeProgram);
    state.TasmParams = QStringLiteral("/z ");
    commands.debug();
    EXPECT_TRUE(host.starts.empty());
    ASSERT_FALSE(host.log.empty());
    EXPECT_EQ(host.log.back(), QStringLiteral("built-in debugger"));
    // The map beside the source carries the line numbers for the debugger; the student's
    // parameters are as they were.
    EXPECT_TRUE(read(src("prog.map")).contains("Line numbers for")) << read(src("prog.map")).toStdString();
    EXPECT_EQ(state.TasmParams, QStringLiteral("/z "));
    EXPECT_TRUE(state.TlinkParams.isEmpty());
}

TEST_F(BuiltInChainTest, TheDebuggerStartsNothingWhenTheProgramDoesNotBuild)
{
    program("prog.asm", wrongProgram);
    try {
        commands.debug();
    } catch (const ToolchainError &) {
    }
    EXPECT_EQ(std::count(host.log.begin(), host.log.end(), QStringLiteral("built-in debugger")), 0);
    EXPECT_FALSE(QFile::exists(src("prog.exe")));
    EXPECT_TRUE(pageText(OutputPage::Tasm).contains("Undefined symbol")) << pageText(OutputPage::Tasm).toStdString();
}

TEST_F(BuiltInChainTest, AConsoleFileThatCannotBeWrittenIsAFailedRun)
{
    ASSERT_TRUE(QDir(state.ToolsDir).mkdir("tasm.out"));
    const auto result = runBuiltInTool(BuiltInTool::Assembler, "tasm.exe  >tasm.out", state.ToolsDir);
    EXPECT_EQ(result.status, RunStatus::Failed);
    EXPECT_NE(result.error, 0);
}

TEST(ToolChainChoice, DefaultsToTheDosToolsOnlyWhenTheAssemblerIsInTheToolsFolder)
{
    QTemporaryDir tools;
    EXPECT_EQ(defaultChain(tools.path(), "tasm.exe"), Chain::BuiltIn);
    write(tools.filePath("TASM.EXE"), "MZ");
    EXPECT_EQ(defaultChain(tools.path(), "tasm.exe"), Chain::DosTools) << "letter case is ignored";
    EXPECT_EQ(defaultChain(tools.path(), "mytasm.exe"), Chain::BuiltIn) << "the configured name counts";
    EXPECT_EQ(defaultChain(tools.path() + "/missing", "tasm.exe"), Chain::BuiltIn);

    // cf.ini's value wins; a value that names no choice gets the default.
    EXPECT_EQ(chainFromValue(1, tools.path(), "tasm.exe"), Chain::BuiltIn);
    EXPECT_EQ(chainFromValue(0, tools.path(), "mytasm.exe"), Chain::DosTools);
    EXPECT_EQ(chainFromValue(2, tools.path(), "tasm.exe"), Chain::DosTools);
    EXPECT_EQ(chainFromValue(-1, tools.path(), "mytasm.exe"), Chain::BuiltIn);
}

} // namespace
