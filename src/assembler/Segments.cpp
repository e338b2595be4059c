// Segments, groups, the memory model with its simplified segment directives, and ASSUME.
#include "assembler/AsmError.h"
#include "assembler/Assembler.h"

#include <algorithm>

namespace velmora::assembler
{

int Assembler::segmentByName(const std::string &upperName, bool create)
{
    const int symbol = result_.symbols.find(upperName);
    if (symbol >= 0 && result_.symbols[symbol].kind == SymbolKind::SegmentName)
        return static_cast<int>(result_.symbols[symbol].value);
    auto &segments = result_.module.segments;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        if (segments[i].name == upperName) {
            const int index = static_cast<int>(i);
            const int name = result_.symbols.intern(upperName);
            result_.symbols[name].kind = SymbolKind::SegmentName;
            result_.symbols[name].value = index;
            result_.symbols[name].definedThisPass = true;
            if (result_.symbols[name].definedAt < 0)
                result_.symbols[name].definedAt = statementNumber_;
            return index;
        }
    }
    if (!create)
        return -1;
    Segment segment;
    segment.name = upperName;
    segments.push_back(segment);
    locations_.push_back(0);
    const int index = static_cast<int>(segments.size()) - 1;
    const int name = result_.symbols.intern(upperName);
    result_.symbols[name].kind = SymbolKind::SegmentName;
    result_.symbols[name].value = index;
    result_.symbols[name].definedThisPass = true;
    result_.symbols[name].definedAt = statementNumber_;
    return index;
}

int Assembler::groupByName(const std::string &upperName)
{
    auto &groups = result_.module.groups;
    int index = -1;
    for (std::size_t i = 0; i < groups.size(); ++i)
        if (groups[i].name == upperName)
            index = static_cast<int>(i);
    if (index < 0) {
        groups.push_back({upperName, {}});
        index = static_cast<int>(groups.size()) - 1;
    }
    const int name = result_.symbols.intern(upperName);
    Symbol &symbol = result_.symbols[name];
    symbol.kind = SymbolKind::GroupName;
    symbol.value = index;
    if (!symbol.definedThisPass)
        symbol.definedAt = symbol.definedAt < 0 ? statementNumber_ : symbol.definedAt;
    symbol.definedThisPass = true;
    return index;
}

void Assembler::addToGroup(int segment, int group)
{
    auto &members = result_.module.groups[static_cast<std::size_t>(group)].segments;
    if (std::find(members.begin(), members.end(), segment) == members.end())
        members.push_back(segment);
    result_.module.segments[static_cast<std::size_t>(segment)].group = group;
}

void Assembler::openSegment(int segment)
{
    if (segment_ >= 0)
        segmentStack_.push_back(segment_);
    segment_ = segment;
}

void Assembler::closeSegment()
{
    if (segmentStack_.empty()) {
        segment_ = -1;
        return;
    }
    segment_ = segmentStack_.back();
    segmentStack_.pop_back();
}

bool Assembler::reaches(int segmentRegister, int segment) const
{
    const AssumeTarget &target = assumes_[static_cast<std::size_t>(segmentRegister)];
    if (target.index < 0)
        return false;
    if (target.isGroup)
        return groupOf(segment) == target.index;
    return target.index == segment;
}

void Assembler::segmentDirective(const std::string &name, std::span<const Token> rest)
{
    const bool known = segmentByName(name, false) >= 0;
    const int index = segmentByName(name, true);
    Segment &segment = result_.module.segments[static_cast<std::size_t>(index)];
    if (!known) {
        segment.align = SegmentAlign::Paragraph;
        segment.combine = SegmentCombine::Private;
    }
    for (const Token &token : rest) {
        if (token.kind == TokenKind::String) {
            segment.className = upperCase(token.text);
            continue;
        }
        const std::string word = upperCase(token.text);
        if (word == "BYTE")
            segment.align = SegmentAlign::Byte;
        else if (word == "WORD")
            segment.align = SegmentAlign::Word;
        else if (word == "PARA")
            segment.align = SegmentAlign::Paragraph;
        else if (word == "PAGE")
            segment.align = SegmentAlign::Page;
        else if (word == "PUBLIC")
            segment.combine = SegmentCombine::Public;
        else if (word == "STACK")
            segment.combine = SegmentCombine::Stack;
        else if (word == "COMMON")
            segment.combine = SegmentCombine::Common;
        else if (word == "PRIVATE")
            segment.combine = SegmentCombine::Private;
    }
    openSegment(index);
    predefine("@CURSEG", name);
    listOffset();
}

void Assembler::predefine(const std::string &name, const std::string &text)
{
    const int index = result_.symbols.intern(name);
    Symbol &symbol = result_.symbols[index];
    symbol.kind = SymbolKind::Text;
    symbol.text = text;
    symbol.definedThisPass = true;
    if (symbol.definedAt < 0)
        symbol.definedAt = statementNumber_;
}

void Assembler::setModel(MemoryModel model)
{
    model_ = model;
    const int group = groupByName("DGROUP");
    const bool farCode = model == MemoryModel::Medium || model == MemoryModel::Large || model == MemoryModel::Huge;
    std::string codeName = "_TEXT";
    if (farCode) {
        std::string base = upperCase(result_.module.sourceName);
        base = base.substr(0, base.find('.'));
        codeName = base + "_TEXT";
    }
    // The model opens the code segment and _DATA first, in this order.
    const int code = simplifiedSegmentIndex(codeName, "CODE", SegmentAlign::Word, SegmentCombine::Public, false);
    simplifiedSegmentIndex("_DATA", "DATA", SegmentAlign::Word, SegmentCombine::Public, true);
    if (model == MemoryModel::Tiny)
        addToGroup(code, group);
    static const char *const modelNumbers[] = {"0", "1", "2", "3", "4", "5", "6"};
    predefine("@32BIT", "0");
    predefine("@CODE", model == MemoryModel::Tiny ? "DGROUP" : codeName);
    predefine("@CODESIZE", farCode ? "1" : "0");
    predefine("@DATA", "DGROUP");
    const bool farData = model == MemoryModel::Compact || model == MemoryModel::Large || model == MemoryModel::Huge;
    predefine("@DATASIZE", model == MemoryModel::Huge ? "2" : farData ? "1" : "0");
    predefine("@INTERFACE", "00H");
    predefine("@MODEL", modelNumbers[static_cast<int>(model)]);
    predefine("@STACK", "DGROUP");
    assumes_[reg::CS] = model == MemoryModel::Tiny ? AssumeTarget{group, true} : AssumeTarget{code, false};
    assumes_[reg::DS] = {group, true};
    assumes_[reg::SS] = {group, true};
}

int Assembler::simplifiedSegmentIndex(const std::string &name, const std::string &className, SegmentAlign align,
                                      SegmentCombine combine, bool inGroup)
{
    const int index = segmentByName(name, true);
    Segment &segment = result_.module.segments[static_cast<std::size_t>(index)];
    segment.className = className;
    segment.align = align;
    segment.combine = combine;
    if (inGroup)
        addToGroup(index, groupByName("DGROUP"));
    return index;
}

void Assembler::simplifiedSegment(const std::string &directive, std::span<const Token> rest)
{
    if (model_ == MemoryModel::None)
        throw AsmError("Model must be specified first");
    const bool farCode = model_ == MemoryModel::Medium || model_ == MemoryModel::Large || model_ == MemoryModel::Huge;
    int index = -1;
    if (directive == ".CODE") {
        std::string name = "_TEXT";
        if (farCode) {
            std::string base = upperCase(result_.module.sourceName);
            name = base.substr(0, base.find('.')) + "_TEXT";
        }
        index = simplifiedSegmentIndex(name, "CODE", SegmentAlign::Word, SegmentCombine::Public, false);
    } else if (directive == ".DATA") {
        index = simplifiedSegmentIndex("_DATA", "DATA", SegmentAlign::Word, SegmentCombine::Public, true);
    } else if (directive == ".CONST") {
        index = simplifiedSegmentIndex("CONST", "DATA", SegmentAlign::Word, SegmentCombine::Public, true);
    } else if (directive == ".DATA?") {
        index = simplifiedSegmentIndex("_BSS", "BSS", SegmentAlign::Word, SegmentCombine::Public, true);
    } else if (directive == ".FARDATA") {
        index = simplifiedSegmentIndex("FAR_DATA", "FAR_DATA", SegmentAlign::Paragraph, SegmentCombine::Private, false);
    } else if (directive == ".FARDATA?") {
        index = simplifiedSegmentIndex("FAR_BSS", "FAR_BSS", SegmentAlign::Paragraph, SegmentCombine::Private, false);
    } else { // .STACK
        std::int64_t size = 0x400;
        if (rest[0].kind != TokenKind::End)
            size = constantOf(rest);
        const int stack = simplifiedSegmentIndex("STACK", "STACK", SegmentAlign::Paragraph, SegmentCombine::Stack,
                                                 model_ != MemoryModel::Tiny);
        const int previous = segment_;
        segment_ = stack;
        listOffset();
        Segment &segment = result_.module.segments[static_cast<std::size_t>(stack)];
        locations_[static_cast<std::size_t>(stack)] += static_cast<std::uint32_t>(size);
        segment.size = std::max(segment.size, locations_[static_cast<std::size_t>(stack)]);
        segment_ = previous;
        return;
    }
    listOffset(false, true);
    segmentStack_.clear();
    segment_ = index;
    predefine("@CURSEG", result_.module.segments[static_cast<std::size_t>(index)].name);
    if (directive == ".FARDATA")
        predefine("@FARDATA", "FAR_DATA");
}

void Assembler::assume(std::span<const Token> rest)
{
    std::size_t i = 0;
    while (rest[i].kind != TokenKind::End) {
        RegClass regClass;
        int number;
        if (!registerByName(rest[i].text, regClass, number) || regClass != RegClass::Segment || !rest[i + 1].is(':'))
            throw AsmError("Illegal use of register");
        i += 2;
        AssumeTarget target;
        if (rest[i].isName("NOTHING")) {
            ++i;
        } else if (rest[i].kind == TokenKind::Name) {
            std::string name = upperCase(rest[i].text);
            const int symbol = result_.symbols.find(name);
            if (symbol >= 0 && result_.symbols[symbol].kind == SymbolKind::Text)
                name = upperCase(result_.symbols[symbol].text);
            const int resolved = result_.symbols.find(name);
            if (resolved >= 0 && result_.symbols[resolved].kind == SymbolKind::GroupName)
                target = {static_cast<int>(result_.symbols[resolved].value), true};
            else if (resolved >= 0 && result_.symbols[resolved].kind == SymbolKind::SegmentName)
                target = {static_cast<int>(result_.symbols[resolved].value), false};
            else
                target = {segmentByName(name, true), false};
            ++i;
        } else {
            throw AsmError("Need expression");
        }
        assumes_[static_cast<std::size_t>(number)] = target;
        if (rest[i].is(','))
            ++i;
    }
}

} // namespace velmora::assembler
