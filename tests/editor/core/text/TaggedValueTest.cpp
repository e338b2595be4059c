#include "editor/core/text/TaggedValueReader.h"
#include "editor/core/text/TaggedValueWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

using namespace velmora::core;
using namespace std::string_literals;

namespace
{

std::string written(void (*write)(TaggedValueWriter &))
{
    TaggedValueWriter writer;
    write(writer);
    return writer.Bytes();
}

} // namespace

TEST(TaggedValue, IntegersTakeTheSmallestTagAndReadBack)
{
    struct Case {
        std::int32_t value;
        std::string bytes;
    };
    const Case cases[] = {
        {0, "\x02\x00"s},
        {-128, "\x02\x80"s},
        {127, "\x02\x7F"s},
        {128, "\x03\x80\x00"s},
        {-129, "\x03\x7F\xFF"s},
        {32767, "\x03\xFF\x7F"s},
        {-32768, "\x03\x00\x80"s},
        {32768, "\x04\x00\x80\x00\x00"s},
        {16119285, "\x04\xF5\xF5\xF5\x00"s},
        {INT32_MIN, "\x04\x00\x00\x00\x80"s},
    };
    for (const auto &c : cases) {
        TaggedValueWriter writer;
        writer.WriteInteger(c.value);
        EXPECT_EQ(writer.Bytes(), c.bytes) << c.value;
        TaggedValueReader reader(writer.Bytes());
        EXPECT_TRUE(reader.NextIsInteger());
        EXPECT_EQ(reader.ReadInteger(), c.value);
        EXPECT_TRUE(reader.AtEnd());
    }
}

TEST(TaggedValue, StringsBooleansAndListMarkers)
{
    const std::string s255(255, 'a');
    const std::string s256(256, 'b');
    TaggedValueWriter writer;
    writer.WriteListBegin();
    writer.WriteString("");
    writer.WriteString(s255);
    writer.WriteString(s256);
    writer.WriteBoolean(true);
    writer.WriteBoolean(false);
    writer.WriteListEnd();
    const std::string &bytes = writer.Bytes();
    EXPECT_EQ(bytes.substr(0, 3), "\x01\x06\x00"s);
    EXPECT_EQ(bytes.substr(3, 2), "\x06\xFF"s);
    EXPECT_EQ(bytes.substr(5 + 255, 5), "\x0C\x00\x01\x00\x00"s);
    EXPECT_EQ(bytes.substr(bytes.size() - 3), "\x09\x08\x00"s);

    TaggedValueReader reader(bytes);
    reader.ReadListBegin();
    EXPECT_TRUE(reader.NextIsString());
    EXPECT_EQ(reader.ReadString(), "");
    EXPECT_EQ(reader.ReadString(), s255);
    EXPECT_EQ(reader.ReadString(), s256);
    EXPECT_TRUE(reader.ReadBoolean());
    EXPECT_FALSE(reader.ReadBoolean());
    EXPECT_TRUE(reader.NextIsListEnd());
    reader.ReadListEnd();
    EXPECT_TRUE(reader.AtEnd());
}

TEST(TaggedValue, TextBeyondAsciiTravelsAsUtf8AndWideStringsAreAccepted)
{
    // Windows-1251 "\xCF\xF0\xE8" is Cyrillic "При".
    const std::string bytes = written([](TaggedValueWriter &w) { w.WriteString("\xCF\xF0\xE8!"); });
    EXPECT_EQ(bytes, "\x14\x07\x00\x00\x00\xD0\x9F\xD1\x80\xD0\xB8!"s);
    TaggedValueReader utf8(bytes);
    EXPECT_EQ(utf8.ReadString(), "\xCF\xF0\xE8!");

    // Wide: "Пa" followed by a character no code page holds.
    const std::string wideBytes = "\x12\x03\x00\x00\x00\x1F\x04\x61\x00\x00\x4E"s;
    TaggedValueReader wide(wideBytes);
    EXPECT_EQ(wide.ReadString(), "\xCF"
                                 "a?");

    // A broken UTF-8 sequence, a lone continuation byte and a surrogate become '?' each,
    // and the bytes after them are kept.
    const std::string brokenBytes = "\x14\x08\x00\x00\x00\xD0\x41\x80\xED\xA0\x80\xD1\x8F"s;
    TaggedValueReader broken(brokenBytes);
    EXPECT_EQ(broken.ReadString(), "?A??\xFF");
}

TEST(TaggedValue, MalformedDataFailsWithoutReadingPastTheBuffer)
{
    const auto fails = [](const std::string &bytes, auto read) {
        // A copy on the heap of exactly the given size, so the sanitizer sees any overrun.
        const std::unique_ptr<char[]> exact(new char[bytes.size() + 1]);
        std::copy(bytes.begin(), bytes.end(), exact.get());
        TaggedValueReader reader(std::string_view(exact.get(), bytes.size()));
        try {
            read(reader);
        } catch (const TaggedValueError &e) {
            return std::string(e.what()).starts_with("Invalid stored value at offset ");
        }
        return false;
    };
    const auto readString = [](TaggedValueReader &r) { r.ReadString(); };
    const auto readInteger = [](TaggedValueReader &r) { r.ReadInteger(); };

    EXPECT_TRUE(fails("", readInteger));
    EXPECT_TRUE(fails("\x03\x01"s, readInteger));         // 16-bit integer cut short
    EXPECT_TRUE(fails("\x04\x01\x02\x03"s, readInteger)); // 32-bit integer cut short
    EXPECT_TRUE(fails("\x06\x05"s
                      "abcd",
                      readString)); // short string cut short
    EXPECT_TRUE(fails("\x0C\xFF\xFF\xFF\xFF"s
                      "abc",
                      readString)); // absurd length
    EXPECT_TRUE(fails("\x14\x00\x00\x00\x80"s
                      "abc",
                      readString)); // absurd UTF-8 length
    EXPECT_TRUE(fails("\x12\xFF\xFF\xFF\x7F"s
                      "ab",
                      readString)); // absurd wide length
    EXPECT_TRUE(fails("\x12\x02\x00\x00\x00"s
                      "abc",
                      readString));                      // odd byte count: 3 of 4
    EXPECT_TRUE(fails("\x12\x02\x00\x00"s, readString)); // length itself cut short
    EXPECT_TRUE(fails("\x06\x01"
                      "a",
                      readInteger)); // wrong kind
    EXPECT_TRUE(fails("\x02\x01", readString));
    EXPECT_TRUE(fails("\x07", readString)); // unknown tag
    EXPECT_TRUE(fails("\x02\x01", [](TaggedValueReader &r) { r.ReadBoolean(); }));
    EXPECT_TRUE(fails("\x00"s, [](TaggedValueReader &r) { r.ReadListBegin(); }));
    EXPECT_TRUE(fails("\x01", [](TaggedValueReader &r) { r.ReadListEnd(); }));
}

TEST(TaggedValue, ErrorsNameTheOffset)
{
    const std::string bytes = "\x02\x05\x07";
    TaggedValueReader reader(bytes);
    reader.ReadInteger();
    try {
        reader.ReadInteger();
        FAIL() << "an unknown tag was read";
    } catch (const TaggedValueError &e) {
        EXPECT_STREQ(e.what(), "Invalid stored value at offset 2: unknown value tag 7");
    }
}
