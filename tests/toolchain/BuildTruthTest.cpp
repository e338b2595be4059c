// The build commands never report success for work that did not happen: stale products
// are gone before a step, missing products and tools that never ran turn the summary red
// and say so on the page, a chain shows one message, long names work through an alias,
// and a runaway program's output reaches its page bounded.
#include "BuildCommandsFixture.h"
#include "toolchain/OutputExcerpt.h"
#include "toolchain/ToolchainError.h"

#include <QFile>

using namespace velmora::toolchain;
using velmora::platform::RunResult;
using velmora::platform::RunStatus;
using velmora::testing::read;
using velmora::testing::write;
using velmora::testing::writeHere;

namespace
{

const QByteArray noMessages = "Turbo Assembler\r\nError messages:    None\r\nWarning messages:  None\r\n";

// The message the command threw for the central error handler; empty when it threw none.
template <class Command> QString thrownMessage(Command command)
{
    try {
        command();
    } catch (const ToolchainError &e) {
        return e.message();
    }
    return {};
}

} // namespace

class BuildTruthTest : public velmora::testing::BuildCommandsFixture
{
};

TEST_F(BuildTruthTest, AnAssemblyThatMakesNoObjectIsRedAndF9RunsNoOldProgram)
{
    source(src("prog.asm"));
    // Yesterday's build left its products in the tools folder.
    for (const char *old : {"PROG.OBJ", "prog.exe", "Prog.Map"})
        write(tools(old), "yesterday");
    // A source without END under /z: the assembler says nothing and writes no object.
    host.tool = [](const QString &) {
        writeHere("tasm.out", noMessages);
        return RunResult{};
    };
    EXPECT_EQ(thrownMessage([&] { commands.assemble(); }), QString()) << "the page says it, no box";

    EXPECT_EQ(host.summaryText, "Warnings: 0 Errors: 1");
    EXPECT_EQ(host.colour, SummaryColour::Red);
    EXPECT_EQ(host.pages[OutputPage::Tasm].last(), "prog.obj was not produced.");
    EXPECT_FALSE(QFile::exists(src("prog.obj")));
    EXPECT_EQ(toolsFiles(), (QStringList{"prog.asm", "tasm.out"}));

    host.starts.clear();
    EXPECT_EQ(thrownMessage([&] { commands.run(); }),
              "prog.exe was not found in " + state.ToolsDir + ": link the program first (F8). Nothing was run.");
    EXPECT_TRUE(host.starts.empty());
    EXPECT_EQ(host.pages[OutputPage::Run].last(), host.pages[OutputPage::Run].first());
}

TEST_F(BuildTruthTest, ToolsThatNeverRanAreNeverOk)
{
    source(src("prog.asm"));
    host.summaryText = "Warnings: 0 Errors: 0   -/ OK /-";
    host.tool = [](const QString &) { return RunResult{RunStatus::NotFound, 2}; };
    EXPECT_EQ(thrownMessage([&] { commands.assemble(); }),
              "tasm.exe was not found in " + state.ToolsDir +
                  ". Put the assembler there, or change its name in Preferences.");
    EXPECT_EQ(host.summaryText, "Warnings: 0 Errors: 1");
    EXPECT_EQ(host.colour, SummaryColour::Red);

    host.tool = [](const QString &) { return RunResult{RunStatus::NoDosBox, 2}; };
    EXPECT_EQ(thrownMessage([&] { commands.link(); }), "DOS programs run through DOSBox; install the dosbox package.");
    EXPECT_EQ(host.tlinkColour, SummaryColour::Red);
    EXPECT_EQ(host.summaryText, "Warnings: 0 Errors: 1");

    host.tool = [](const QString &) { return RunResult{RunStatus::Failed, 13}; };
    EXPECT_EQ(thrownMessage([&] { commands.showTasmHelp(); }), "tasm.exe could not be started: Permission denied");
    EXPECT_EQ(host.pages[OutputPage::Tasm], QStringList{"tasm.exe could not be started: Permission denied"});

    // Cancelling is the user's own doing: the page says it, the summary is red, no box.
    host.tool = [](const QString &) {
        writeHere("tasm.out", "Turbo Assembler\nAssembling file:   prog.asm\n");
        return RunResult{RunStatus::Cancelled, 0};
    };
    EXPECT_EQ(thrownMessage([&] { commands.assemble(); }), QString());
    EXPECT_EQ(host.pages[OutputPage::Tasm].value(1), "Assembling file:   prog.asm");
    EXPECT_TRUE(host.pages[OutputPage::Tasm].contains("Cancelled: tasm.exe /z  prog.asm >tasm.out"));
    EXPECT_EQ(host.colour, SummaryColour::Red);
}

TEST_F(BuildTruthTest, TheDebuggerThatIsNotThereIsReportedInsteadOfItsCommandLine)
{
    state.CurrentFile = src("prog.asm");
    host.started = RunResult{RunStatus::NotFound, 2};
    EXPECT_EQ(thrownMessage([&] { commands.debug(); }),
              "TD.exe was not found in " + state.ToolsDir +
                  ". Put the debugger there, or change its name in Preferences.");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(BuildTruthTest, TheChainShowsOneMessageAndEveryPageSaysWhatFailed)
{
    source(src("prog.asm"));
    host.tool = [](const QString &) { return RunResult{RunStatus::NotFound, 2}; };
    const QString message = thrownMessage([&] { commands.assembleLinkRun(); });
    EXPECT_EQ(message.split('\n'), (QStringList{"tasm.exe was not found in " + state.ToolsDir +
                                                    ". Put the assembler there, or change its name in Preferences.",
                                                "tLink.exe was not found in " + state.ToolsDir +
                                                    ". Put the linker there, or change its name in Preferences."}))
        << "the run step is skipped quietly: the pages before say why";
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.pages[OutputPage::Run], QStringList{"prog.exe was not found in " + state.ToolsDir +
                                                       ": link the program first (F8). Nothing was run."});
    EXPECT_EQ(host.starts.size(), 2u);
}

TEST_F(BuildTruthTest, LinkerErrorsAndWarningsColourTheTlinkCaption)
{
    source(src("prog.asm"));
    host.summaryText = "Warnings: 0 Errors: 0   -/ OK /-";
    host.tool = [](const QString &) {
        writeHere("TLINK.OUT", "Turbo Link  Version 4.0\r\nWarning: No stack\r\n");
        writeHere("PROG.EXE", "exe");
        writeHere("PROG.MAP", "map");
        return RunResult{};
    };
    commands.link();
    EXPECT_EQ(host.tlinkColour, SummaryColour::Olive);
    EXPECT_EQ(host.summaryText, "Warnings: 0 Errors: 0   -/ OK /-") << "a link that worked keeps the assembler's";

    // The linker writes its program even with unresolved symbols; the summary still says so.
    host.tool = [](const QString &) {
        writeHere("TLINK.OUT", "Turbo Link  Version 4.0\r\nError: Undefined symbol COUNTER in module PROG.ASM\r\n");
        writeHere("PROG.EXE", "exe");
        return RunResult{};
    };
    commands.link();
    EXPECT_EQ(host.tlinkColour, SummaryColour::Red);
    EXPECT_EQ(host.summaryText, "Warnings: 0 Errors: 1");

    // A .com build that made no .com file, whatever else lies there.
    state.TlinkParams = "/Tdc";
    host.tool = [](const QString &) {
        writeHere("TLINK.OUT",
                  "Turbo Link  Version 4.0\r\nFatal: Cannot generate COM file : stack segment present\r\n");
        return RunResult{};
    };
    commands.link();
    EXPECT_EQ(host.pages[OutputPage::TLink].last(), "prog.com was not produced.");
    EXPECT_FALSE(QFile::exists(tools("PROG.EXE"))) << "the old program went before the link";
}

TEST_F(BuildTruthTest, ALongCyrillicNameBuildsThroughAnAliasAndGetsItsProductsBack)
{
    const QString name = QString::fromUtf8("моя первая программа.asm");
    source(src(name));
    QString alias;
    host.tool = [&alias](const QString &line) {
        const QString word = line.section(' ', 2, 2, QString::SectionSkipEmpty);
        if (line.startsWith("tasm.exe")) {
            alias = word.section('.', 0, 0);
            writeHere("tasm.out", "Assembling file:   " + word.toLatin1() + "\n**Error** " + word.toLatin1() +
                                      "(2) Illegal instruction\nError messages:    1\n");
            writeHere(alias.toUpper() + ".OBJ", "object");
        } else if (line.contains("tLink.exe")) {
            writeHere(alias.toUpper() + ".EXE", "exe");
            writeHere(alias.toUpper() + ".MAP", "map");
        } else {
            writeHere(alias.toUpper() + ".LST", "listing of " + alias.toLatin1());
        }
        return RunResult{};
    };
    commands.assemble();

    ASSERT_EQ(alias.size(), 8) << alias.toStdString();
    EXPECT_EQ(read(tools(alias + ".asm")), read(src(name)));
    EXPECT_EQ(host.pages[OutputPage::Tasm].value(1),
              QString::fromUtf8("**Error** моя первая программа.asm(2) Illegal instruction"));
    EXPECT_EQ(host.bookmarks, (std::map<int, int>{{1, 1}}));
    EXPECT_EQ(read(src(QString::fromUtf8("моя первая программа.obj"))), "object");

    commands.link();
    EXPECT_EQ(host.starts.back().commandLine, tools("tLink.exe  " + alias + " >tlink.out"));
    EXPECT_EQ(read(src(QString::fromUtf8("моя первая программа.exe"))), "exe");
    EXPECT_EQ(read(src(QString::fromUtf8("моя первая программа.map"))), "map");

    commands.listing(ListingKind::Tiny, "Listing generated");
    const QString listing = src(QString::fromUtf8("моя первая программа.lst"));
    EXPECT_EQ(read(listing), "listing of " + alias.toLatin1());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "Listing generated - " + listing);
    EXPECT_EQ(host.pages[OutputPage::Tasm], QStringList{QString::fromUtf8("listing of моя первая программа")});

    // The same source gets the same alias again; another source with the same start another.
    const QString first = alias;
    commands.assemble();
    EXPECT_EQ(alias, first);
    source(src(QString::fromUtf8("моя вторая программа.asm")));
    commands.assemble();
    EXPECT_NE(alias, first);
    EXPECT_TRUE(QFile::exists(tools(first + ".asm")));
}

TEST_F(BuildTruthTest, TheCopyNeverReplacesAFileItDidNotPutThere)
{
    write(tools("def_templ.asm"), "the shipped template");
    write(tools("lab1.asm"), "the student's own file in the tools folder");
    for (const char *name : {"DEF_TEMPL.ASM", "lab1.asm"}) {
        source(src(name));
        commands.assemble();
    }
    EXPECT_EQ(read(tools("def_templ.asm")), "the shipped template");
    EXPECT_EQ(read(tools("lab1.asm")), "the student's own file in the tools folder");
    EXPECT_EQ(toolsFiles().size(), 4u) << toolsFiles().join(' ').toStdString(); // and two copies

    // A copy that is this source's own is replaced by the newer text.
    source(src("prog.asm"));
    commands.assemble();
    write(src("prog.asm"), "newer text");
    commands.assemble();
    EXPECT_EQ(read(tools("prog.asm")), "newer text");
}

TEST_F(BuildTruthTest, ARunawayProgramsOutputReachesItsPageBounded)
{
    state.CurrentFile = src("prog.asm");
    writeHere("unused", "");
    write(tools("prog.exe"), "exe");
    host.tool = [](const QString &) {
        QFile out(QDir::current().filePath("run.out"));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("first line\r\n");
        EXPECT_TRUE(out.resize(300LL * 1024 * 1024)); // a sparse hole stands for the flood
        out.seek(out.size());
        out.write("\r\nlast line\r\n");
        return RunResult{};
    };
    commands.run();
    const QStringList &page = host.pages[OutputPage::Run];
    const qsizetype characters = page.join('\n').size();
    EXPECT_LE(characters, 2 * outputExcerptBound + 1024);
    EXPECT_EQ(page.first(), "first line\r");
    EXPECT_EQ(page.value(page.size() - 2), "last line\r");
    const QString cut = *std::find_if(page.begin(), page.end(), [](const QString &l) { return l.startsWith("[..."); });
    EXPECT_TRUE(cut.contains(" bytes left out here; the whole output is in " + tools("run.out"))) << cut.toStdString();
}

TEST(ToolsCopy, DosNamesAndWhatMentionsAnAlias)
{
    for (const char *dos : {"prog.asm", "PROG.ASM", "a", "lab_1.a", "12345678.123", "my-lab~1.asm"})
        EXPECT_TRUE(isDosName(dos)) << dos;
    for (const char *longName :
         {"my_first_program.asm", "a b.asm", "prog.asmx", ".asm", "prog.", "a.b.c", "\xd0\xbf.asm", "pro+g.asm", ""})
        EXPECT_FALSE(isDosName(QString::fromUtf8(longName))) << longName;

    ToolsCopy copy{sourceNames("/t/myf0a1b2.asm"), true};
    const SourceNames own = sourceNames("/s/my (1).asm");
    EXPECT_EQ(withSourceNames("**Error** MYF0A1B2.ASM(3) x\r\nmodule myf0a1b2 and xmyf0a1b2 myf0a1b2x", copy, own),
              "**Error** my (1).ASM(3) x\r\nmodule my (1) and xmyf0a1b2 myf0a1b2x");
    copy.copied = false;
    EXPECT_EQ(withSourceNames("myf0a1b2.asm", copy, own), "myf0a1b2.asm");
}

TEST(OutputSummaryNames, TheLineNumberFollowsTheSourcesOwnName)
{
    const QStringList output{"Turbo Assembler", "**Error** my (1).asm(12) Undefined symbol: X", "Error messages: 1"};
    const OutputSummary summary = summarizeOutput(output, "my (1).asm");
    EXPECT_EQ(summary.bookmarks, (std::vector<BookmarkDecision>{{11, 1}}));
    EXPECT_EQ(sourceLineOf(output[1], "my (1).asm"), 11);
    EXPECT_EQ(sourceLineOf("**Error** subs.inc(3) Illegal", "my (1).asm"), 2) << "other files read as before";
}
