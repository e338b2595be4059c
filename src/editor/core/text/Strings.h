// TStrings: an editable list of single-byte strings, the shape in which applications read
// and write the editor's text (the editor's Lines) and other multi-line texts.
#pragma once

#include "editor/core/text/UpdateGuard.h"

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <string>

namespace velmora::core
{

class TStrings
{
public:
    TStrings() = default;
    TStrings(const TStrings &) = delete;
    TStrings &operator=(const TStrings &) = delete;
    virtual ~TStrings() = default;

    std::int32_t Count() { return GetCount(); }
    virtual std::string Get(std::int32_t index) = 0;
    virtual void Put(std::int32_t index, const std::string &text) = 0;
    // Returns the index of the new item.
    virtual std::int32_t Add(const std::string &text) = 0;
    virtual void Insert(std::int32_t index, const std::string &text) = 0;
    virtual void Delete(std::int32_t index) = 0;
    virtual void Clear() = 0;

    std::string Text() { return GetTextStr(); }
    void setText(const std::string &text) { SetTextStr(text); }

    // Reads the bytes from the stream's position to its end as the new content.
    virtual void LoadFromStream(std::istream &in) = 0;
    virtual void SaveToStream(std::ostream &out) = 0;
    // Whole files through the two stream operations; a file that cannot be opened, read or
    // written throws EditorError naming it.
    void LoadFromFile(const std::filesystem::path &path);
    void SaveToFile(const std::filesystem::path &path);

    // Nested update brackets, paired through UpdateGuard; SetUpdateState is told when the
    // outermost one opens and closes.
    void BeginUpdate();
    void EndUpdate();

protected:
    virtual std::int32_t GetCount() = 0;
    virtual std::string GetTextStr() = 0;
    virtual void SetTextStr(const std::string &text) = 0;
    virtual void SetUpdateState(bool updating) = 0;

private:
    std::int32_t updateCount_ = 0;
};

} // namespace velmora::core
