// Feeds arbitrary bytes to the ".kbn" keyword file reader as a keyword file and as a
// start-stop file. Malformed input must end in an error that leaves the target list as it
// was, never in a crash or a read past the input; what reads must write and read back the
// same.
#include "editor/core/keyfiles/KeyEntry.h"
#include "editor/core/keyfiles/KeywordFiles.h"
#include "editor/core/keyfiles/KeywordList.h"
#include "editor/core/keyfiles/StartStopKeyList.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string_view>

using namespace velmora::core;

namespace
{

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void readKeywords(std::string_view bytes)
{
    TKeywordList list;
    list.AddKeyword("kept", 0, 0, 1, 0, -1, -1);
    const auto before = keyEntriesOf(list);
    try {
        readKbn(bytes, list);
    } catch (const std::exception &) {
        check(keyEntriesOf(list) == before);
        return;
    }
    TKeywordList again;
    readKbn(kbnBytes(list), again);
    check(keyEntriesOf(again) == keyEntriesOf(list));
}

void readStartStopKeys(std::string_view bytes)
{
    TStartStopKeyList list;
    list.AddKey("kept", "", 0, 0, 1, 0, -1, -1, false);
    try {
        readKbn(bytes, list);
    } catch (const std::exception &) {
        check(list.Count() == 1 && list.Item(0).StartKey == "kept");
        return;
    }
    TStartStopKeyList again;
    readKbn(kbnBytes(list), again);
    check(again.Count() == list.Count());
    for (int i = 0; i < list.Count(); ++i) {
        const StartStopInfo &a = list.Item(i);
        const StartStopInfo &b = again.Item(i);
        check(a.StartText == b.StartText && a.StopText == b.StopText && a.KeyFlags == b.KeyFlags &&
              static_cast<const TKeyAttributes &>(a) == static_cast<const TKeyAttributes &>(b));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    readKeywords(bytes);
    readStartStopKeys(bytes);
    return 0;
}
