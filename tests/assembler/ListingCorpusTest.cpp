// Listings of the encodings corpus written in TASM's layout and compared with TASM's /la
// listings (and its /l listings where they differ): whole files apart from the header
// line of each page, and line by line up to the symbol table.
#include "assembler/Assembly.h"
#include "assembler/Corpus.h"
#include "assembler/ListingWriter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>

namespace velmora::assembler::test
{
namespace
{

// The listing's lines without the page header lines (they carry our name and the date).
std::vector<std::string> withoutHeaders(const std::string &listing)
{
    std::vector<std::string> lines;
    for (const std::string &line : splitLines(listing))
        if (line.find("Version") == std::string::npos || line.find("Page") == std::string::npos)
            lines.push_back(line);
    return lines;
}

// Listings we do not claim to reproduce whole, with the reason.
const std::map<std::string, std::string> unclaimed{
    {"procs_a.l.lst", "TASM's /l run orders the two local @@OK symbols the other way round"},
    {"procs_b.l.lst", "TASM's /l run orders the two local @@OK symbols the other way round"},
};

std::size_t symbolTableStart(const std::vector<std::string> &lines)
{
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i] == "Symbol Table")
            return i;
    return lines.size();
}

TEST(ListingCorpusTest, ListingsFollowTasmsLayout)
{
    const auto folder = tasmDataDir() / "encodings";
    if (!std::filesystem::exists(folder))
        GTEST_SKIP() << "the TASM corpus is not at " << folder << "; nothing to compare";
    std::vector<std::filesystem::path> listings;
    for (const auto &entry : std::filesystem::directory_iterator(folder))
        if (entry.path().string().ends_with(".lst"))
            listings.push_back(entry.path());
    std::sort(listings.begin(), listings.end());

    int files = 0, wholeFiles = 0, bodyLines = 0, bodyMatches = 0;
    for (const auto &path : listings) {
        const std::string name = path.filename().string();
        const bool expanded = name.ends_with(".la.lst");
        const std::string source = name.substr(0, name.find('.')) + ".asm";
        const auto text = readFile((folder / source).string());
        const auto expected = readFile(path.string());
        ASSERT_TRUE(text && expected) << name;
        AssemblyOptions options;
        options.keepListing = true;
        options.date = "01/15/93";
        options.time = "10:00:00";
        const Assembly assembly = assemble((folder / source).string(), *text, diskReader(), options);
        const std::string ours = writeListing(assembly, {source, expanded, "01/15/93", "10:00:00"});
        const std::vector<std::string> theirs = withoutHeaders(*expected), mine = withoutHeaders(ours);
        ++files;
        if (theirs == mine)
            ++wholeFiles;
        else
            EXPECT_TRUE(unclaimed.count(name)) << name << " differs from TASM's listing";
        const std::size_t end = symbolTableStart(theirs);
        int fileMatches = 0;
        for (std::size_t i = 0; i < end; ++i) {
            const bool same = i < mine.size() && mine[i] == theirs[i];
            fileMatches += same ? 1 : 0;
            if (!same && fileMatches + 3 > static_cast<int>(i))
                std::printf("  %s line %zu\n    TASM [%s]\n    ours [%s]\n", name.c_str(), i, theirs[i].c_str(),
                            i < mine.size() ? mine[i].c_str() : "");
        }
        bodyLines += static_cast<int>(end);
        bodyMatches += fileMatches;
        std::printf("%-16s %s, %d of %zu lines before the symbol table match\n", name.c_str(),
                    theirs == mine ? "identical" : "differs", fileMatches, end);
    }
    std::printf("listings: %d of %d files identical apart from page headers; %d of %d lines before the symbol "
                "tables match\n",
                wholeFiles, files, bodyMatches, bodyLines);
    EXPECT_EQ(bodyMatches, bodyLines);
}

} // namespace
} // namespace velmora::assembler::test
