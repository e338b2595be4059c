// The ".kbn" file: a header string naming the list's kind, then the list as stored in
// tagged values.
#include "editor/core/keyfiles/KeywordFiles.h"

#include "editor/core/keyfiles/KeywordList.h"
#include "editor/core/keyfiles/StartStopKeyList.h"
#include "editor/core/text/TaggedValueReader.h"
#include "editor/core/text/TaggedValueWriter.h"

namespace velmora::core
{

namespace
{

// Reads the header string; anything but `header` there means the file holds no list of
// the expected kind.
void expectHeader(TaggedValueReader &reader, const char *header, const char *invalidMessage)
{
    try {
        if (!reader.AtEnd() && reader.NextIsString() && reader.ReadString() == header)
            return;
    } catch (const TaggedValueError &) {
    }
    throw KeywordFileError(invalidMessage);
}

} // namespace

std::string kbnBytes(const TKeywordList &list)
{
    TaggedValueWriter writer;
    writer.WriteString(kKbnKeywordHeader);
    list.WriteStrings(writer);
    return writer.Bytes();
}

std::string kbnBytes(const TStartStopKeyList &list)
{
    TaggedValueWriter writer;
    writer.WriteString(kKbnStartStopHeader);
    list.WriteKeys(writer);
    return writer.Bytes();
}

void readKbn(std::string_view bytes, TKeywordList &list)
{
    TaggedValueReader reader(bytes);
    expectHeader(reader, kKbnKeywordHeader, kInvalidKeywordFile);
    list.ReadStrings(reader);
}

void readKbn(std::string_view bytes, TStartStopKeyList &list)
{
    TaggedValueReader reader(bytes);
    expectHeader(reader, kKbnStartStopHeader, kInvalidStartStopFile);
    list.ReadKeys(reader);
}

void loadKbnFile(const std::filesystem::path &path, TKeywordList &list)
{
    readKbn(readKeywordFileBytes(path), list);
}

void loadKbnFile(const std::filesystem::path &path, TStartStopKeyList &list)
{
    readKbn(readKeywordFileBytes(path), list);
}

} // namespace velmora::core
