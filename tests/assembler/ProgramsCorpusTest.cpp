// The corpus's complete programs built with the built-in tools: each source assembled with
// the project's default command (/z) and linked as TLINK was run; the console output must
// match TASM's, and the program file TLINK's, byte for byte apart from TLINK's own mark.
#include "assembler/AssemblerCommand.h"
#include "assembler/Corpus.h"
#include "assembler/link/Linker.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <unistd.h>

namespace velmora::assembler::test
{
namespace
{

std::vector<std::string> words(const std::string &command)
{
    std::vector<std::string> result;
    std::istringstream stream(command);
    for (std::string word; stream >> word;)
        result.push_back(word);
    return result;
}

// An .exe without bytes 1Ch..3Dh of its header, where TLINK leaves a mark of its own; the
// header fields before them and the relocation table after them are compared.
std::string withoutLinkerMark(std::string file)
{
    if (file.size() > 0x3E && file.starts_with("MZ"))
        std::fill(file.begin() + 0x1C, file.begin() + 0x3E, '\0');
    return file;
}

std::string afterBanner(const std::string &console)
{
    const std::size_t lineEnd = console.find('\n');
    const std::string rest = lineEnd == std::string::npos ? std::string() : console.substr(lineEnd + 1);
    return std::regex_replace(rest, std::regex("Remaining memory:  [0-9]+k"), "Remaining memory:  NNNk");
}

TEST(ProgramsCorpusTest, ProgramsBuiltWithTheBuiltInToolsEqualTlinksOutput)
{
    const auto folder = tasmDataDir() / "programs";
    if (!std::filesystem::exists(folder))
        GTEST_SKIP() << "the TASM corpus is not at " << folder << "; nothing to compare";
    std::vector<std::filesystem::path> programs;
    for (const auto &entry : std::filesystem::directory_iterator(folder))
        programs.push_back(entry.path());
    std::sort(programs.begin(), programs.end());
    int identical = 0;
    for (const auto &program : programs) {
        const std::filesystem::path scratch =
            std::filesystem::temp_directory_path() / ("velmora_prog_" + std::to_string(::getpid()));
        std::filesystem::remove_all(scratch);
        std::filesystem::create_directories(scratch);
        for (const auto &entry : std::filesystem::directory_iterator(program)) {
            const std::string extension = entry.path().extension().string();
            if (extension == ".asm" || extension == ".inc")
                std::filesystem::copy(entry.path(), scratch / entry.path().filename());
        }
        const ToolRun assembled = runAssembler({"/z", "src.asm"}, scratch.string());
        const auto tasmOutput = readFile((program / "tasm.out").string());
        ASSERT_TRUE(tasmOutput);
        EXPECT_EQ(afterBanner(assembled.console), afterBanner(*tasmOutput)) << program.filename();

        std::string linkCommand;
        for (const std::string &row : splitLines(*readFile((program / "args.txt").string())))
            if (row.find("\ttlink") != std::string::npos)
                linkCommand = row.substr(row.find("\ttlink") + 1, row.rfind('\t') - row.find("\ttlink") - 1);
        std::vector<std::string> arguments = words(linkCommand);
        arguments.erase(arguments.begin());
        link::link(arguments, scratch);
        const std::string programName = linkCommand.find("/t") != std::string::npos ? "src.com" : "src.exe";
        const auto ours = readFile((scratch / programName).string());
        const auto theirs = readFile((program / programName).string());
        ASSERT_TRUE(theirs) << program / programName;
        const bool same = ours && withoutLinkerMark(*ours) == withoutLinkerMark(*theirs);
        identical += same ? 1 : 0;
        std::printf("%-16s %s %s\n", program.filename().c_str(), programName.c_str(),
                    same   ? "identical"
                    : ours ? "differs"
                           : "missing");
        EXPECT_TRUE(same) << program.filename();
        std::filesystem::remove_all(scratch);
    }
    std::printf("programs: %d of %zu built identically\n", identical, programs.size());
}

} // namespace
} // namespace velmora::assembler::test
