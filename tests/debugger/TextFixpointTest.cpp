// Every opcode with every ModRM byte and two kinds of following bytes: whatever text the
// disassembler gives (other than data) must be accepted by the assembler and encode to
// bytes that disassemble to the same text. Where the bytes are TASM's own choice of
// encoding the corpus test checks them exactly; here the other encodings of the same
// instruction (a 16-bit displacement that fits a byte, the long form of MOV AL,[addr],
// ...) must at least keep their meaning.
#include "Reassemble.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmora::debugger::test
{
namespace
{

constexpr std::uint16_t kSpacing = 16; // room for the longest instruction with its prefixes

// Every instruction beginning with `first` and any second byte, each at its own offset.
std::vector<std::vector<std::uint8_t>> instructionsStartingWith(std::uint8_t first,
                                                                const std::vector<std::uint8_t> &tail)
{
    std::vector<std::vector<std::uint8_t>> all;
    for (int second = 0; second < 256; ++second) {
        std::vector<std::uint8_t> bytes = {first, static_cast<std::uint8_t>(second)};
        bytes.insert(bytes.end(), tail.begin(), tail.end());
        all.push_back(bytes);
    }
    return all;
}

// Texts with no source form of their own are left out: data bytes; XCHG AX,AX, which is
// NOP to the assembler and the processor alike; and a direct far jump or call, whose
// seg:off target no source line can write without a segment placed AT that paragraph
// (DisassemblerTest checks its text).
bool checkable(const std::string &text)
{
    return !text.starts_with("db ") && text != "xchg ax,ax" && text.find("far ptr") == std::string::npos;
}

void expectSameTextAfterAssembly(std::uint8_t first, const std::vector<std::uint8_t> &tail)
{
    std::vector<std::string> lines;
    std::vector<std::string> texts;
    const auto instructions = instructionsStartingWith(first, tail);
    for (std::size_t i = 0; i < instructions.size(); ++i) {
        const auto offset = static_cast<std::uint16_t>(i * kSpacing);
        const std::string text = disassemble(instructions[i], offset, machine::CpuModel::i80186).text;
        texts.push_back(text);
        lines.push_back("org " + asmOffset(offset));
        lines.push_back(checkable(text) ? text : "nop");
        lines.push_back("db 0D6h"); // no instruction: a lone prefix before it stays alone
    }
    const auto assembled = reassemble(lines, 0);
    ASSERT_TRUE(assembled.has_value()) << "opcode " << asmNumber(first) << ": the assembler rejects a line of\n"
                                       << [&] {
                                              std::string all;
                                              for (std::size_t i = 0; i < texts.size(); ++i)
                                                  if (!reassemble({texts[i]}, static_cast<std::uint16_t>(i * kSpacing)))
                                                      all += texts[i] + "\n";
                                              return all;
                                          }();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (!checkable(texts[i]))
            continue;
        const std::size_t start = i * kSpacing;
        ASSERT_LE(start, assembled->size());
        const std::span<const std::uint8_t> again(assembled->data() + start, assembled->size() - start);
        const Disassembled redone = disassemble(again.first(std::min<std::size_t>(again.size(), kSpacing)),
                                                static_cast<std::uint16_t>(start), machine::CpuModel::i80186);
        EXPECT_EQ(redone.text, texts[i]) << "from opcode " << asmNumber(first) << ", second byte " << asmNumber(i);
    }
}

TEST(TextFixpointTest, EveryDecodedTextAssemblesToTheSameInstruction)
{
    for (int first = 0; first < 256; ++first) {
        expectSameTextAfterAssembly(static_cast<std::uint8_t>(first), {0x12, 0x34, 0x56, 0x78, 0x9A});
        expectSameTextAfterAssembly(static_cast<std::uint8_t>(first), {0xF0, 0xFF, 0x80, 0xFE, 0x01});
    }
}

} // namespace
} // namespace velmora::debugger::test
