// Loading unusual files into the editor and saving them back: NUL bytes, every break form,
// very long paragraphs, binary data, empty files. The result is compared with a plain model
// of the load rules, and the store must pass its consistency check after each load.
#include "editor/core/store/StoreTestSupport.h"
#include "editor/core/editing/SourceMemoStrings.h"
#include "editor/core/editing/StoreConsistency.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

using namespace velmora::core;
using namespace velmora::core::testing;

namespace
{

struct ModelLoad {
    std::vector<std::string> paragraphs{""};
    TSourceLineBreak lastBreak = pbCRLF;
};

// The load rules: 13 10 and 10 13 are one break, any other 13 or 10 is a break of its own,
// and a NUL ends the text unless it is replaced.
ModelLoad modelLoad(const std::string &bytes, char nullReplacement)
{
    ModelLoad m;
    char previous = 0;
    for (char c : bytes) {
        if (c == 0) {
            if (nullReplacement == 0)
                break;
            c = nullReplacement;
        }
        if (c == 13 || c == 10) {
            if (previous != 0 && previous != c) {
                m.lastBreak = c == 10 ? pbCRLF : pbLFCR;
                previous = 0;
            } else {
                m.paragraphs.emplace_back();
                m.lastBreak = c == 13 ? pbCR : pbLF;
                previous = c;
            }
            continue;
        }
        previous = 0;
        m.paragraphs.back() += c;
    }
    return m;
}

std::string joined(const std::vector<std::string> &paragraphs, const std::string &separator)
{
    std::string out;
    for (std::size_t i = 0; i < paragraphs.size(); ++i)
        out += (i ? separator : "") + paragraphs[i];
    return out;
}

std::string breakBytes(TSourceLineBreak type)
{
    switch (type) {
    case pbCRLF:
        return "\r\n";
    case pbLFCR:
        return "\n\r";
    case pbCR:
        return "\r";
    case pbLF:
        return "\n";
    }
    return {};
}

// Equal bytes, or the sizes and the first difference instead of two large dumps.
void expectSameBytes(const std::string &actual, const std::string &expected)
{
    const auto diff = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    EXPECT_TRUE(actual == expected) << "sizes " << actual.size() << " and " << expected.size()
                                    << ", first difference at " << (diff.first - actual.begin());
}

class StoreLoadFile : public ::testing::Test
{
protected:
    void SetUp() override { memo.setOptions(TSourceMemoOptions(memo.Options()).set(smoAutoLineBreak)); }
    void TearDown() override { std::filesystem::remove(path); }

    // Writes the bytes to a file, loads it, checks it against the model and saves it back
    // through a file; returns the saved bytes.
    std::string loadAndSave(const std::string &bytes)
    {
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        view.LoadFromFile(path);
        EXPECT_NO_THROW(checkStoreConsistency(memo.paragraphs()));
        const ModelLoad model = modelLoad(bytes, memo.NullReplacement());
        EXPECT_EQ(memo.ParagraphCount(), static_cast<std::int32_t>(model.paragraphs.size()));
        expectSameBytes(wholeText(memo), joined(model.paragraphs, "\r\n"));
        if (memo.Options()[smoAutoLineBreak]) {
            EXPECT_EQ(memo.LineBreak(), model.lastBreak);
        }
        {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            memo.SaveToStream(out);
        }
        std::ifstream in(path, std::ios::binary);
        std::string saved{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        expectSameBytes(saved, joined(model.paragraphs, breakBytes(memo.LineBreak())));
        return saved;
    }

    TSourceMemoCore memo;
    TSourceParaStrings view{memo};
    std::filesystem::path path = std::filesystem::temp_directory_path() /
                                 ("velmora-load-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                  "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".asm");
};

} // namespace

TEST_F(StoreLoadFile, UniformBreaksAndFileEndsSaveBackByteForByte)
{
    const std::string files[] = {
        "",
        "mov ax, 1\r\nint 21h",
        "mov ax, 1\r\n",
        "a\rb\r\rc\r",
        "a\nb\n\nc",
        "a\n\rb\n\r\n\r",
        "\r\n\r\n",
        std::string(65499, 'a') + "\r\nb",                           // the pair split between two read chunks
        std::string(65500, 'a') + "\n\rb",                           // the same one byte later
        std::string(70000, 'x') + "\r\n" + std::string(140000, 'y'), // paragraphs beyond 65535 and a chunk
    };
    for (const std::string &bytes : files) {
        SCOPED_TRACE(bytes.substr(0, 20) + " (" + std::to_string(bytes.size()) + " bytes)");
        EXPECT_EQ(loadAndSave(bytes), bytes);
    }
    EXPECT_EQ(view.Get(0).size(), 70000u);
    EXPECT_EQ(view.Count(), 2);
    memo.setSelStart(70000); // the long paragraphs edit like any others
    memo.SetSelTextBuf("!");
    EXPECT_EQ(view.Get(0), std::string(70000, 'x') + "!");
    EXPECT_NO_THROW(checkStoreConsistency(memo.paragraphs()));
}

TEST_F(StoreLoadFile, MixedBreaksNulsAndBinaryData)
{
    EXPECT_EQ(loadAndSave("a\r\nb\nc\rd\n\re"), "a\n\rb\n\rc\n\rd\n\re"); // the last break type is written
    EXPECT_EQ(loadAndSave(std::string("ab\r\ncd\0ef\r\n", 11)), "ab\r\ncd");
    EXPECT_EQ(view.Count(), 2);

    std::string binary;
    for (int round = 0; round < 3; ++round)
        for (int b = 255; b >= 0; --b)
            binary += static_cast<char>(b);
    loadAndSave(binary);                       // stops at the first NUL
    EXPECT_EQ(memo.TextLength(), 253 + 2 * 2); // 255 .. 1, with a lone 13 and a lone 10

    memo.setNullReplacement('.');
    const std::string saved = loadAndSave(binary);
    EXPECT_EQ(saved.find('\0'), std::string::npos);
    EXPECT_EQ(view.Count(), 3 * 2 + 1); // a lone 13 and a lone 10 per round, NULs kept
    memo.setNullReplacement(0);
    memo.setOptions(TSourceMemoOptions(memo.Options()).reset(smoAutoLineBreak));
    memo.setLineBreak(pbLF);
    EXPECT_EQ(loadAndSave("x\r\ny"), "x\ny"); // without the option the chosen break is kept
}

TEST_F(StoreLoadFile, RandomBytesLoadAsTheModelSays)
{
    std::mt19937 random(4242);
    const char alphabet[] = {'a', 'b', ' ', '\t', 13, 10, 13, 10, 0, 5, 2, '\xFF'};
    for (int round = 0; round < 60; ++round) {
        const std::size_t size = round % 10 == 9 ? 66000 + random() % 70000 : random() % 400;
        std::string bytes(size, 'a');
        for (char &c : bytes)
            if (random() % 3 == 0)
                c = alphabet[random() % sizeof alphabet];
        memo.setNullReplacement(round % 2 ? '#' : 0);
        memo.codeCleanUp = false; // style codes are saved as they were read
        memo.setStaticFormat(round % 4 == 3);
        SCOPED_TRACE("round " + std::to_string(round));
        loadAndSave(bytes);
        if (::testing::Test::HasFailure())
            break;
    }
}
