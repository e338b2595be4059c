// Source files as lines, and the lines the assembler reads after macro expansion, each
// with its origin: the file and line, the macro nesting level and, inside a macro, the
// macro's name and the line within it (messages show "SHOW(4)").
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::assembler
{

// The lines of a file: CR LF or LF ends, a last line without an end kept, a DOS end-of-file
// byte (1Ah) ends the text.
std::vector<std::string> splitLines(std::string_view text);

// Reads an included or main source file by path; empty when it cannot be opened.
using FileReader = std::function<std::optional<std::string>(const std::string &path)>;

struct SourceLine {
    std::string text;
    int file = 0;             // index into the expander's file names
    int line = 0;             // 1-based; for an expansion, the line of the outermost call
    int level = 0;            // macro, REPT or IRP nesting
    int includeDepth = 0;     // 1 for a line of an included file, 2 for one it includes
    std::string macroName;    // the innermost macro (empty for REPT/IRP or level 0)
    int macroLine = 0;        // line within that macro's body
    std::string callerText;   // for an expansion, the text of the outermost calling line
    bool skipped = false;     // in a false conditional block: listed, not assembled
    bool quiet = false;       // read by the expander (definitions, conditions): not assembled
    bool labelOnly = false;   // a label before a macro call: only the label is assembled
    bool conditional = false; // IF, ELSE or ENDIF: decided by the expander
};

} // namespace velmora::assembler
