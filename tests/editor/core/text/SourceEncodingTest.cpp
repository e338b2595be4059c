#include "editor/core/text/SourceEncoding.h"

#include <gtest/gtest.h>

#include <string>

using namespace velmora::core;

namespace
{

// A lab program's first lines with a Cyrillic comment, as UTF-16.
const std::u16string kLines = u"; Лабораторная работа 3: вывод строки\r\nmov ah, 09h ; функция вывода\r\n";

std::string utf8Of(std::u16string_view text)
{
    return toFileBytes(encode(text, CodePage::Windows1251), SourceEncoding::Utf8);
}

} // namespace

TEST(SourceEncoding, EachFileEncodingIsDetectedShownAndWrittenBackByteForByte)
{
    const std::string utf8 = utf8Of(kLines);
    const std::string bom = "\xEF\xBB\xBF" + utf8;
    const std::string cp866 = encode(kLines, CodePage::Dos866);
    const std::string cp1251 = encode(kLines, CodePage::Windows1251);
    ASSERT_EQ(decode(cp866, CodePage::Dos866), kLines);
    // The UTF-8 form is real UTF-8: "Л" is D0 9B.
    ASSERT_NE(utf8.find("\xD0\x9B"), std::string::npos);

    for (const auto &[file, encoding] :
         {std::pair{utf8, SourceEncoding::Utf8}, std::pair{bom, SourceEncoding::Utf8Bom},
          std::pair{cp866, SourceEncoding::Dos866}, std::pair{cp1251, SourceEncoding::Windows1251}}) {
        EXPECT_EQ(detectEncoding(file, SourceEncoding::Windows1251), encoding) << encodingName(encoding);
        const std::optional<std::string> shown = toEditorBytes(file, encoding);
        ASSERT_TRUE(shown) << encodingName(encoding);
        EXPECT_EQ(decode(*shown, editorCodePage(encoding)), kLines) << encodingName(encoding);
        EXPECT_EQ(toFileBytes(*shown, encoding), file) << encodingName(encoding);
    }
}

TEST(SourceEncoding, AsciiAndTextWithANulByteKeepTheFallback)
{
    EXPECT_EQ(detectEncoding("mov ax, 4C00h\r\nint 21h\r\n", SourceEncoding::Dos866), SourceEncoding::Dos866);
    EXPECT_EQ(detectEncoding("", SourceEncoding::Windows1251), SourceEncoding::Windows1251);
    const std::string withNul = utf8Of(u"; текст") + std::string(1, '\0') + "x";
    EXPECT_EQ(detectEncoding(withNul, SourceEncoding::Windows1251), SourceEncoding::Windows1251);
}

TEST(SourceEncoding, BrokenUtf8IsASingleByteText)
{
    // A lead byte without its continuation, a stray continuation byte, an overlong form.
    for (const char *bytes : {"; \xD0 x", "; \x9B", "\xE0\x80\x80", "\xD0"})
        EXPECT_NE(detectEncoding(bytes, SourceEncoding::Windows1251), SourceEncoding::Utf8) << bytes;
    EXPECT_FALSE(toEditorBytes("; \xD0 x", SourceEncoding::Utf8));
}

TEST(SourceEncoding, Utf8WithACharacterThatWindows1251LacksCannotBeShown)
{
    // U+4E2D and the euro sign: only the first is missing from Windows-1251.
    EXPECT_FALSE(toEditorBytes("; \xE4\xB8\xAD", SourceEncoding::Utf8));
    const std::optional<std::string> euro = toEditorBytes("; \xE2\x82\xAC", SourceEncoding::Utf8);
    ASSERT_TRUE(euro);
    EXPECT_EQ(*euro, "; \x88");
}
