#include "app/SourceLoading.h"

#include "editor/core/ParagraphsList.h"
#include "editor/widget/SourceMemo.h"

#include <new>

namespace velmora::app
{

namespace
{

[[noreturn]] void readError()
{
    throw core::EditorError("The file could not be read to its end.");
}

} // namespace

std::int64_t loadWhole(widget::TSourceMemo &editor, std::istream &in)
{
    const std::streampos origin = in.tellg();
    std::streamoff end = -1;
    {
        core::TParagraphsList trial;
        trial.maxTextLength = editor.paragraphs().maxTextLength;
        trial.StaticFormat = editor.StaticFormat();
        core::StreamOptions options;
        options.nullReplacement = editor.NullReplacement();
        options.discardTrailingSpaces = editor.Options()[core::smoDiscardTrailingSpaces];
        trial.loadFromStream(in, options);
        if (in.bad())
            readError();
        // The load stops at a NUL byte and leaves the stream there; at the end it hits EOF.
        in.clear();
        end = in.tellg() - origin;
        in.seekg(0, std::ios::end);
        if (in.tellg() - origin == end)
            end = -1;
    }
    in.clear();
    in.seekg(origin);
    try {
        editor.Lines().LoadFromStream(in);
    } catch (const std::bad_alloc &) {
        editor.setModified(true);
        throw PartLoadedError("Not enough memory: only part of the file could be loaded.");
    } catch (const std::exception &e) {
        editor.setModified(true);
        throw PartLoadedError(std::string(e.what()) + ": only part of the file could be loaded.");
    }
    if (in.bad()) {
        editor.setModified(true);
        throw PartLoadedError("The file could not be read to its end: only part of it was loaded.");
    }
    editor.setModified(false);
    return end;
}

} // namespace velmora::app
