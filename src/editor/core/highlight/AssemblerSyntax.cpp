#include "editor/core/highlight/AssemblerSyntax.h"

#include "editor/core/keyfiles/DefaultKeywordList.h"
#include "editor/core/keyfiles/KeywordList.h"
#include "editor/core/highlight/NumberHighlighter.h"
#include "editor/core/keyfiles/StartStopKeyList.h"

#include <string_view>

namespace velmora::core
{

namespace
{

// The words of each group, separated by blanks.
constexpr std::string_view kInstructions =
    // 8086
    "AAA AAD AAM AAS ADC ADD AND CALL CBW CLC CLD CLI CMC CMP CMPS CMPSB CMPSW CWD DAA DAS DEC DIV ESC HLT "
    "IDIV IMUL IN INC INT INTO IRET JA JAE JB JBE JC JCXZ JE JG JGE JL JLE JMP JNA JNAE JNB JNBE JNC JNE JNG "
    "JNGE JNL JNLE JNO JNP JNS JNZ JO JP JPE JPO JS JZ LAHF LDS LEA LES LOCK LODS LODSB LODSW LOOP LOOPE "
    "LOOPNE LOOPNZ LOOPZ MOV MOVS MOVSB MOVSW MUL NEG NOP NOT OR OUT POP POPF PUSH PUSHF RCL RCR REP REPE "
    "REPNE REPNZ REPZ RET RETF RETN ROL ROR SAHF SAL SAR SBB SCAS SCASB SCASW SHL SHR STC STD STI STOS STOSB "
    "STOSW SUB TEST WAIT XCHG XLAT XLATB XOR "
    "SEGCS SEGDS SEGES SEGSS SEGFS SEGGS "
    // 80186 and 80286
    "BOUND ENTER INS INSB INSW LEAVE OUTS OUTSB OUTSW POPA PUSHA ARPL CLTS LAR LGDT LIDT LLDT LMSW LSL LTR "
    "SGDT SIDT SLDT SMSW STR VERR VERW "
    // 80386
    "BSF BSR BT BTC BTR BTS CDQ CMPSD CWDE INSD IRETD JECXZ LFS LGS LSS LODSD LOOPD LOOPDE LOOPDZ LOOPDNE "
    "LOOPDNZ MOVSD MOVSX MOVZX OUTSD POPAD POPFD PUSHAD PUSHFD SCASD SHLD SHRD STOSD SETA SETAE SETB SETBE "
    "SETC SETE SETG SETGE SETL SETLE SETNA SETNAE SETNB SETNBE SETNC SETNE SETNG SETNGE SETNL SETNLE SETNO "
    "SETNP SETNS SETNZ SETO SETP SETPE SETPO SETS SETZ "
    // x87
    "F2XM1 FABS FADD FADDP FBLD FBSTP FCHS FCLEX FNCLEX FCOM FCOMP FCOMPP FCOS FDECSTP FDISI FNDISI FDIV "
    "FDIVP FDIVR FDIVRP FENI FNENI FFREE FIADD FICOM FICOMP FIDIV FIDIVR FILD FIMUL FINCSTP FINIT FNINIT "
    "FIST FISTP FISUB FISUBR FLD FLD1 FLDCW FLDENV FLDL2E FLDL2T FLDLG2 FLDLN2 FLDPI FLDZ FMUL FMULP FNOP "
    "FPATAN FPREM FPREM1 FPTAN FRNDINT FRSTOR FSAVE FNSAVE FSCALE FSETPM FSIN FSINCOS FSQRT FST FSTCW "
    "FNSTCW FSTENV FNSTENV FSTP FSTSW FNSTSW FSUB FSUBP FSUBR FSUBRP FTST FUCOM FUCOMP FUCOMPP FWAIT FXAM "
    "FXCH FXTRACT FYL2X FYL2XP1";

constexpr std::string_view kRegisters =
    "AL AH AX EAX BL BH BX EBX CL CH CX ECX DL DH DX EDX SI ESI DI EDI BP EBP SP ESP CS DS ES SS FS GS "
    "CR0 CR2 CR3 DR0 DR1 DR2 DR3 DR6 DR7 TR6 TR7 ST";

constexpr std::string_view kDirectives =
    // simplified segments and processor selection
    ".MODEL .STACK .DATA .DATA? .CODE .CONST .FARDATA .FARDATA? .STARTUP .EXIT .8086 .186 .286 .286P .386 "
    ".386P .8087 .287 .387 .RADIX .LIST .NOLIST @DATA @CODE @STACK @FARDATA "
    // IDEAL mode
    "IDEAL MASM MODEL DATASEG CODESEG UDATASEG CONST FARDATA STACK STARTUPCODE EXITCODE P8086 P186 P286 "
    "P386 P8087 P287 P387 JUMPS NOJUMPS LOCALS NOLOCALS "
    // memory models
    "TINY SMALL MEDIUM COMPACT LARGE HUGE FLAT "
    // segments, procedures, macros, data, symbols
    "SEGMENT ENDS ASSUME GROUP PROC ENDP ARG USES LOCAL MACRO ENDM EXITM REPT IRP IRPC PURGE EQU DB DW DD DF "
    "DP DQ DT DUP STRUC STRUCT UNION RECORD ENUM LABEL ORG EVEN ALIGN INCLUDE INCLUDELIB PUBLIC EXTRN "
    "EXTERN GLOBAL COMM NAME TITLE END IF IFE IFDEF IFNDEF IFB IFNB IF1 IF2 ELSE ELSEIF ENDIF "
    // operators
    "OFFSET PTR SEG TYPE SIZE LENGTH THIS SHORT NEAR FAR BYTE WORD DWORD FWORD PWORD QWORD TBYTE HIGH LOW "
    "MOD EQ NE LT LE GT GE";

constexpr std::int32_t kNoColour = -1;

// Calls add with every blank-separated word of words.
template <typename Add> void forEachWord(std::string_view words, Add add)
{
    while (!words.empty()) {
        const std::size_t end = words.find(' ');
        if (end != 0)
            add(words.substr(0, end));
        words.remove_prefix(end == std::string_view::npos ? words.size() : end + 1);
    }
}

} // namespace

void fillAssemblerKeywordList(TKeywordList &list, const TAssemblerColours &colours)
{
    UpdateGuard update(list);
    list.Clear();
    const auto addGroup = [&](std::string_view words, std::uint8_t style, std::int32_t context, std::int32_t colour) {
        forEachWord(words, [&](std::string_view word) {
            list.AddKeyword(word, kOptWholeWords, style, context, kCursorDefault, kNoColour, colour);
        });
    };
    addGroup(kInstructions, kStyleBold, kAsmInstructionContext, colours.instruction);
    addGroup(kRegisters, 0, kAsmRegisterContext, colours.reg);
    addGroup(kDirectives, kStyleBold, kAsmDirectiveContext, colours.directive);
    list.AddKeyword(kDefaultWebAddressKeyword, 0, kStyleUnderline, kAsmDirectiveContext, kCursorHandPoint, kNoColour,
                    kDefaultWebAddressForeground);
}

void fillAssemblerStartStopKeys(TStartStopKeyList &keys, const TAssemblerColours &colours)
{
    keys.ClearKeys();
    // Each span ends at its line's end when its stop text does not come; the comment has none.
    keys.AddKey(";", "", kOptMatchCase, kStyleItalic, kAsmCommentContext, kCursorDefault, kNoColour, colours.comment,
                true);
    keys.AddKey("'", "'", kOptMatchCase, 0, kAsmStringContext, kCursorDefault, kNoColour, colours.string, true);
    keys.AddKey("\"", "\"", kOptMatchCase, 0, kAsmStringContext, kCursorDefault, kNoColour, colours.string, true);
}

void useAssemblerNumbers(TNumberHighlighter &numbers)
{
    numbers.setAsmNotation(true);
    numbers.setSeparators(kAsmNumberSeparators);
}

} // namespace velmora::core
