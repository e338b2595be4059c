#include "bench/AsmSourceGenerator.h"

#include <array>
#include <cstdio>
#include <random>

namespace velmora::bench
{

namespace
{

constexpr std::array<const char *, 8> kRegisters = {"ax", "bx", "cx", "dx", "si", "di", "al", "ah"};
constexpr std::array<const char *, 6> kComments = {"print the message", "next character", "exit to DOS",
                                                   "loop counter",      "save result",    "read a key"};

class Writer
{
public:
    explicit Writer(std::uint32_t seed) : rng_(seed) {}

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    const char *reg() { return kRegisters[static_cast<std::size_t>(pick(kRegisters.size()))]; }
    const char *comment() { return kComments[static_cast<std::size_t>(pick(kComments.size()))]; }

    // One line without its break.
    std::string line(int labelNumber)
    {
        char buffer[96];
        switch (pick(12)) {
        case 0:
            std::snprintf(buffer, sizeof buffer, "L%d:", labelNumber);
            break;
        case 1:
            std::snprintf(buffer, sizeof buffer, "    mov %s, %d", reg(), pick(1000));
            break;
        case 2:
            std::snprintf(buffer, sizeof buffer, "    mov %s, 0%02Xh ; %s", reg(), pick(256), comment());
            break;
        case 3:
            std::snprintf(buffer, sizeof buffer, "    int 21h");
            break;
        case 4:
            std::snprintf(buffer, sizeof buffer, "    add %s, %s", reg(), reg());
            break;
        case 5:
            std::snprintf(buffer, sizeof buffer, "    cmp %s, $%X", reg(), pick(4096));
            break;
        case 6:
            std::snprintf(buffer, sizeof buffer, "    jne L%d", labelNumber);
            break;
        case 7:
            std::snprintf(buffer, sizeof buffer, "; %s", comment());
            break;
        case 8:
            buffer[0] = 0;
            break;
        case 9:
            std::snprintf(buffer, sizeof buffer, "    push %s", reg());
            break;
        case 10:
            std::snprintf(buffer, sizeof buffer, "msg%d db 'Hi', 13, 10, '$'", labelNumber);
            break;
        default:
            std::snprintf(buffer, sizeof buffer, "    loop L%d", labelNumber);
            break;
        }
        return buffer;
    }

private:
    std::mt19937 rng_;
};

} // namespace

std::string generateAsmSource(std::size_t targetBytes, std::uint32_t seed)
{
    Writer writer(seed);
    std::string text;
    text.reserve(targetBytes + 128);
    text += ".model small\r\n.stack 100h\r\n.data\r\n.code\r\n";
    for (int label = 0; text.size() < targetBytes; ++label) {
        text += writer.line(label / 16);
        text += "\r\n";
    }
    return text;
}

} // namespace velmora::bench
