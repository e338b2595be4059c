// The listing file in TASM's layout: per listed line the nesting digit, the line number,
// the location counter, the data field (wrapped after 20 columns with a '+') and the
// source; messages after the line they belong to; pages of 57 lines under a header; then
// the symbol table, the groups and segments and, when there were messages, an error
// summary. Runs of blanks that reach a tab stop are written as tabs, as TASM writes them.
#pragma once

#include "assembler/Assembly.h"

#include <string>

namespace velmora::assembler
{

struct ListingOptions {
    std::string title;             // the source name as typed
    bool expanded = true;          // /la; /l leaves out expansion lines without code and false blocks
    std::string date = "01/01/00"; // mm/dd/yy
    std::string time = "00:00:00";
};

std::string writeListing(const Assembly &assembly, const ListingOptions &options);

// A line with its runs of blanks that reach a tab stop (every 8 columns) replaced by tabs.
std::string retab(const std::string &line);

// A source line with its tabs expanded to blanks (stops every 8 columns).
std::string expandTabs(const std::string &line);

} // namespace velmora::assembler
