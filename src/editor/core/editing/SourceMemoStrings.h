// The editor's text as lists of strings: TSourceMemoStrings holds what both views share
// (whole text, streams, the stored "Strings" property, the wide-string variants);
// TSourceParaStrings has the paragraphs as items and TSourceLinesStrings the display lines.
// Every write becomes selection moves and replaces of the editor, so undo, navigators and
// change notifications stay consistent.
#pragma once

#include "editor/core/text/CodePages.h"
#include "editor/core/text/Strings.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::core
{

class TSourceMemoCore;
class TaggedValueReader;
class TaggedValueWriter;

class TSourceMemoStrings : public TStrings
{
public:
    TSourceMemoCore &memo() const { return memo_; }

    // From another editor's view: that editor's saved text; from any other list: the list's
    // own stream form. Either way this editor loads it.
    void Assign(TStrings &source);
    // Each string followed by 13, 10, loaded as a stream.
    void Assign(const std::vector<std::string> &strings);

    void Clear() override;
    void LoadFromStream(std::istream &in) override;
    // Breaks are always 13, 10 here, whatever the editor's LineBreak.
    void SaveToStream(std::ostream &out) override;

    // The code page of the wide-string variants (the editor font's, Windows-1251 by default).
    CodePage codePage() const { return codePage_; }
    void setCodePage(CodePage codePage) { codePage_ = codePage; }
    std::u16string GetWide(std::int32_t index) { return decode(Get(index), codePage_); }
    void PutWide(std::int32_t index, std::u16string_view text) { Put(index, encode(text, codePage_)); }
    void InsertWide(std::int32_t index, std::u16string_view text) { Insert(index, encode(text, codePage_)); }

    // The stored property "Strings": one string item per paragraph, stored only when the
    // editor holds text. Reading replaces the text only when the whole list reads; malformed
    // data throws TaggedValueError and leaves the text as it was.
    bool StringsStored() const;
    void WriteStrings(TaggedValueWriter &writer) const;
    void ReadStrings(TaggedValueReader &reader);

protected:
    explicit TSourceMemoStrings(TSourceMemoCore &memo) : memo_(memo) {}

    std::string GetTextStr() override;
    void SetTextStr(const std::string &text) override;
    void SetUpdateState(bool updating) override;

    // Appends s as a paragraph: into the last paragraph when that is empty (and a new empty
    // one after it), after a new break otherwise.
    void appendParagraph(const std::string &text);
    // No selection, the caret at position start, and text inserted there.
    void insertAt(std::int32_t start, const std::string &text);
    // Selects length characters from start and replaces them by text (null deletes).
    void replaceRange(std::int32_t start, std::int32_t length, const char *text);

private:
    TSourceMemoCore &memo_;
    CodePage codePage_ = CodePage::Windows1251;
};

// Items are paragraphs; an empty last paragraph (a text ending with a break) is not counted.
class TSourceParaStrings : public TSourceMemoStrings
{
public:
    explicit TSourceParaStrings(TSourceMemoCore &memo) : TSourceMemoStrings(memo) {}

    // ERangeError "List index out of bounds" outside the paragraphs.
    std::string Get(std::int32_t index) override;
    // Beyond the last paragraph, empty paragraphs are appended up to index.
    void Put(std::int32_t index, const std::string &text) override;
    std::int32_t Add(const std::string &text) override;
    void Insert(std::int32_t index, const std::string &text) override;
    void Delete(std::int32_t index) override;

protected:
    std::int32_t GetCount() override;
};

// Items are display lines (with word wrap off, paragraphs); this is the editor's Lines.
// Writes beyond the end do nothing, and each write scrolls the caret into view.
class TSourceLinesStrings : public TSourceMemoStrings
{
public:
    explicit TSourceLinesStrings(TSourceMemoCore &memo) : TSourceMemoStrings(memo) {}

    // With word wrap on, lays out up to the line and reads it (empty beyond the lines); with
    // word wrap off, the paragraph's first line ("List index out of bounds" beyond them).
    std::string Get(std::int32_t index) override;
    void Put(std::int32_t index, const std::string &text) override;
    std::int32_t Add(const std::string &text) override;
    void Insert(std::int32_t index, const std::string &text) override;
    void Delete(std::int32_t index) override;

protected:
    std::int32_t GetCount() override;

private:
    // Lays out up to display line index and returns the line count then.
    std::int32_t lineCountThrough(std::int32_t index);
    struct LineSpan {
        std::int32_t start = 0;
        std::int32_t length = 0;
        bool endsParagraph = false;
        bool lastParagraph = false;
    };
    LineSpan lineSpan(std::int32_t index);
    void scrollCaretIntoView();
};

} // namespace velmora::core
