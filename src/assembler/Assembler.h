// The statement assembler behind `assemble`: it reads the expanded lines pass by pass,
// keeps the location counters, segments, ASSUMEs and procedures, defines symbols, lays out
// data and instructions and, in the last pass, writes bytes, fixups and listing lines.
//
// Passes: the first pass reads the source as TASM's single pass does, knowing only what
// was defined above each line; an instruction with a forward reference gets room for its
// largest form. With /m further passes use the previous pass's symbols until no statement
// changes size. The last pass knows every symbol, encodes each statement as well as it
// can and pads it with NOPs to the size the layout gave it, so that the offsets of every
// pass agree.
#pragma once

#include "assembler/Assembly.h"
#include "assembler/Encoder.h"
#include "assembler/Expander.h"
#include "assembler/Expression.h"

#include <array>
#include <span>

namespace velmora::assembler
{

enum class MemoryModel { None, Tiny, Small, Compact, Medium, Large, Huge };

class Assembler : public IExpressionContext, public IExpansionHost
{
public:
    Assembler(const AssemblyOptions &options, const FileReader &reader);
    Assembly run(const std::string &path, const std::string &text);

    // IExpressionContext
    int lookup(std::string_view name) override;
    const SymbolTable &symbols() const override { return result_.symbols; }
    Value here() const override;
    int groupOf(int segment) const override;
    bool finalPass() const override { return final_ && !toleratingUndefined_; }
    void warn(const std::string &text) override;

    // IExpansionHost
    std::optional<std::int64_t> evaluate(const std::string &expression, const SourceLine &where) override;
    bool isDefined(const std::string &name) override;
    void error(const std::string &text, const SourceLine &where) override;
    void fatal(const std::string &text, const SourceLine &where) override;

private:
    struct StatementLayout {
        int size = 0;
        bool forward = false;
    };
    struct AssumeTarget {
        int index = -1; // segment or group; -1 for NOTHING
        bool isGroup = false;
    };
    struct OpenProcedure {
        int symbol;
        bool far;
    };
    struct OpenStructure {
        int symbol = -1;
        int offset = 0;
    };

    void runPass(const std::string &path, const std::string &text);
    void statement(const SourceLine &line);
    void statementTokens(std::vector<Token> tokens, const SourceLine &line);
    std::vector<Token> expandTextEquates(std::span<const Token> tokens);
    bool nameDirective(const Token &name, const std::string &directive, std::span<const Token> rest);
    bool plainDirective(const std::string &directive, std::span<const Token> rest, const SourceLine &line);
    void instruction(const std::string &mnemonic, std::span<const Token> rest);

    // Symbols and places.
    std::string scopedName(std::string_view name) const;
    int defineSymbol(std::string_view name, SymbolKind kind);
    void defineLabel(std::string_view name, int type, DebugSymbolKind kind = DebugSymbolKind::Label);
    // Adds a symbol at the location counter to the module's debug symbols (in the last pass).
    void recordSymbol(std::string_view name, DebugSymbol entry);
    // A variable of `count` items of `unit` bytes (a structure is shown as its bytes).
    static DebugSymbol variableSymbol(int unit, std::uint32_t count, bool isString);
    void requireSegment() const;

    // Output.
    void emit(const Encoded &encoded, const std::vector<bool> *initialised = nullptr);
    // Lists the location counter for the line; outside every segment only when asked (0000).
    void listOffset(bool inStructure = false, bool outsideSegments = false);
    void setLocation(std::uint32_t offset);
    std::uint32_t location() const;

    // Segments and the model.
    int segmentByName(const std::string &upperName, bool create);
    int groupByName(const std::string &upperName);
    void addToGroup(int segment, int group);
    void openSegment(int segment);
    void closeSegment();
    void setModel(MemoryModel model);
    // A text symbol TASM defines itself (@CODE, @CURSEG, ??DATE, ...).
    void predefine(const std::string &name, const std::string &text);
    void simplifiedSegment(const std::string &directive, std::span<const Token> rest);
    int simplifiedSegmentIndex(const std::string &name, const std::string &className, SegmentAlign align,
                               SegmentCombine combine, bool inGroup);
    void segmentDirective(const std::string &name, std::span<const Token> rest);
    void assume(std::span<const Token> rest);
    bool reaches(int segmentRegister, int segment) const;

    // Directives with a name.
    void equate(const Token &name, std::span<const Token> rest, bool redefinable);
    void procedure(const Token &name, std::span<const Token> rest);
    void endProcedure(const Token &name);
    void labelDirective(const Token &name, std::span<const Token> rest);
    void structureStart(const Token &name);
    void recordDefinition(const Token &name, std::span<const Token> rest);
    void externals(std::span<const Token> rest, bool global);
    void publics(std::span<const Token> rest);
    void endDirective(std::span<const Token> rest);

    // Data.
    void dataDirective(const Token *name, int unit, std::span<const Token> rest);
    void encodeDataList(std::span<const Token> items, int unit, Encoded &out, std::vector<bool> &initialised,
                        int *firstCount);
    void encodeDataItem(std::span<const Token> item, int unit, Encoded &out, std::vector<bool> &initialised,
                        int *firstCount);
    void encodeValue(const Value &value, int unit, Encoded &out, std::vector<bool> &initialised);
    void structureInstance(const Token *name, int structure, std::span<const Token> rest);
    void encodeStructure(int structure, std::span<const Token> initialiser, Encoded &out,
                         std::vector<bool> &initialised);
    void recordInstance(const Token *name, int record, std::span<const Token> rest);

    Value evaluateTokens(std::span<const Token> tokens);
    std::int64_t constantOf(std::span<const Token> tokens);
    void message(MessageKind kind, const std::string &text, const SourceLine &where);

    AssemblyOptions options_;
    FileReader reader_;
    Expander expander_;
    Assembly result_;

    // Pass state.
    bool final_ = false;
    bool firstPass_ = true;
    bool sizesChanged_ = false;
    bool ended_ = false;
    int statementNumber_ = 0;
    std::vector<StatementLayout> layout_;
    std::vector<std::uint32_t> locations_;
    int segment_ = -1;
    std::vector<int> segmentStack_;
    std::array<AssumeTarget, 4> assumes_{};
    MemoryModel model_ = MemoryModel::None;
    Cpu cpu_ = Cpu::I8086;
    bool jumps_ = false;
    bool locals_ = false;
    int scope_ = 0;
    std::vector<OpenProcedure> procedures_;
    OpenStructure structure_;
    const SourceLine *line_ = nullptr;
    ListingLine *listed_ = nullptr;
    bool stopped_ = false;             // after too many messages
    bool toleratingUndefined_ = false; // re-encoding a failed statement for its listed bytes
};

} // namespace velmora::assembler
