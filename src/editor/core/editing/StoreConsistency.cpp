#include "editor/core/editing/StoreConsistency.h"

#include "editor/core/text/EditorErrors.h"
#include "editor/core/store/ParagraphsList.h"
#include "editor/core/editing/SourceMemoCore.h"

#include <string>

namespace velmora::core
{

namespace
{

[[noreturn]] void fail(std::string message)
{
    if (message.back() != ' ')
        message += ' ';
    throw EditorError(message + kSourceMemoVersion);
}

} // namespace

void checkStoreConsistency(const TParagraphsList &store)
{
    std::int64_t position = 0;
    std::int64_t visibleLines = 0;
    std::int64_t lines = 0;
    for (std::int32_t i = 0; i < store.count(); ++i) {
        const ParInfo &p = *store.par(i);
        if (store.firstLineOf(i) != visibleLines)
            fail("Error 1");
        if (store.startOf(i) != position)
            fail("Error 2 in ");
        const std::int32_t n = p.lineCount();
        std::int32_t lineEnd = 0;
        for (std::int32_t l = 0; l < n; ++l) {
            const LineInfo line = p.lineInfo(l);
            if (line.lineStart != lineEnd)
                fail("Error 3 in ");
            lineEnd = line.nextLineStart;
        }
        if (lineEnd != p.length())
            fail("Error 4 in ");
        position += p.length() + 2;
        lines += n;
        if (!p.hidden())
            visibleLines += n;
    }
    if (position - 2 != store.marks().textLength())
        fail("Error 5 in ");
    if (visibleLines != store.marks().visibleLineCount())
        fail("Error 6 in ");
    if (lines != store.marks().lineCount())
        fail("Error 6.01 in ");
}

} // namespace velmora::core
