#include "editor/widget/EditorTexts.h"

namespace velmora::widget
{

namespace
{

EditorTexts &texts()
{
    static EditorTexts instance;
    return instance;
}

} // namespace

const EditorTexts &editorTexts()
{
    return texts();
}

void setEditorTexts(const EditorTexts &replacement)
{
    texts() = replacement;
}

} // namespace velmora::widget
