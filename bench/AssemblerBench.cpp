// Assembling a generated 10 000-line program in memory: data definitions, procedures with
// loops, forward and backward jumps, memory operands and a macro, as student programs use
// them. Prints the best and the median of several runs, and the same with /m passes.
#include "assembler/Assembly.h"
#include "bench/BenchRegistry.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <random>
#include <string>
#include <vector>

namespace velmora::bench
{

namespace
{

std::string generateProgram(int lineCount)
{
    std::mt19937 rng(7);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    static const char *const words[] = {"ax", "bx", "cx", "dx", "si", "di"};
    static const char *const bytes[] = {"al", "bl", "cl", "dl", "ah", "bh"};
    std::string text = "        .model  small\r\n        jumps\r\n        .stack  100h\r\n"
                       "print   macro   msg\r\n        mov     dx,offset msg\r\n        mov     ah,9\r\n"
                       "        int     21h\r\n        endm\r\n        .data\r\n";
    int lines = 8;
    const int variables = lineCount / 20;
    for (int i = 0; i < variables; ++i, ++lines) {
        char line[96];
        if (i % 3 == 0)
            std::snprintf(line, sizeof line, "msg%d    db      'message %d',13,10,'$'\r\n", i, i);
        else
            std::snprintf(line, sizeof line, "var%d    dw      %d, 0%04Xh\r\n", i, pick(30000), pick(65536));
        text += line;
    }
    text += "        .code\r\nstart:  mov     ax,@data\r\n        mov     ds,ax\r\n";
    lines += 3;
    int procedure = 0;
    while (lines < lineCount - 2) {
        char line[128];
        std::snprintf(line, sizeof line, "proc%d  proc    near\r\n        mov     cx,%d\r\nagain%d: ", procedure,
                      pick(100) + 1, procedure);
        text += line;
        lines += 2;
        for (int i = 0; i < 40 && lines < lineCount - 4; ++i, ++lines) {
            const int variable = 1 + 3 * pick(variables / 3 - 1);
            switch (pick(8)) {
            case 0:
                std::snprintf(line, sizeof line, "        mov     %s,var%d\r\n", words[pick(6)], variable);
                break;
            case 1:
                std::snprintf(line, sizeof line, "        add     %s,%d\r\n", words[pick(6)], pick(300));
                break;
            case 2:
                std::snprintf(line, sizeof line, "        cmp     %s,[bx+si+%d]\r\n", bytes[pick(6)], pick(200));
                break;
            case 3:
                std::snprintf(line, sizeof line, "        jz      done%d\r\n", procedure);
                break;
            case 4:
                std::snprintf(line, sizeof line, "        print   msg%d\r\n", 3 * pick(variables / 3));
                break;
            case 5:
                std::snprintf(line, sizeof line, "        mov     word ptr var%d,%d\r\n", variable, pick(1000));
                break;
            case 6:
                std::snprintf(line, sizeof line, "        shl     %s,1\r\n", words[pick(6)]);
                break;
            default:
                std::snprintf(line, sizeof line, "        xchg    %s,%s\r\n", words[pick(6)], words[pick(6)]);
                break;
            }
            text += line;
        }
        std::snprintf(line, sizeof line, "        loop    again%d\r\ndone%d:  ret\r\nproc%d  endp\r\n", procedure,
                      procedure, procedure);
        text += line;
        lines += 3;
        ++procedure;
    }
    text += "        mov     ax,4C00h\r\n        end     start\r\n";
    return text;
}

void assemblerBench()
{
    const std::string source = generateProgram(10000);
    const auto noFiles = [](const std::string &) -> std::optional<std::string> { return std::nullopt; };
    for (const bool multiPass : {false, true}) {
        assembler::AssemblyOptions options;
        options.multiPass = multiPass;
        options.maxPasses = 5;
        std::vector<double> times;
        std::size_t messages = 0;
        constexpr int runs = 7;
        // Processor time as well as elapsed time: on a busy machine the elapsed time
        // includes the time other processes ran.
        const std::clock_t cpuStart = std::clock();
        for (int run = 0; run < runs; ++run)
            times.push_back(millisecondsOf(
                [&] { messages = assembler::assemble("bench.asm", source, noFiles, options).messages.size(); }));
        const double cpuMilliseconds = 1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC / runs;
        std::sort(times.begin(), times.end());
        const std::string name = multiPass ? "assemble-10000-lines-m5" : "assemble-10000-lines";
        report(name + "-best", times.front(), "ms");
        report(name + "-median", times[times.size() / 2], "ms");
        report(name + "-cpu", cpuMilliseconds, "ms");
        report(name + "-messages", static_cast<double>(messages), "count");
    }
}

const Register registration("assembler", assemblerBench);

} // namespace

} // namespace velmora::bench
