// The store replace: one range of paragraphs and offsets replaced by a text.
#include "editor/core/text/EditorErrors.h"
#include "editor/core/store/ParagraphsList.h"
#include "editor/core/text/StyleBits.h"
#include "editor/core/text/StyleCodes.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <utility>

namespace velmora::core
{

namespace
{

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view withoutTrailingBlanks(std::string_view s)
{
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Splits at every 13; a 10 right after a 13 belongs to that break.
std::vector<std::string_view> splitAtBreaks(std::string_view text)
{
    std::vector<std::string_view> pieces;
    std::size_t from = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != 13)
            continue;
        pieces.push_back(text.substr(from, i - from));
        if (i + 1 < text.size() && text[i + 1] == 10)
            ++i;
        from = i + 1;
    }
    pieces.push_back(text.substr(from));
    return pieces;
}

// The line of a paragraph holding offset: the first whose next-line start lies beyond it.
std::int32_t lineOfOffset(const ParInfo &p, std::int32_t offset)
{
    const std::int32_t n = p.lineCount();
    std::int32_t i = 0;
    while (i < n - 1 && offset >= p.lineInfo(i).nextLineStart)
        ++i;
    return i;
}

void checkParagraphLength(std::int64_t len)
{
    if (len + len / 64 + 1 > INT32_MAX)
        throw EditorError(kTextTooLong);
}

// A fresh owned buffer holding the concatenation of parts.
char *composeOwnedText(std::initializer_list<std::string_view> parts, std::int32_t len)
{
    if (len == 0)
        return nullptr;
    char *buf = allocTextBuffer(TParagraphsList::newBufferSize(len));
    char *at = buf;
    for (std::string_view part : parts) {
        if (!part.empty())
            std::memcpy(at, part.data(), part.size());
        at += part.size();
    }
    *at = 0;
    return buf;
}

} // namespace

ReplaceResult TParagraphsList::replace(std::int32_t sPar, std::int32_t sOff, std::int32_t ePar, std::int32_t eOff,
                                       std::string_view text, const ReplaceOptions &options)
{
    if (sPar < 0 || ePar >= count() || sPar > ePar || sOff < 0 || sOff > lengthOf(sPar) || eOff < 0 ||
        eOff > lengthOf(ePar) || (sPar == ePar && sOff > eOff))
        throw EditorError(kInternalError);

    std::vector<std::string_view> pieces = splitAtBreaks(text);
    const std::int32_t k = static_cast<std::int32_t>(pieces.size()) - 1;
    const std::string_view sText = textOf(sPar);
    if (options.discardTrailingSpaces) {
        if (k >= 1 && withoutTrailingBlanks(pieces[0]).empty())
            while (sOff > 0 && isBlank(sText[static_cast<std::size_t>(sOff) - 1]))
                --sOff;
        const bool lastAtEnd = eOff == lengthOf(ePar);
        for (std::int32_t i = 0; i <= k; ++i)
            if (i < k || lastAtEnd)
                pieces[static_cast<std::size_t>(i)] = withoutTrailingBlanks(pieces[static_cast<std::size_t>(i)]);
    }

    // Style codes: whatever the inserted and the removed text toggle together is toggled back
    // after the insertion, so that the text after the range keeps its style.
    // Nothing to keep the style of when the range reaches the end of the text.
    std::string codes;
    const bool textAfter = ePar < count() - 1 || eOff < lengthOf(ePar);
    if (options.preserveCodes && StaticFormat && textAfter) {
        std::uint8_t toggles = styleToggles(text);
        for (std::int32_t i = sPar; i <= ePar; ++i) {
            const std::string_view t = textOf(i);
            const std::size_t from = i == sPar ? static_cast<std::size_t>(sOff) : 0;
            const std::size_t to = i == ePar ? static_cast<std::size_t>(eOff) : t.size();
            toggles ^= styleToggles(t.substr(from, to - from));
        }
        codes = styleCodesFor(toggles);
    }

    // Sizes first: nothing is changed when the result would not fit.
    const std::int64_t removed = static_cast<std::int64_t>(startOf(ePar)) + eOff - startOf(sPar) - sOff;
    std::int64_t inserted = static_cast<std::int64_t>(codes.size()) + 2 * static_cast<std::int64_t>(k);
    for (std::string_view piece : pieces)
        inserted += static_cast<std::int64_t>(piece.size());
    if (static_cast<std::int64_t>(marks_.textLength()) - removed + inserted > maxTextLength)
        throw EditorError(kTextTooLong);
    const std::int64_t eRest = static_cast<std::int64_t>(lengthOf(ePar)) - eOff;
    if (k == 0) {
        checkParagraphLength(sOff + static_cast<std::int64_t>(pieces[0].size() + codes.size()) + eRest);
    } else {
        checkParagraphLength(sOff + static_cast<std::int64_t>(pieces[0].size()));
        for (std::int32_t i = 1; i < k; ++i)
            checkParagraphLength(static_cast<std::int64_t>(pieces[static_cast<std::size_t>(i)].size()));
        checkParagraphLength(static_cast<std::int64_t>(pieces.back().size() + codes.size()) + eRest);
    }

    markChanged(sPar, lineOfOffset(*par(sPar), sOff), ePar);

    if (k == 0 && sPar == ePar) {
        std::string ins(pieces[0]);
        ins += codes;
        return replaceInParagraph(sPar, sOff, eOff, ins);
    }

    ParInfo &sP = *par(sPar);
    ParInfo &eP = *par(ePar);
    const std::string_view before = sText.substr(0, static_cast<std::size_t>(sOff));
    const std::string_view after = textOf(ePar).substr(static_cast<std::size_t>(eOff));

    ReplaceResult r;
    r.startPar = sPar;
    r.startOffset = sOff;
    r.endPar = sPar + k;
    r.charChange = static_cast<std::int32_t>(inserted - removed);
    r.parChange = k - (ePar - sPar);

    // Runs: the first paragraph keeps those before s, the last takes those at or after e.
    const std::int32_t lastPrefix = k == 0 ? sOff + static_cast<std::int32_t>(pieces[0].size() + codes.size())
                                           : static_cast<std::int32_t>(pieces.back().size() + codes.size());
    r.endOffset = lastPrefix;
    TDynInfoArray firstRuns, lastRuns;
    for (std::int32_t i = 0; i < sP.runCount(); ++i)
        if (sP.runPosition(i) < sOff)
            firstRuns.push_back(sP.run(i));
    for (std::int32_t i = 0; i < eP.runCount(); ++i)
        if (eP.runPosition(i) >= eOff) {
            RunInfo run = eP.run(i);
            run.position += lastPrefix - eOff;
            lastRuns.push_back(run);
        }
    for (std::int32_t i = sPar; i <= ePar && !r.runsCrossed; ++i) {
        const ParInfo &p = *par(i);
        for (std::int32_t j = 0; j < p.runCount() && !r.runsCrossed; ++j) {
            const std::int32_t at = p.runPosition(j);
            r.runsCrossed = (i > sPar || at >= sOff) && (i < ePar || at < eOff);
        }
    }
    const std::int32_t runsBeforeS = firstRuns.size();
    RunInfo *carried = sP.startRun();
    if (runsBeforeS > 0) {
        const RunInfo inForce = firstRuns[runsBeforeS - 1];
        carried = (inForce.style & kRunAttributes) && k > 0 ? newStartRun(inForce) : nullptr;
    }

    // Build the new records.
    std::int32_t oldLines = 0, oldVisible = 0;
    for (std::int32_t i = sPar; i <= ePar; ++i) {
        const ParInfo *p = par(i);
        oldLines += p->lineCount();
        if (!p->hidden())
            oldVisible += p->lineCount();
    }
    std::vector<ParInfo> fresh(static_cast<std::size_t>(k + 1));
    std::vector<std::pair<std::int32_t, std::int32_t>> starts(fresh.size()); // start and first line of each
    std::uint8_t running = sP.startStyle();
    std::int32_t start = startOf(sPar);
    std::int32_t line = firstLineOf(sPar);
    for (std::int32_t i = 0; i <= k; ++i) {
        ParInfo &n = fresh[static_cast<std::size_t>(i)];
        std::int32_t len;
        if (k == 0) {
            len = static_cast<std::int32_t>(before.size() + pieces[0].size() + codes.size() + after.size());
            n.text = composeOwnedText({before, pieces[0], codes, after}, len);
        } else if (i == 0) {
            len = static_cast<std::int32_t>(before.size() + pieces[0].size());
            n.text = composeOwnedText({before, pieces[0]}, len);
        } else if (i == k) {
            len = static_cast<std::int32_t>(pieces[static_cast<std::size_t>(k)].size() + codes.size() + after.size());
            n.text = composeOwnedText({pieces[static_cast<std::size_t>(k)], codes, after}, len);
        } else {
            len = static_cast<std::int32_t>(pieces[static_cast<std::size_t>(i)].size());
            n.text = composeOwnedText({pieces[static_cast<std::size_t>(i)]}, len);
        }
        n.flags = pfOwnsText;
        n.setLength(len);
        if (i == 0) {
            n.flags |= sP.flags & (pfStartStopDone | pfKeywordsDone | pfNoWrap | pfHidden);
            n.setStartStyle(sP.startStyle());
            n.setStartRun(sP.startRun(), false);
            if (!firstRuns.empty())
                n.runs() = firstRuns;
        } else {
            n.setStartStyle(StaticFormat ? running : 0);
            n.setStartRun(carried, false);
        }
        if (i == k && !lastRuns.empty())
            n.runs().append(lastRuns);
        if (StaticFormat)
            running ^= styleToggles({n.text ? n.text : "", static_cast<std::size_t>(len)});
        starts[static_cast<std::size_t>(i)] = {start, line};
        start += len + 2;
        if (!n.hidden())
            ++line;
    }
    r.lineChange = k + 1 - oldLines;
    r.visibleLineChange = line - firstLineOf(sPar) - oldVisible;

    // Swap the records in: only the records of the blocks concerned move.
    for (std::int32_t i = sPar; i <= ePar; ++i)
        par(i)->release();
    if (r.parChange > 0)
        insertRecords(ePar + 1, r.parChange);
    else
        eraseRecords(sPar + k + 1, -r.parChange);
    for (std::int32_t i = 0; i <= k; ++i) {
        // The record takes over what the fresh one owns; the fresh one is left empty.
        std::memcpy(static_cast<void *>(par(sPar + i)), &fresh[static_cast<std::size_t>(i)], sizeof(ParInfo));
        new (&fresh[static_cast<std::size_t>(i)].runArray) TDynInfoArray;
        setStartOf(sPar + i, starts[static_cast<std::size_t>(i)].first);
        setFirstLineOf(sPar + i, starts[static_cast<std::size_t>(i)].second);
    }
    shrinkIfSparse();

    shiftBoth(sPar + k + 1, r.charChange, r.visibleLineChange);
    marks_.addText(r.charChange, r.lineChange, r.visibleLineChange);
    marks_.paragraphsReplaced(sPar, ePar, k, r.parChange);
    return r;
}

ReplaceResult TParagraphsList::replaceInParagraph(std::int32_t pi, std::int32_t sOff, std::int32_t eOff,
                                                  std::string_view ins)
{
    ParInfo &p = *par(pi);
    const std::int32_t oldLen = p.length();
    const std::int32_t insLen = static_cast<std::int32_t>(ins.size());
    const std::int32_t delta = insLen - (eOff - sOff);
    const std::int32_t newLen = oldLen + delta;

    // An owned buffer of size S is kept while L < S < L + L / 8; a borrowed text counts as a
    // buffer of its length + 1.
    const std::int32_t size = p.ownsText() ? (p.text ? textBufferSize(p.text) : 0) : (oldLen > 0 ? oldLen + 1 : 0);
    const bool reuse = size > 0 && newLen < size && size < newLen + newLen / 8;
    if (reuse) {
        p.makeTextOwned();
        std::memmove(p.text + sOff + insLen, p.text + eOff, static_cast<std::size_t>(oldLen - eOff) + 1);
        if (insLen > 0)
            std::memcpy(p.text + sOff, ins.data(), ins.size());
    } else {
        const std::string_view old = textOf(pi);
        char *text = composeOwnedText(
            {old.substr(0, static_cast<std::size_t>(sOff)), ins, old.substr(static_cast<std::size_t>(eOff))}, newLen);
        if (p.ownsText())
            freeTextBuffer(p.text);
        p.text = text;
        p.flags |= pfOwnsText;
    }
    const bool hadExtension = p.extended();
    p.setLength(newLen);

    ReplaceResult r;
    r.startPar = r.endPar = pi;
    r.startOffset = sOff;
    r.endOffset = sOff + insLen;
    r.charChange = delta;

    TDynInfoArray &runs = p.runs();
    std::int32_t removedFrom = 0;
    while (removedFrom < runs.size() && runs.position(removedFrom) < sOff)
        ++removedFrom;
    std::int32_t removedTo = removedFrom;
    while (removedTo < runs.size() && runs.position(removedTo) < eOff)
        ++removedTo;
    r.runsCrossed = removedTo > removedFrom;
    runs.erase(removedFrom, removedTo);
    for (std::int32_t i = removedFrom; i < runs.size(); ++i)
        runs.setPosition(i, runs.position(i) + delta);

    if (hadExtension) {
        const std::int32_t ls = lineOfOffset(p, sOff);
        const std::int32_t lines = p.lineCount();
        auto lineAt = [&p](std::int32_t i) -> LineInfo & {
            return i == 0 ? p.data.extra->firstLine : p.data.extra->furtherLines[static_cast<std::size_t>(i - 1)];
        };
        if (r.runsCrossed) {
            p.setLineCount(ls + 1);
            lineAt(ls).nextLineStart = newLen;
            r.lineChange = ls + 1 - lines;
        } else {
            const std::int32_t le = lineOfOffset(p, eOff);
            if (le > ls) {
                lineAt(ls).nextLineStart = sOff + insLen;
                for (std::int32_t i = ls + 1; i < le; ++i)
                    lineAt(i).lineStart = lineAt(i).nextLineStart = sOff + insLen;
                lineAt(le).lineStart = sOff + insLen;
            }
            lineAt(le).nextLineStart += delta;
            for (std::int32_t i = le + 1; i < lines; ++i) {
                lineAt(i).lineStart += delta;
                lineAt(i).nextLineStart += delta;
                lineAt(i).justifyFrom += delta;
            }
            marks_.setLayoutValid(true);
        }
    } else if (!r.runsCrossed) {
        marks_.setLayoutValid(true);
    }
    r.visibleLineChange = p.hidden() ? 0 : r.lineChange;
    shiftBoth(pi + 1, r.charChange, r.visibleLineChange);
    marks_.addText(r.charChange, r.lineChange, r.visibleLineChange);
    return r;
}

} // namespace velmora::core
