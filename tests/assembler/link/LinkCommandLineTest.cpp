// The linker's command line: fields, default names, options anywhere, and the two ways
// it refuses to link (usage, unknown option).
#include "assembler/link/LinkCommandLine.h"

#include <gtest/gtest.h>

namespace velmora::assembler::link
{
namespace
{

LinkOptions parse(const std::vector<std::string> &words)
{
    const ParsedCommandLine parsed = parseLinkCommandLine(words);
    EXPECT_EQ(parsed.kind, ParsedCommandLine::Kind::Link);
    return parsed.options;
}

TEST(LinkCommandLineTest, NamesDefaultFromTheFirstObjectAndTheProgram)
{
    const LinkOptions options = parse({"main", "util"});
    EXPECT_EQ(options.objects, (std::vector<std::string>{"main.obj", "util.obj"}));
    EXPECT_EQ(options.program, "main.exe");
    EXPECT_EQ(options.map, "main.map");

    const LinkOptions com = parse({"/t", "src.obj"});
    EXPECT_TRUE(com.com);
    EXPECT_EQ(com.program, "src.com");
    EXPECT_EQ(com.map, "src.map");

    EXPECT_TRUE(parse({"/Tdc", "src"}).com);
    EXPECT_FALSE(parse({"/t", "/Tde", "src"}).com);
}

TEST(LinkCommandLineTest, FieldsGiveProgramMapAndLibraries)
{
    const LinkOptions options = parse({"/m", "main+util,both,both"});
    EXPECT_TRUE(options.mapPublics);
    EXPECT_EQ(options.objects, (std::vector<std::string>{"main.obj", "util.obj"}));
    EXPECT_EQ(options.program, "both.exe");
    EXPECT_EQ(options.map, "both.map");

    // A program named without a map takes the map's name from the program.
    const LinkOptions named = parse({"src.obj,prog.exe"});
    EXPECT_EQ(named.program, "prog.exe");
    EXPECT_EQ(named.map, "prog.map");

    const LinkOptions libs = parse({"a", ",", ",", ",", "mylib", "other.lib"});
    EXPECT_EQ(libs.program, "a.exe");
    EXPECT_EQ(libs.libraries, (std::vector<std::string>{"mylib.lib", "other.lib"}));
}

TEST(LinkCommandLineTest, NoMapForNulOrSlashX)
{
    EXPECT_FALSE(parse({"src,,nul"}).map.has_value());
    EXPECT_FALSE(parse({"src,,NUL"}).map.has_value());
    EXPECT_FALSE(parse({"src", "/x"}).map.has_value());
    EXPECT_FALSE(parse({"/x", "src,,named"}).map.has_value());
}

TEST(LinkCommandLineTest, OptionsMayStandAnywhereAndJoin)
{
    const LinkOptions options = parse({"main", "/s/l", "util,out", "-c"});
    EXPECT_TRUE(options.mapSegments);
    EXPECT_TRUE(options.mapLines);
    EXPECT_TRUE(options.caseSensitive);
    EXPECT_EQ(options.objects.size(), 2u);
    EXPECT_EQ(options.program, "out.exe");
    // Harmless options change nothing.
    const LinkOptions harmless = parse({"/3", "/n", "src"});
    EXPECT_FALSE(harmless.com);
    EXPECT_FALSE(harmless.mapPublics);
    EXPECT_FALSE(harmless.mapDebugInfo);
    // /v asks for the debug information in the map, in either case.
    EXPECT_TRUE(parse({"/v", "src"}).mapDebugInfo);
    EXPECT_TRUE(parse({"src", "-V"}).mapDebugInfo);
    EXPECT_FALSE(parse({"/v", "src"}).mapLines);
}

TEST(LinkCommandLineTest, UsageWithoutObjectsAndUnknownOptions)
{
    EXPECT_EQ(parseLinkCommandLine({}).kind, ParsedCommandLine::Kind::Usage);
    EXPECT_EQ(parseLinkCommandLine({"/m"}).kind, ParsedCommandLine::Kind::Usage);
    EXPECT_EQ(parseLinkCommandLine({"/z", "src"}).kind, ParsedCommandLine::Kind::UnknownOption);
    EXPECT_EQ(parseLinkCommandLine({"src", "/q"}).kind, ParsedCommandLine::Kind::UnknownOption);
}

TEST(LinkCommandLineTest, ExtensionsAreAddedOnlyWhereMissing)
{
    EXPECT_EQ(withDefaultExtension("src", ".obj"), "src.obj");
    EXPECT_EQ(withDefaultExtension("src.o", ".obj"), "src.o");
    EXPECT_EQ(withDefaultExtension("dir.x/src", ".obj"), "dir.x/src.obj");
    EXPECT_EQ(withExtension("dir.x/prog.exe", ".map"), "dir.x/prog.map");
    EXPECT_EQ(withExtension("prog", ".map"), "prog.map");
}

} // namespace
} // namespace velmora::assembler::link
