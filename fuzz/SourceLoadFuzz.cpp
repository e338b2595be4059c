// Loads arbitrary bytes into an editor as the main window loads a source file (through the
// Lines view, with the main window's options) and saves them back through the same view. The
// output must be the input up to its first NUL with every break the loader accepts (13 10,
// 10 13, a lone 13 or 10) written as 13 10, and the store must stay consistent.
// A first byte n of 128 or more repeats the rest to a length within 32 bytes of one (n < 192)
// or two of the loader's 65500-byte read chunks, so that loads cross the chunk edges at every
// kind of place (inside a break pair, inside a paragraph longer than a chunk).
#include "editor/core/editing/SourceMemoCore.h"
#include "editor/core/editing/SourceMemoStrings.h"
#include "editor/core/editing/StoreConsistency.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

using namespace velmora::core;

namespace
{

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// The loader's break rule: 13 or 10 ends a paragraph, and the other one of the pair right
// after it belongs to the same break.
std::string breaksAsCrLf(std::string_view bytes)
{
    bytes = bytes.substr(0, bytes.find('\0'));
    std::string out;
    char pending = 0; // the break character just met, until another character follows
    for (const char c : bytes) {
        if ((c == '\r' || c == '\n') && pending && c != pending) {
            pending = 0;
            continue;
        }
        if (c == '\r' || c == '\n') {
            out += "\r\n";
            pending = c;
            continue;
        }
        pending = 0;
        out += c;
    }
    return out;
}

// The source the input stands for: the bytes after the first, repeated as it says.
std::string sourceOf(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return {};
    std::string source(reinterpret_cast<const char *>(data) + 1, size - 1);
    const unsigned n = data[0];
    if (n < 128 || source.empty())
        return source;
    constexpr std::size_t kChunk = 65500;
    const std::size_t length = kChunk * (n < 192 ? 1 : 2) - 32 + (n & 63);
    std::string repeated;
    while (repeated.size() < length)
        repeated += source;
    repeated.resize(length);
    return repeated;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string bytes = sourceOf(data, size);
    TSourceMemoCore memo;
    TSourceMemoOptions options;
    options.set(smoWrapCaret)
        .set(smoInsertKeyActive)
        .set(smoWideOverwriteCaret)
        .set(smoAutoScrollBars)
        .set(smoSmartTabs);
    memo.setOptions(options);
    TSourceLinesStrings lines(memo);

    std::istringstream in(bytes);
    lines.LoadFromStream(in);
    checkStoreConsistency(memo.paragraphs());

    std::ostringstream out;
    lines.SaveToStream(out);
    const std::string expected = breaksAsCrLf(bytes);
    check(out.str() == expected);
    check(memo.TextLength() == static_cast<std::int32_t>(expected.size()));
    return 0;
}
