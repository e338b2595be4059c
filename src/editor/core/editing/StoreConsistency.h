// The store's consistency check (Ctrl+E): recounts starts, lines and totals and raises an
// EditorError naming the first disagreement ("Error 1" .. "Error 6.01 in ") and the version.
#pragma once

namespace velmora::core
{

class TParagraphsList;

void checkStoreConsistency(const TParagraphsList &store);

} // namespace velmora::core
