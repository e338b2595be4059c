// TParagraphsList: the paragraph records of one editor in a TDynArray2, with the text totals
// and the layout and highlighting progress marks (marks()). Paragraph starts and first lines are
// the array's position fields: read and write them through startOf/firstLineOf.
#pragma once

#include "editor/core/store/DynArray2.h"
#include "editor/core/store/ParagraphRecord.h"
#include "editor/core/store/ProgressMarks.h"
#include "editor/core/store/SourceMemoOptions.h"

#include <climits>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string_view>
#include <vector>

namespace velmora::core
{

struct ReplaceOptions {
    bool preserveCodes = false;         // re-insert style codes so that the text after keeps its style
    bool discardTrailingSpaces = false; // smoDiscardTrailingSpaces
};

// What a replace did. The range is given by paragraph and offset; the start may have moved
// back over trailing blanks (discardTrailingSpaces).
struct ReplaceResult {
    std::int32_t charChange = 0;
    std::int32_t lineChange = 0;
    std::int32_t visibleLineChange = 0;
    std::int32_t parChange = 0;
    bool runsCrossed = false;
    std::int32_t startPar = 0;
    std::int32_t startOffset = 0;
    std::int32_t endPar = 0; // after the inserted text
    std::int32_t endOffset = 0;
};

struct StreamOptions {
    char nullReplacement = 0;            // load: NUL bytes become this; 0 = a NUL ends the text
    bool discardTrailingSpaces = false;  // drop trailing blanks and tabs of every paragraph
    bool cleanUpCodes = false;           // save: drop redundant style-code pairs (with StaticFormat)
    TSourceLineBreak lineBreak = pbCRLF; // save: the break written between paragraphs
    std::function<void()> onProgress;    // called at most every progressInterval ms
    std::int32_t progressInterval = 300;
};

class TParagraphsList : public TDynArray2
{
public:
    TParagraphsList();
    ~TParagraphsList() override;

    ParInfo *par(std::int32_t i) const { return reinterpret_cast<ParInfo *>(item(i)); }

    std::int32_t lengthOf(std::int32_t i) const { return par(i)->length(); }
    std::string_view textOf(std::int32_t i) const
    {
        const ParInfo *p = par(i);
        return {p->text ? p->text : "", static_cast<std::size_t>(p->length())};
    }

    ProgressMarks &marks() { return marks_; }
    const ProgressMarks &marks() const { return marks_; }

    // Frees every paragraph and load buffer; the list is then empty (capacity one block) and its
    // marks those of an empty list.
    void clear();
    // Clears flag pfLinesValid everywhere and queues all paragraphs for layout.
    void invalidateLayout();
    // Records that an edit changes paragraphs p .. q, from line k of p on.
    void markChanged(std::int32_t p, std::int32_t k, std::int32_t q);

    // Replaces [(sPar, sOff), (ePar, eOff)] by text, where a 13 (with an optional 10 after it)
    // breaks the paragraph and a lone 10 is an ordinary character. Raises "Text too long"
    // before changing anything when the text or a paragraph would outgrow the limits.
    ReplaceResult replace(std::int32_t sPar, std::int32_t sOff, std::int32_t ePar, std::int32_t eOff,
                          std::string_view text, const ReplaceOptions &options);

    // Load support: a buffer owned by the list until clear(); paragraphs appended with
    // appendLoaded() point into it. finishLoad() sets the marks a completed load leaves.
    char *addLoadBuffer(std::size_t size);
    void removeLoadBuffer(const char *buffer);
    std::size_t loadBufferCount() const { return loadBuffers_.size(); }
    // Appends a paragraph of len characters at text (borrowed, NUL after it), one line long.
    void appendLoaded(char *text, std::int32_t len, std::uint8_t startStyle);
    void finishLoad();

    // Reads the bytes from the stream position to its end into fresh paragraphs (after
    // clear()): 13 10, 10 13, 13 and 10 all break a paragraph. A NUL ends the text unless
    // replaced; the stream is left at that byte. Returns the type of the last break met
    // (pbCRLF when there was none). The marks of a completed load are set also on failure.
    TSourceLineBreak loadFromStream(std::istream &in, const StreamOptions &options);
    void saveToStream(std::ostream &out, const StreamOptions &options) const;

    // Buffer size for an owned paragraph text of len characters (len + len / 64 + 1; 0 for none).
    static std::int32_t newBufferSize(std::int32_t len);

    // Settings: inline style codes on, and the largest text length a replace or a load accepts
    // (lowered by tests to reach the limit cheaply).
    bool StaticFormat = false;
    std::int32_t maxTextLength = INT32_MAX;

private:
    void shrinkIfSparse();
    ReplaceResult replaceInParagraph(std::int32_t p, std::int32_t sOff, std::int32_t eOff, std::string_view ins);

    std::vector<std::unique_ptr<char[]>> loadBuffers_;
    ProgressMarks marks_;
};

} // namespace velmora::core
