// Spans put in force through the remembered span states give the same runs as building each
// run and putting it in force: random spans, keys whose attributes change between uses, nesting
// up to the deepest level and paragraphs with start states of their own.
#include "editor/core/layout/LayoutTestSupport.h"

#include "editor/core/highlight/HighlightRuns.h"
#include "editor/core/highlight/SpanStates.h"

#include <gtest/gtest.h>

#include <random>

namespace velmora::core::testing
{
namespace
{

// What the keyword and number passes did before their states were remembered.
bool putBuilt(ParInfo &par, std::int32_t from, std::int32_t to, const TKeyAttributes &key, std::int16_t entry,
              bool restartCollapse)
{
    const RunState &state = stateInForce(par, from);
    if (runLevel(state) >= kMaxRunLevel)
        return false;
    const auto length = static_cast<std::int16_t>(to - from);
    RunInfo run = openSpanRun(state, key, entry, length, length);
    if (restartCollapse)
        run.collapseDepth = 0;
    putRunInForce(par, from, to, run);
    return true;
}

TEST(SpanStatesTest, RememberedStatesGiveTheRunsOfBuiltOnes)
{
    std::mt19937 rng(7);
    LayoutRig rig;
    rig.open();
    TSpanStates states;
    int refused = 0;
    for (int round = 0; round < 60; ++round) {
        const std::string line(60, 'x');
        rig.setText(line + "\r\n" + line);
        ParInfo &viaStates = *rig.memo.paragraphs().par(0);
        ParInfo &built = *rig.memo.paragraphs().par(1);
        if (round % 3 == 1) {
            RunInfo start;
            start.style = 0x80 | 0x01;
            start.contextNum = round;
            viaStates.setStartRun(newStartRun(start), false);
            built.setStartRun(newStartRun(start), false);
        }
        for (int span = 0; span < 40; ++span) {
            // Every other round begins with spans nested one inside the other.
            const bool nest = round % 2 == 0 && span < 20;
            const auto from = nest ? span : static_cast<std::int32_t>(rng() % 59);
            const auto to = nest ? 60 - span : from + 1 + static_cast<std::int32_t>(rng() % (60 - from));
            TKeyAttributes key;
            key.KeyStyle = static_cast<std::uint8_t>(rng() % 4);
            key.Foreground = static_cast<std::int32_t>(rng() % 3);
            key.ContextNum = 1 + static_cast<std::int32_t>(rng() % 2);
            const auto entry = static_cast<std::int16_t>(rng() % 3);
            const bool restart = rng() % 2;
            const bool put = states.put(viaStates, from, to, key, entry, restart);
            ASSERT_EQ(put, putBuilt(built, from, to, key, entry, restart));
            refused += !put;
            ASSERT_EQ(viaStates.runCount(), built.runCount());
            for (std::int32_t r = 0; r < built.runCount(); ++r) {
                ASSERT_EQ(viaStates.runPosition(r), built.runPosition(r)) << "run " << r;
                ASSERT_EQ(viaStates.runState(r), built.runState(r)) << "run " << r;
            }
        }
    }
    EXPECT_GT(refused, 0); // spans were nested to the deepest level
}

} // namespace
} // namespace velmora::core::testing
