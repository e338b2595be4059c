// Feeds arbitrary bytes to the stored-property readers of both key lists and to a walk over
// every value kind. Malformed input must end in the readers' own errors, never in a crash or
// a read past the input; what reads must read back the same after writing it again.
#include "editor/core/keyfiles/KeywordList.h"
#include "editor/core/keyfiles/StartStopKeyList.h"
#include "editor/core/text/TaggedValueReader.h"
#include "editor/core/text/TaggedValueWriter.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>

using namespace velmora::core;

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void readKeywords(std::string_view bytes)
{
    TKeywordList list;
    try {
        TaggedValueReader reader(bytes);
        list.ReadStrings(reader);
    } catch (const TaggedValueError &) {
        check(list.Count() == 0);
        return;
    }
    TaggedValueWriter writer;
    list.WriteStrings(writer);
    TaggedValueReader again(writer.Bytes());
    TKeywordList copy;
    copy.ReadStrings(again);
    check(again.AtEnd() && copy.Count() == list.Count());
    for (int i = 0; i < list.Count(); ++i)
        check(copy.Item(i).Keyword == list.Item(i).Keyword && copy.GetKeyAttributes(i) == list.GetKeyAttributes(i));
}

void readStartStopKeys(std::string_view bytes)
{
    TStartStopKeyList list;
    try {
        TaggedValueReader reader(bytes);
        list.ReadKeys(reader);
    } catch (const TaggedValueError &) {
        check(list.Count() == 0);
        return;
    } catch (const std::length_error &) {
        check(list.Count() == 0);
        return;
    }
    TaggedValueWriter writer;
    list.WriteKeys(writer);
    TaggedValueReader again(writer.Bytes());
    TStartStopKeyList copy;
    copy.ReadKeys(again);
    check(again.AtEnd() && copy.Count() == list.Count());
    for (int i = 0; i < list.Count(); ++i)
        check(copy.Item(i).StartText == list.Item(i).StartText && copy.Item(i).StopText == list.Item(i).StopText &&
              copy.Item(i).SameStartIndex == list.Item(i).SameStartIndex);
}

void walkValues(std::string_view bytes)
{
    TaggedValueReader reader(bytes);
    try {
        while (!reader.AtEnd()) {
            switch (reader.NextKind()) {
            case TaggedKind::ListBegin:
                reader.ReadListBegin();
                break;
            case TaggedKind::ListEnd:
                reader.ReadListEnd();
                break;
            case TaggedKind::False:
            case TaggedKind::True:
                reader.ReadBoolean();
                break;
            default:
                if (reader.NextIsInteger())
                    reader.ReadInteger();
                else
                    reader.ReadString();
            }
        }
    } catch (const TaggedValueError &) {
    }
    check(reader.Position() <= bytes.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    readKeywords(bytes);
    readStartStopKeys(bytes);
    walkValues(bytes);
    return 0;
}
