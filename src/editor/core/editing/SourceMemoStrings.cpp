// What both views of the editor's text share: whole text, streams, the stored "Strings"
// property and the shared write steps.
#include "editor/core/editing/SourceMemoStrings.h"

#include "editor/core/editing/SourceMemoCore.h"
#include "editor/core/text/TaggedValueReader.h"
#include "editor/core/text/TaggedValueWriter.h"

#include <ostream>
#include <sstream>

namespace velmora::core
{

namespace
{

// A stored item ending with this character continues in the next item.
constexpr char kContinued = 5;

} // namespace

void TSourceMemoStrings::Assign(TStrings &source)
{
    std::stringstream buffer;
    if (auto *view = dynamic_cast<TSourceMemoStrings *>(&source))
        view->memo().SaveToStream(buffer);
    else
        source.SaveToStream(buffer);
    memo_.LoadFromStream(buffer);
}

void TSourceMemoStrings::Assign(const std::vector<std::string> &strings)
{
    std::stringstream buffer;
    for (const std::string &s : strings)
        buffer << s << "\r\n";
    memo_.LoadFromStream(buffer);
}

void TSourceMemoStrings::Clear()
{
    memo_.Clear();
}

void TSourceMemoStrings::LoadFromStream(std::istream &in)
{
    memo_.LoadFromStream(in);
}

void TSourceMemoStrings::SaveToStream(std::ostream &out)
{
    const std::string text = GetTextStr();
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

std::string TSourceMemoStrings::GetTextStr()
{
    return memo_.textRange(0, memo_.TextLength());
}

void TSourceMemoStrings::SetTextStr(const std::string &text)
{
    memo_.SetTextBuf(text.c_str());
}

void TSourceMemoStrings::SetUpdateState(bool updating)
{
    if (updating)
        memo_.BeginUpdate();
    else
        memo_.EndUpdate();
}

bool TSourceMemoStrings::StringsStored() const
{
    return memo_.TextLength() > 0;
}

void TSourceMemoStrings::WriteStrings(TaggedValueWriter &writer) const
{
    const TParagraphsList &pars = memo_.paragraphs();
    writer.WriteListBegin();
    for (std::int32_t i = 0; i < pars.count(); ++i) {
        const std::string_view text = pars.textOf(i);
        if (!text.empty() && text.back() == kContinued) {
            // Doubled and followed by an empty item, so that a reader keeps the character.
            writer.WriteString(std::string(text) + kContinued);
            writer.WriteString({});
        } else {
            writer.WriteString(text);
        }
    }
    writer.WriteListEnd();
}

void TSourceMemoStrings::ReadStrings(TaggedValueReader &reader)
{
    std::vector<std::string> paragraphs;
    reader.ReadListBegin();
    while (!reader.NextIsListEnd()) {
        const bool wide = reader.NextKind() == TaggedKind::WideString;
        std::string item = reader.ReadString();
        std::string text;
        while (!wide && !item.empty() && item.back() == kContinued) {
            item.pop_back();
            text += item;
            item = reader.NextIsListEnd() ? std::string() : reader.ReadString();
        }
        text += item;
        paragraphs.push_back(std::move(text));
    }
    reader.ReadListEnd();

    UpdateGuard update(memo_);
    memo_.Clear();
    for (std::size_t k = 0; k < paragraphs.size(); ++k)
        memo_.setParagraphText(k == 0 ? 0 : memo_.ParagraphCount(), paragraphs[k].c_str());
}

void TSourceMemoStrings::appendParagraph(const std::string &text)
{
    const std::int32_t last = memo_.ParagraphCount() - 1;
    if (memo_.paragraphs().lengthOf(last) > 0)
        memo_.setParagraphText(last + 1, text.c_str());
    else
        memo_.setParagraphText(last, (text + "\r\n").c_str());
}

void TSourceMemoStrings::insertAt(std::int32_t start, const std::string &text)
{
    replaceRange(start, 0, text.c_str());
}

void TSourceMemoStrings::replaceRange(std::int32_t start, std::int32_t length, const char *text)
{
    memo_.setSelLength(0);
    memo_.setSelStart(start);
    memo_.setSelLength(length);
    memo_.SetSelTextBuf(text);
}

} // namespace velmora::core
