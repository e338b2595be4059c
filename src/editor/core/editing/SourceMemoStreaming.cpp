// Loading and saving the editor's text, paragraph writes, and the settings that reload it.
#include "editor/core/editing/SourceMemoCore.h"

#include <sstream>

namespace velmora::core
{

StreamOptions TSourceMemoCore::streamOptions()
{
    StreamOptions o;
    o.nullReplacement = nullReplacement_;
    o.discardTrailingSpaces = options_[smoDiscardTrailingSpaces];
    o.cleanUpCodes = codeCleanUp;
    o.lineBreak = lineBreak_;
    o.progressInterval = progressInterval_;
    if (OnProgress)
        o.onProgress = [this] { OnProgress(*this); };
    return o;
}

void TSourceMemoCore::LoadFromStream(std::istream &in)
{
    ++updateCount_;
    const std::int32_t oldLines = pars_.marks().lineCount();
    pars_.clear();
    for (TSourceNavigator *nav : {selStart_, selEnd_, scratch_, caret_})
        nav->invalidate();
    upperCache_.drop();
    ClearUndo();
    TSourceLineBreak found = pbCRLF;
    try {
        found = pars_.loadFromStream(in, streamOptions());
    } catch (...) {
        // The store is whole again; every navigator goes to the start of what was read.
        for (TSourceNavigator *nav : navigators_) {
            nav->invalidate();
            nav->pos_ = 0;
        }
        selLength_ = 0;
        origin_ = selStart_;
        --updateCount_;
        throw;
    }
    if (options_[smoAutoLineBreak])
        lineBreak_ = found;
    selLength_ = 0;
    overshoot_ = 0;
    origin_ = selStart_;
    view_->dropCaretX();
    for (TSourceNavigator *nav : navigators_) {
        nav->invalidate();
        nav->pos_ = 0;
    }
    modified_ = true;
    if (OnParse)
        OnParse(*this, 0, pars_.marks().textLength());
    --updateCount_;
    if (OnProgress)
        OnProgress(*this);
    if (updateCount_ > 0)
        pars_.marks().setPendingVisibleChange(oldLines - pars_.marks().lineCount());
    else
        pars_.marks().changesTaken(pars_.count());
    view_->textLoaded(updateCount_ == 0);
    view_->notifyTextChanged();
    if (OnChange)
        OnChange(*this);
}

void TSourceMemoCore::SaveToStream(std::ostream &out)
{
    pars_.saveToStream(out, streamOptions());
}

void TSourceMemoCore::setParagraphText(std::int32_t i, const char *text)
{
    const std::int32_t originPar = SelPar();
    if (i == originPar)
        setSelStart(pars_.startOf(i));
    std::int32_t c = SelStart();
    const std::int32_t d = SelLength();
    UpdateGuard update(*this);
    while (i >= pars_.count()) {
        setSelLength(0);
        setSelStart(pars_.marks().textLength());
        SetSelTextBuf("\r\n");
    }
    const std::int32_t oldLength = pars_.lengthOf(i);
    setSelStart(pars_.startOf(i));
    setSelLength(oldLength);
    SetSelTextBuf(text);
    update.close();
    if (i < originPar)
        c += pars_.lengthOf(i) - oldLength;
    setSelStart(c);
    if (i != originPar)
        setSelLength(d);
}

void TSourceMemoCore::reload()
{
    const bool modified = modified_;
    std::stringstream buffer;
    SaveToStream(buffer);
    LoadFromStream(buffer);
    modified_ = modified;
}

void TSourceMemoCore::setStaticFormat(bool on)
{
    if (pars_.StaticFormat == on)
        return;
    pars_.StaticFormat = on;
    if (pars_.marks().textLength() > 0)
        reload();
}

void TSourceMemoCore::setOptions(const TSourceMemoOptions &options)
{
    const bool discardSwitchedOn = options[smoDiscardTrailingSpaces] && !options_[smoDiscardTrailingSpaces];
    options_ = options;
    if (discardSwitchedOn)
        reload();
}

} // namespace velmora::core
