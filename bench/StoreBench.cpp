// The text store on a 20 MB source: loading it from a file, the memory it adds, one typed
// character in its middle, undoing 1000 separate edits, and saving it to a file.

#include "bench/AsmSourceGenerator.h"
#include "bench/BenchRegistry.h"
#include "editor/core/editing/SourceMemoCore.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <string>

namespace velmora::bench
{

namespace
{

using namespace velmora::core;

void storeBench()
{
    const auto path = std::filesystem::temp_directory_path() / "velmora-store-bench.asm";
    {
        const std::string source = generateAsmSource(20u << 20);
        std::ofstream(path, std::ios::binary).write(source.data(), static_cast<std::streamsize>(source.size()));
    }

    TSourceMemoCore memo;
    // Earlier benchmarks leave freed memory in the heap that a load would reuse unseen.
    malloc_trim(0);
    const double rssBefore = residentMegabytes();
    report("store-load-20MB", millisecondsOf([&] {
               std::ifstream in(path, std::ios::binary);
               memo.LoadFromStream(in);
           }),
           "ms");
    report("store-rss-20MB", residentMegabytes() - rssBefore, "MB");

    const TParagraphsList &pars = memo.paragraphs();
    const std::int32_t middle = pars.count() / 2;
    memo.setSelStart(pars.startOf(middle) + pars.lengthOf(middle) / 2);
    report("store-type-middle", millisecondsOf([&] { memo.SetSelTextBuf("x"); }), "ms");

    // 1000 words, each at its own paragraph so that each is an undo record of its own.
    memo.ClearUndo();
    const std::int32_t step = pars.count() / 1000;
    for (std::int32_t k = 0; k < 1000; ++k) {
        memo.setSelStart(pars.startOf(k * step));
        memo.SetSelTextBuf("word ");
    }
    int undone = 0;
    const double undoMs = millisecondsOf([&] {
        for (; memo.CanUndo(); ++undone)
            memo.Undo();
    });
    report("store-undo-all", undoMs, "ms");
    if (undone != 1000)
        std::fprintf(stderr, "store-undo-all: %d undo records instead of 1000\n", undone);

    report("store-save-20MB", millisecondsOf([&] {
               std::ofstream out(path, std::ios::binary | std::ios::trunc);
               memo.SaveToStream(out);
           }),
           "ms");
    std::filesystem::remove(path);
}

const Register registration("store", storeBench);

} // namespace

} // namespace velmora::bench
