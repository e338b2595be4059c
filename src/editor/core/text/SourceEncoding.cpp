#include "editor/core/text/SourceEncoding.h"

#include <algorithm>

namespace velmora::core
{

namespace
{

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// Decodes the UTF-8 bytes into UTF-16; nothing when they are not valid UTF-8 or hold a
// character beyond the 16-bit plane (no source character needs one).
std::optional<std::u16string> decodeUtf8(std::string_view bytes)
{
    std::u16string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        int extra = 0;
        char32_t c = lead;
        if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
            c = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            c = lead & 0x0F;
        } else if (lead >= 0x80) {
            return std::nullopt;
        }
        if (i + static_cast<std::size_t>(extra) >= bytes.size())
            return std::nullopt;
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            c = (c << 6) | (next & 0x3F);
        }
        // Overlong three-byte forms and surrogates are not valid UTF-8.
        if (extra == 2 && (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF)))
            return std::nullopt;
        out += static_cast<char16_t>(c);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

// How Cyrillic the bytes beyond ASCII look in a code page: letters count, the common
// lower-case ones (о, е, а, и, н, т, с, р) twice, anything else against it.
long cyrillicScore(std::string_view bytes, CodePage cp)
{
    static constexpr std::u16string_view kCommon = u"оеаинтср";
    const auto &table = toUnicodeTable(cp);
    long score = 0;
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        if (u < 0x80)
            continue;
        const char16_t c = table[u];
        if (kCommon.find(c) != std::u16string_view::npos)
            score += 2;
        else if ((c >= u'А' && c <= u'я') || c == u'ё' || c == u'Ё')
            score += 1;
        else
            score -= 2;
    }
    return score;
}

} // namespace

const char *encodingName(SourceEncoding encoding)
{
    switch (encoding) {
    case SourceEncoding::Dos866:
        return "CP866";
    case SourceEncoding::Utf8:
        return "UTF-8";
    case SourceEncoding::Utf8Bom:
        return "UTF-8 BOM";
    case SourceEncoding::Windows1251:
        break;
    }
    return "Windows-1251";
}

std::optional<SourceEncoding> encodingNamed(std::string_view name)
{
    for (const auto encoding :
         {SourceEncoding::Windows1251, SourceEncoding::Dos866, SourceEncoding::Utf8, SourceEncoding::Utf8Bom})
        if (name == encodingName(encoding))
            return encoding;
    return std::nullopt;
}

CodePage editorCodePage(SourceEncoding encoding)
{
    return encoding == SourceEncoding::Dos866 ? CodePage::Dos866 : CodePage::Windows1251;
}

SourceEncoding detectEncoding(std::string_view bytes, SourceEncoding fallback)
{
    if (bytes.find('\0') != std::string_view::npos)
        return fallback;
    if (bytes.starts_with(kBom) && decodeUtf8(bytes.substr(kBom.size())))
        return SourceEncoding::Utf8Bom;
    const bool ascii =
        std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii)
        return fallback;
    if (decodeUtf8(bytes))
        return SourceEncoding::Utf8;
    return cyrillicScore(bytes, CodePage::Dos866) > cyrillicScore(bytes, CodePage::Windows1251)
               ? SourceEncoding::Dos866
               : SourceEncoding::Windows1251;
}

std::optional<std::string> toEditorBytes(std::string_view file, SourceEncoding encoding)
{
    if (encoding != SourceEncoding::Utf8 && encoding != SourceEncoding::Utf8Bom)
        return std::string(file);
    if (encoding == SourceEncoding::Utf8Bom && file.starts_with(kBom))
        file.remove_prefix(kBom.size());
    const std::optional<std::u16string> text = decodeUtf8(file);
    if (!text)
        return std::nullopt;
    std::string bytes = encode(*text, CodePage::Windows1251);
    // encode writes '?' for what the code page lacks: such a text cannot be shown whole.
    if (decode(bytes, CodePage::Windows1251) != *text)
        return std::nullopt;
    return bytes;
}

std::string toFileBytes(std::string_view text, SourceEncoding encoding)
{
    switch (encoding) {
    case SourceEncoding::Utf8:
        return encodeUtf8(decode(text, CodePage::Windows1251));
    case SourceEncoding::Utf8Bom:
        return std::string(kBom) + encodeUtf8(decode(text, CodePage::Windows1251));
    default:
        return std::string(text);
    }
}

} // namespace velmora::core
