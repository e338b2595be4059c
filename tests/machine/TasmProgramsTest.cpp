// The student programs built by the real TASM and TLINK run on the built-in PC and write
// exactly what they wrote under DOS with their standard output redirected to run.out.
#include "machine/BuiltInPc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace
{

using namespace velmora::machine;
namespace fs = std::filesystem;

const fs::path kPrograms = fs::path(VELMORA_SOURCE_DIR) / ".." / "shared" / "testdata" / "tasm" / "programs";

std::string readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The case folders, or one empty name when the test data is absent.
std::vector<std::string> programCases()
{
    std::vector<std::string> names;
    if (fs::is_directory(kPrograms))
        for (const fs::directory_entry &entry : fs::directory_iterator(kPrograms))
            if (fs::exists(entry.path() / "run.out"))
                names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    if (names.empty())
        names.emplace_back();
    return names;
}

// How args.txt says the program was run: "src.com one two > run.out<TAB>exit code".
struct RunCommand {
    std::string program;
    std::string tail;
    bool keyboardFromRunIn = false;
    int exitCode = -1;
};

RunCommand runCommand(const fs::path &folder)
{
    std::istringstream lines(readFile(folder / "args.txt"));
    RunCommand run;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("run.out\t", 0) != 0)
            continue;
        std::istringstream fields(line);
        std::string output, command, code;
        std::getline(fields, output, '\t');
        std::getline(fields, command, '\t');
        std::getline(fields, code, '\t');
        run.exitCode = std::stoi(code);
        std::istringstream words(command);
        words >> run.program;
        for (std::string word; words >> word;) {
            if (word == "<" || word == ">") {
                std::string file;
                words >> file;
                run.keyboardFromRunIn = run.keyboardFromRunIn || (word == "<" && file == "run.in");
                continue;
            }
            run.tail += (run.tail.empty() ? "" : " ") + word;
        }
    }
    return run;
}

class TasmProgramsTest : public ::testing::TestWithParam<std::string>
{
};

TEST_P(TasmProgramsTest, WritesWhatItWroteUnderDos)
{
    if (GetParam().empty())
        GTEST_SKIP() << "no test data at " << kPrograms;
    const fs::path folder = kPrograms / GetParam();
    const RunCommand run = runCommand(folder);
    ASSERT_FALSE(run.program.empty()) << "no run.out line in args.txt";

    BuiltInPc pc;
    ASSERT_EQ(pc.load((folder / run.program).string(), run.tail), "");
    // The redirected input file's bytes are the keys typed.
    if (run.keyboardFromRunIn)
        for (char c : readFile(folder / "run.in"))
            pc.pressKey(0, uint8_t(c));
    PcState state = PcState::Running;
    for (int slice = 0; slice < 1000 && state == PcState::Running; ++slice)
        state = pc.run(1'000'000);
    ASSERT_EQ(state, PcState::Ended) << pc.message();
    EXPECT_EQ(pc.exitCode(), run.exitCode);
    EXPECT_EQ(pc.output(), readFile(folder / "run.out"));
}

INSTANTIATE_TEST_SUITE_P(Corpus, TasmProgramsTest, ::testing::ValuesIn(programCases()),
                         [](const ::testing::TestParamInfo<std::string> &info) {
                             return info.param.empty() ? std::string("absent") : "p" + info.param;
                         });

} // namespace
