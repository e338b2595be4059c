// What the debugger's views show at a pause: the machine's state and the program's debug
// information as the debug session holds them. The views only read it; a change the student
// makes in a view goes to that view's callback, and the owner shows the next snapshot.
#pragma once

#include "debugger/DebugInfo.h"
#include "machine/Cpu.h"
#include "machine/Memory.h"
#include "machine/Registers.h"

#include <cstdint>

namespace velmora::app
{

// Either every pointer is set or none: a default snapshot shows empty views (no program is
// being debugged). What the pointers name must stay valid until the view's next show().
struct DebugSnapshot {
    const machine::Registers *now = nullptr;
    const machine::Registers *before = nullptr; // before the last step, for marking what changed
    const machine::Memory *memory = nullptr;
    const debugger::DebugInfo *info = nullptr;
    std::uint16_t loadSegment = 0; // the segment the debug information's places are relative to
    machine::CpuModel model = machine::CpuModel::i80186;

    bool empty() const { return now == nullptr; }
};

} // namespace velmora::app
