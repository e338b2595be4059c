// Damaged object files give an OmfError that says what is wrong and where, never a crash.
#include "assembler/omf/OmfFraming.h"
#include "assembler/omf/OmfReader.h"
#include "assembler/omf/OmfWriter.h"

#include <gtest/gtest.h>

namespace velmora::assembler::omf
{
namespace
{

std::vector<std::uint8_t> validObject()
{
    ObjectModule module;
    module.records.push_back(Theadr{"t.asm"});
    module.records.push_back(Lnames{{"", "_TEXT", "CODE"}});
    Segdef seg;
    seg.length = 4;
    seg.nameIndex = 2;
    seg.classIndex = 3;
    module.records.push_back(seg);
    module.records.push_back(Ledata{1, 0, {0x90, 0x90, 0xC3, 0x00}});
    module.records.push_back(Modend{});
    return writeObject(module);
}

// The message of the error reading `bytes` throws, or "" when it reads.
std::string readError(const std::vector<std::uint8_t> &bytes, std::size_t *offset = nullptr)
{
    try {
        readObject(bytes);
    } catch (const OmfError &error) {
        if (offset)
            *offset = error.offset();
        return error.what();
    }
    return "";
}

// One framed record with a valid checksum around a body the test chooses.
std::vector<std::uint8_t> record(std::uint8_t type, const std::vector<std::uint8_t> &body)
{
    std::vector<std::uint8_t> out;
    appendRecord(out, type, body);
    return out;
}

std::vector<std::uint8_t> withModend(std::vector<std::uint8_t> bytes)
{
    const auto end = record(MODEND, {0});
    bytes.insert(bytes.end(), end.begin(), end.end());
    return bytes;
}

TEST(OmfReaderErrorTest, TruncatedFilesAreReportedAtTheirLastRecord)
{
    const std::vector<std::uint8_t> bytes = validObject();
    EXPECT_EQ(readError(bytes), "");
    for (std::size_t cut = 1; cut < bytes.size(); ++cut) {
        SCOPED_TRACE(cut);
        const std::vector<std::uint8_t> part(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
        const std::string message = readError(part);
        EXPECT_TRUE(message.starts_with("Truncated record") || message.starts_with("Object file ends without MODEND"))
            << message;
    }
}

TEST(OmfReaderErrorTest, BadChecksumNamesTheRecordOffset)
{
    std::vector<std::uint8_t> bytes = validObject();
    const std::size_t theadrLength = bytes[1] + 3u;
    bytes[theadrLength + 4] ^= 0x01; // a byte of the LNAMES body
    std::size_t offset = 0;
    EXPECT_TRUE(readError(bytes, &offset).starts_with("Bad checksum"));
    EXPECT_EQ(offset, theadrLength);
}

TEST(OmfReaderErrorTest, ZeroChecksumIsAccepted)
{
    std::vector<std::uint8_t> bytes = validObject();
    bytes[bytes[1] + 2u] = 0; // THEADR's checksum byte
    EXPECT_EQ(readError(bytes), "");
}

TEST(OmfReaderErrorTest, UnknownAndMalformedRecordsAreNamed)
{
    EXPECT_TRUE(readError(withModend(record(0xB0, {1, 2, 3}))).starts_with("Unknown record type B0h"));
    EXPECT_TRUE(readError(withModend(record(0x91, {0, 0}))).starts_with("Unknown record type 91h"));
    // A name whose length byte runs past the record.
    EXPECT_TRUE(readError(withModend(record(THEADR, {9, 'a'}))).starts_with("Record ends inside a field"));
    // A SEGDEF with one byte too many.
    EXPECT_TRUE(readError(withModend(record(SEGDEF, {0x48, 0, 0, 1, 1, 1, 7})))
                    .starts_with("Record has bytes after its last field"));
    // A group component that is not a segment.
    EXPECT_TRUE(readError(withModend(record(GRPDEF, {1, 0xFE, 1}))).starts_with("Group component"));
    // A fixup with frame method 6.
    EXPECT_TRUE(readError(withModend(record(FIXUPP, {0xC4, 0x00, 0x64, 0x01}))).starts_with("Invalid fixup frame"));
    // A record length of zero leaves no room for the checksum.
    EXPECT_TRUE(readError(withModend({THEADR, 0, 0})).starts_with("Record without checksum byte"));
}

TEST(OmfReaderErrorTest, IteratedDataLargerThanASegmentIsRefused)
{
    // 0x100 copies of 0x100 copies of two bytes: 128K.
    const std::vector<std::uint8_t> body{1, 0, 0, 0x00, 0x01, 1, 0, 0x00, 0x01, 0, 0, 2, 0xAA, 0xBB};
    EXPECT_TRUE(readError(withModend(record(LIDATA, body))).starts_with("Iterated data larger than a segment"));
}

} // namespace
} // namespace velmora::assembler::omf
