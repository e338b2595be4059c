// The encodings a source file may come in. The editor keeps single-byte text drawn through
// a code page (Windows-1251 or 866); a UTF-8 file is shown through Windows-1251 and written
// back as UTF-8, so that what was not edited is saved byte for byte.
#pragma once

#include "editor/core/text/CodePages.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::core
{

enum class SourceEncoding : std::uint8_t { Windows1251, Dos866, Utf8, Utf8Bom };

// The name the status bar shows: "Windows-1251", "CP866", "UTF-8" or "UTF-8 BOM".
const char *encodingName(SourceEncoding encoding);

// The encoding of that name; nothing for any other text.
std::optional<SourceEncoding> encodingNamed(std::string_view name);

// The code page the editor draws a text of this encoding with.
CodePage editorCodePage(SourceEncoding encoding);

// UTF-8 when the bytes start with its byte order mark, or are valid UTF-8 with bytes beyond
// ASCII; else CP866 or Windows-1251 by which of them makes the bytes beyond ASCII more
// likely Cyrillic letters; plain ASCII (or text with a NUL byte, which is loaded only up to
// it) gets fallback.
SourceEncoding detectEncoding(std::string_view bytes, SourceEncoding fallback);

// The editor's bytes for a file's bytes in encoding, or nothing when a UTF-8 text holds a
// character that Windows-1251 lacks; lines are kept as they are.
std::optional<std::string> toEditorBytes(std::string_view file, SourceEncoding encoding);

// The file's bytes for the editor's bytes in encoding; the inverse of toEditorBytes.
std::string toFileBytes(std::string_view text, SourceEncoding encoding);

} // namespace velmora::core
