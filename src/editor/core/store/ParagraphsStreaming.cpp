// Loading paragraphs from a byte stream into large load buffers, and saving them.
#include "editor/core/text/EditorErrors.h"
#include "editor/core/store/ParagraphsList.h"
#include "editor/core/text/StyleCodes.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <istream>
#include <ostream>
#include <string>

namespace velmora::core
{

namespace
{

constexpr std::size_t kChunk = 65500;
// Finished paragraphs shorter than this in a read buffer move to an exact-size copy.
constexpr std::size_t kCopySmallerThan = 57313;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Calls onProgress when more than the interval has passed since the last call.
class ProgressClock
{
public:
    explicit ProgressClock(const StreamOptions &options) : options_(options) {}
    void tick(bool force = false)
    {
        if (!options_.onProgress)
            return;
        const auto now = std::chrono::steady_clock::now();
        if (force || now - last_ > std::chrono::milliseconds(options_.progressInterval)) {
            last_ = now;
            options_.onProgress();
        }
    }

private:
    const StreamOptions &options_;
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

} // namespace

TSourceLineBreak TParagraphsList::loadFromStream(std::istream &in, const StreamOptions &options)
{
    struct Finish {
        TParagraphsList &list;
        ~Finish()
        {
            if (list.count() == 0)
                list.appendLoaded(nullptr, 0, 0);
            list.finishLoad();
        }
    } finish{*this};

    ProgressClock progress(options);
    const std::streamoff origin = in.tellg();
    std::streamoff consumed = 0; // bytes read from the stream so far
    char *buf = addLoadBuffer(kChunk + 1);
    const auto readChunk = [&](char *to) {
        in.read(to, static_cast<std::streamsize>(kChunk));
        const auto got = static_cast<std::size_t>(in.gcount());
        consumed += static_cast<std::streamoff>(got);
        if (options.nullReplacement)
            std::replace(to, to + got, '\0', options.nullReplacement);
        return got;
    };
    std::size_t filled = readChunk(buf);
    std::size_t first = 0;                // where the unfinished paragraph starts in buf
    std::int32_t firstInBuffer = count(); // the first paragraph pointing into buf
    std::uint8_t style = 0, parStyle = 0;
    char previousBreak = 0;
    TSourceLineBreak type = pbCRLF;

    const auto endParagraph = [&](std::size_t end) {
        std::size_t len = end - first;
        if (options.discardTrailingSpaces)
            while (len > 0 && isBlank(buf[first + len - 1]))
                --len;
        buf[first + len] = 0;
        const std::int64_t start = count() == 0 ? 0 : static_cast<std::int64_t>(marks_.textLength()) + 2;
        if (start + static_cast<std::int64_t>(len) > maxTextLength)
            throw EditorError(kTextTooLong);
        appendLoaded(buf + first, static_cast<std::int32_t>(len), parStyle);
        if (count() % 16 == 0)
            progress.tick();
    };

    // Moves the finished paragraphs of buf (its first used bytes) to an exact-size copy when
    // they are few, and frees buf.
    const auto keepFinished = [&](std::size_t used) {
        if (used >= kCopySmallerThan)
            return;
        char *copy = addLoadBuffer(used);
        std::memcpy(copy, buf, used);
        for (std::int32_t p = firstInBuffer; p < count(); ++p)
            if (par(p)->text)
                par(p)->text = copy + (par(p)->text - buf);
        removeLoadBuffer(buf);
    };

    for (std::size_t i = 0;; ++i) {
        if (i == filled) {
            if (in.peek() == std::char_traits<char>::eof())
                break;
            // Move the unfinished paragraph to a new buffer and read the next chunk behind it.
            const std::size_t unfinished = filled - first;
            char *next = addLoadBuffer(unfinished + kChunk + 1);
            std::memcpy(next, buf + first, unfinished);
            if (count() == firstInBuffer)
                removeLoadBuffer(buf);
            else
                keepFinished(first);
            buf = next;
            first = 0;
            i = unfinished;
            filled = unfinished + readChunk(buf + unfinished);
            firstInBuffer = count();
            if (i == filled)
                break;
        }
        const char c = buf[i];
        if (c == 0) { // only without a replacement: the text ends here
            in.clear();
            in.seekg(origin + consumed - static_cast<std::streamoff>(filled - i));
            filled = i;
            break;
        }
        if ((c == 13 || c == 10) && previousBreak && c != previousBreak) {
            type = c == 10 ? pbCRLF : pbLFCR;
            previousBreak = 0;
            first = i + 1;
            continue;
        }
        if (c == 13 || c == 10) {
            type = c == 13 ? pbCR : pbLF;
            previousBreak = c;
            endParagraph(i);
            parStyle = style;
            first = i + 1;
            continue;
        }
        previousBreak = 0;
        if (StaticFormat)
            style ^= styleBitOf(static_cast<unsigned char>(c));
    }
    endParagraph(filled);
    keepFinished(filled + 1);
    progress.tick(true);
    return type;
}

void TParagraphsList::saveToStream(std::ostream &out, const StreamOptions &options) const
{
    static constexpr std::string_view kBreaks[] = {"\r\n", "\n\r", "\r", "\n"};
    const std::string_view lineBreak = kBreaks[options.lineBreak];
    ProgressClock progress(options);
    std::string copy;
    for (std::int32_t i = 0; i < count(); ++i) {
        std::string_view text = textOf(i);
        std::size_t a, b;
        if (StaticFormat && options.cleanUpCodes && findRedundantCodePair(text, a, b)) {
            copy.assign(text);
            do {
                copy.erase(b, 1);
                copy.erase(a, 1);
            } while (findRedundantCodePair(copy, a, b));
            text = copy;
        }
        if (options.discardTrailingSpaces)
            while (!text.empty() && isBlank(text.back()))
                text.remove_suffix(1);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        if (i + 1 < count())
            out.write(lineBreak.data(), static_cast<std::streamsize>(lineBreak.size()));
        progress.tick();
    }
    progress.tick(true);
}

} // namespace velmora::core
