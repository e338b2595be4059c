#include "toolchain/CommandLines.h"
#include "toolchain/SourceNames.h"

#include <gtest/gtest.h>

using namespace velmora::toolchain;

TEST(SourceNames, SplitTheCurrentFile)
{
    const SourceNames prog = sourceNames("/d/src/Prog.ASM");
    EXPECT_EQ(prog.N, "Prog.ASM");
    EXPECT_EQ(prog.B, "Prog");
    EXPECT_EQ(prog.S, "/d/src/");

    // The extension is always taken as four characters.
    EXPECT_EQ(sourceNames("/d/src/prog.s").B, "pr");
    EXPECT_EQ(sourceNames("/d/a.s").B, "");
    EXPECT_EQ(sourceNames("prog.asm").S, "");

    const SourceNames untitled = sourceNames("");
    EXPECT_TRUE(untitled.N.isEmpty() && untitled.B.isEmpty() && untitled.S.isEmpty());
}

TEST(CommandLines, DefaultsComposeTheDocumentedLines)
{
    BuildState state;
    BuildSettings s;
    state.ToolsDir = "/opt/velmora/TTDIR";
    state.CurrentFile = "/d/src/prog.asm";
    const CommandLines lines = commandLines(state, s, sourceNames(state.CurrentFile));
    EXPECT_EQ(lines.assembleCaptured, "tasm.exe /z  prog.asm >tasm.out");
    EXPECT_EQ(lines.assembleUncaptured, "tasm.exe /z  /d/src/prog.asm");
    EXPECT_EQ(lines.linkCaptured, "/opt/velmora/TTDIR/tLink.exe  prog >tlink.out");
    EXPECT_EQ(lines.linkUncaptured, "tLink.exe  prog");
    EXPECT_EQ(lines.runCaptured, "/opt/velmora/TTDIR/prog.exe >run.out");
    EXPECT_EQ(lines.runUncaptured, "prog.exe");
    EXPECT_EQ(lines.debug, "/opt/velmora/TTDIR/TD.exe prog");

    s.TasmFile = "TASM32.EXE";
    state.TasmParams = "/zi";
    s.TLinkFile = "tl.exe";
    state.TlinkParams = "/t /v";
    s.TDFile = "td2.exe";
    const CommandLines custom = commandLines(state, s, sourceNames(state.CurrentFile));
    EXPECT_EQ(custom.assembleCaptured, "TASM32.EXE /zi prog.asm >tasm.out");
    EXPECT_EQ(custom.linkCaptured, "/opt/velmora/TTDIR/tl.exe /t /v prog >tlink.out");
    EXPECT_EQ(custom.runCaptured, "/opt/velmora/TTDIR/prog.com >run.out");
    EXPECT_EQ(custom.debug, "/opt/velmora/TTDIR/td2.exe prog");
}

TEST(CommandLines, AnAliasReplacesTheSourceNameForEveryTool)
{
    BuildState state;
    state.ToolsDir = "/opt/TTDIR";
    state.CurrentFile = "/d/src/my first program.asm";
    const CommandLines lines = commandLines(state, BuildSettings{}, sourceNames("/opt/TTDIR/myf0a1b2.asm"));
    EXPECT_EQ(lines.assembleCaptured, "tasm.exe /z  myf0a1b2.asm >tasm.out");
    EXPECT_EQ(lines.assembleUncaptured, "tasm.exe /z  myf0a1b2.asm") << "DOS cannot open the long name";
    EXPECT_EQ(lines.linkCaptured, "/opt/TTDIR/tLink.exe  myf0a1b2 >tlink.out");
    EXPECT_EQ(lines.runCaptured, "/opt/TTDIR/myf0a1b2.exe >run.out");
    EXPECT_EQ(lines.debug, "/opt/TTDIR/TD.exe myf0a1b2");
}

TEST(CommandLines, ComFileForTheLinkersComOptionsAsItSpellsThem)
{
    for (const char *com : {"/t", "-t", "/v /TDc", "/tdc", "/TDC", "/Tc", "/m/t", "/x -Tdc"})
        EXPECT_EQ(runExtension(com), ".com") << com;
    for (const char *exe : {"", "/T", "/v", "/Tde", "/t /Tde", "/tv", "prog-t"})
        EXPECT_EQ(runExtension(exe), ".exe") << exe;
    EXPECT_EQ(runExtension("/Tde /t"), ".com") << "the last output type asked for counts";
}
