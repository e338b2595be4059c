#!/usr/bin/env bash
# The layer check must fail on includes that run against the layers, name each one, and
# pass on a tree that keeps to them.
set -euo pipefail
check=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/src/editor/core/text" "$tree/src/editor/core/layout" "$tree/src/toolchain" "$tree/src/machine"

# A tree that keeps to its layers passes.
printf '#include "editor/core/text/CodePages.h"\n#include <vector>\n' > "$tree/src/editor/core/layout/Good.h"
printf '#include <QString>\n#include "platform/AtomicFile.h"\n' > "$tree/src/toolchain/Good.cpp"
bash "$check" "$tree" > /dev/null

# Each wrong include is reported, and the check fails.
printf '#include "editor/widget/SourceMemo.h"\n' > "$tree/src/editor/core/text/Up.h"
printf '#include "editor/core/layout/LayoutEngine.h"\n' > "$tree/src/editor/core/text/Sideways.h"
printf '#include <QMessageBox>\n' > "$tree/src/toolchain/Box.cpp"
printf '  #  include <QtCore/QString>\n' > "$tree/src/machine/Qt.cpp"
if output=$(bash "$check" "$tree" 2>&1); then
  echo "the check passed a tree with wrong includes" >&2
  exit 1
fi
for expected in 'editor/core/text/Up.h:1: editor/core/text may not include "editor/widget/SourceMemo.h"' \
                'editor/core/text/Sideways.h:1: editor/core/text may not include "editor/core/layout/LayoutEngine.h"' \
                'toolchain/Box.cpp:1: toolchain uses Qt Core only, found <QMessageBox>' \
                'machine/Qt.cpp:1: machine includes no Qt header, found <QtCore/QString>' \
                '4 include(s) run against the layers'; do
  grep -qxF "$expected" <<< "$output" || { echo "missing: $expected"; echo "$output"; exit 1; } >&2
done
echo "wrong includes are caught"
