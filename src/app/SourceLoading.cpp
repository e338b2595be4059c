#include "app/SourceLoading.h"

#include "editor/core/store/ParagraphsList.h"
#include "editor/widget/SourceMemo.h"

#include <new>

namespace velmora::app
{

std::int64_t loadWhole(widget::TSourceMemo &editor, std::istream &in, const MessageTexts &texts)
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
            throw core::EditorError(texts.readToEnd.toStdString());
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
        throw PartLoadedError(texts.partLoadedNoMemory.toStdString());
    } catch (const std::exception &e) {
        editor.setModified(true);
        throw PartLoadedError(texts.partLoaded.arg(QString::fromUtf8(e.what())).toStdString());
    }
    if (in.bad()) {
        editor.setModified(true);
        throw PartLoadedError(texts.partRead.toStdString());
    }
    editor.setModified(false);
    return end;
}

} // namespace velmora::app
