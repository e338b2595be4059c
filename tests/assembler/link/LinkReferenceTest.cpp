// Links the reference objects of every link case and program with the case's own command
// line and compares what comes out with what the reference linker wrote: the console
// from its second line on (the banner is ours), the exit code, the .map text and the
// program byte for byte. The .exe headers differ in one place only: bytes 1Ch-21h, where
// the reference linker stamps its own mark, are zero in ours.
#include "assembler/FileLookup.h"
#include "assembler/TasmTestData.h"
#include "assembler/TempFolder.h"
#include "assembler/link/Linker.h"
#include "assembler/link/NameCase.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

namespace velmora::assembler::link
{
namespace
{

using namespace velmora::assembler::testing;
namespace fs = std::filesystem;

struct Command {
    std::string output;
    std::vector<std::string> words; // after the program name
    int exitCode = 0;
};

// The link commands of a case's args.txt (TAB-separated: output, command, exit code).
std::vector<Command> linkCommands(const fs::path &caseDir)
{
    std::istringstream in(readText(caseDir / "args.txt"));
    std::vector<Command> commands;
    std::string row;
    std::getline(in, row); // header
    while (std::getline(in, row)) {
        if (!row.empty() && row.back() == '\r')
            row.pop_back();
        const std::size_t tab1 = row.find('\t');
        const std::size_t tab2 = row.rfind('\t');
        std::istringstream words(row.substr(tab1 + 1, tab2 - tab1 - 1));
        std::string program;
        words >> program;
        if (upperCase(program) != "TLINK")
            continue;
        Command command{row.substr(0, tab1), {}, std::stoi(row.substr(tab2 + 1))};
        for (std::string word; words >> word;)
            command.words.push_back(word);
        commands.push_back(command);
    }
    return commands;
}

std::string fromSecondLine(const std::string &text)
{
    const std::size_t end = text.find('\n');
    return end == std::string::npos ? std::string() : text.substr(end + 1);
}

bool isProduct(const fs::path &path)
{
    const std::string ext = upperCase(path.extension().string());
    return ext == ".EXE" || ext == ".COM" || ext == ".MAP";
}

// Runs every link command of a case on copies of its objects; returns the names of the
// reference products the commands wrote.
std::set<std::string> checkCase(const fs::path &caseDir)
{
    std::set<std::string> written;
    for (const Command &command : linkCommands(caseDir)) {
        SCOPED_TRACE(caseDir.filename().string() + ": " + command.output);
        TempFolder folder;
        for (const auto &entry : fs::directory_iterator(caseDir))
            if (upperCase(entry.path().extension().string()) == ".OBJ")
                fs::copy_file(entry.path(), folder.path() / entry.path().filename());

        const ToolRun result = link(command.words, folder.path());
        EXPECT_EQ(result.exitCode, command.exitCode);
        const std::string expected = readText(caseDir / command.output);
        if (expected.find("\r\nSyntax:") != std::string::npos) {
            // The usage text is our own; it is shown, and nothing is written.
            EXPECT_NE(result.console.find("Syntax:"), std::string::npos);
            EXPECT_TRUE(result.filesWritten.empty());
            continue;
        }
        EXPECT_EQ(fromSecondLine(result.console), fromSecondLine(expected));

        for (const fs::path &path : result.filesWritten) {
            const std::string name = path.filename().string();
            const auto reference = findFileIgnoringCase(caseDir, name);
            if (!reference) {
                ADD_FAILURE() << "wrote " << name << ", which the reference linker did not";
                continue;
            }
            written.insert(upperCase(reference->filename().string()));
            std::vector<std::uint8_t> ours = readBytes(folder.path() / path);
            const std::vector<std::uint8_t> theirs = readBytes(*reference);
            if (upperCase(path.extension().string()) == ".EXE" && ours.size() >= 0x22 && theirs.size() >= 0x22) {
                EXPECT_EQ(std::vector<std::uint8_t>(ours.begin() + 0x1C, ours.begin() + 0x22),
                          std::vector<std::uint8_t>(6, 0))
                    << name;
                std::copy(theirs.begin() + 0x1C, theirs.begin() + 0x22, ours.begin() + 0x1C);
            }
            EXPECT_EQ(ours.size(), theirs.size()) << name;
            EXPECT_TRUE(ours == theirs) << name << " differs from the reference";
        }
    }
    return written;
}

void checkCasesIn(const std::string &folderName, std::size_t atLeast)
{
    if (!fs::exists(tasmDataDir()))
        GTEST_SKIP() << missingDataMessage();
    std::vector<fs::path> cases;
    for (const auto &entry : fs::directory_iterator(tasmDataDir() / folderName))
        if (entry.is_directory())
            cases.push_back(entry.path());
    std::sort(cases.begin(), cases.end());
    ASSERT_GE(cases.size(), atLeast);
    for (const fs::path &caseDir : cases) {
        const std::set<std::string> written = checkCase(caseDir);
        for (const auto &entry : fs::directory_iterator(caseDir)) {
            if (!isProduct(entry.path()))
                continue;
            EXPECT_TRUE(written.count(upperCase(entry.path().filename().string())))
                << caseDir.filename().string() << ": the reference wrote " << entry.path().filename().string()
                << ", we did not";
        }
    }
}

TEST(LinkReferenceTest, LinkCasesGiveTheReferenceOutputs)
{
    checkCasesIn("link", 19);
}

TEST(LinkReferenceTest, ProgramsLinkToTheReferencePrograms)
{
    checkCasesIn("programs", 26);
}

// The encoding sources' objects hold every fixup and data record kind the assembler writes;
// each links on its own with at most errors for its undefined externals.
TEST(LinkReferenceTest, EveryEncodingObjectLinksWithoutAFatalMessage)
{
    if (!fs::exists(tasmDataDir()))
        GTEST_SKIP() << missingDataMessage();
    const auto objects = filesWithExtension(tasmDataDir() / "encodings", ".obj");
    ASSERT_GE(objects.size(), 50u);
    for (const fs::path &object : objects) {
        SCOPED_TRACE(object.filename().string());
        TempFolder folder;
        fs::copy_file(object, folder.path() / object.filename());
        const ToolRun result = link({object.stem().string()}, folder.path());
        EXPECT_EQ(result.console.find("Fatal:"), std::string::npos) << result.console;
        const bool hasExternals = object.stem().string().starts_with("extern");
        EXPECT_EQ(result.exitCode, hasExternals ? 1 : 0) << result.console;
        EXPECT_TRUE(fs::exists(folder.path() / (object.stem().string() + ".exe")));
    }
}

} // namespace
} // namespace velmora::assembler::link
