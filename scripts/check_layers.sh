#!/usr/bin/env bash
# Checks that every source under <root>/src includes only what its layer may use:
# project headers of the layers listed below, and no Qt header in the Qt-free layers
# (no Qt Widgets header in the tool chain). Prints each wrong include and exits 1 if any.
# Usage: check_layers.sh [root [qtcore-include-dir]]
#   root defaults to the repository; the Qt Core headers' folder is looked up under /usr/include.
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
qtcore=${2:-$(find /usr/include -maxdepth 3 -type d -name QtCore -path '*qt6*' -print -quit)}

# layer -> the layers its files may include (a layer always includes itself).
declare -A allowed=(
  [editor/core/text]=""
  [editor/core/store]="editor/core/text"
  [editor/core/editing]="editor/core/text editor/core/store"
  [editor/core/keyfiles]="editor/core/text"
  [editor/core/highlight]="editor/core/text editor/core/store editor/core/editing editor/core/keyfiles"
  [editor/core/layout]="editor/core/text editor/core/store editor/core/editing editor/core/keyfiles editor/core/highlight"
  [machine]=""
  [assembler]=""
  [debugger]="machine assembler editor/core/text"
  [platform]=""
  [toolchain]="platform assembler machine"
  [editor/widget]="editor/core platform"
  [app]="editor/widget editor/core toolchain platform debugger assembler machine"
)
# Layers whose files include no Qt header at all, and layers that may use Qt Core only.
qt_free="editor/core machine assembler debugger"
qt_core_only="toolchain"

# The layer of a path below src/: the longest listed prefix.
layer_of() {
  local path=$1 best=""
  for layer in "${!allowed[@]}"; do
    if [[ $path == "$layer"/* && ${#layer} -gt ${#best} ]]; then best=$layer; fi
  done
  echo "$best"
}

starts_with_any() {
  local path=$1; shift
  for prefix in "$@"; do [[ $path == "$prefix"/* ]] && return 0; done
  return 1
}

failures=0
report() { echo "$1: $2" >&2; failures=$((failures + 1)); }

cd "$root/src"
while IFS= read -r -d '' file; do
  rel=${file#./}
  layer=$(layer_of "$rel")
  [[ -z $layer ]] && continue
  read -r -a may <<< "$layer ${allowed[$layer]}"
  while IFS= read -r match; do
    line=${match%%:*}
    header=${match#*:}
    if [[ $header == \"*\" ]]; then
      header=${header//\"/}
      [[ $header == */* ]] || continue   # a header beside the file
      starts_with_any "$header" "${may[@]}" ||
        report "$rel:$line" "$layer may not include \"$header\""
    elif [[ $header =~ ^\<(Q|qt) ]]; then
      name=${header//[<>]/}
      if starts_with_any "$rel" $qt_free; then
        report "$rel:$line" "$layer includes no Qt header, found <$name>"
      elif starts_with_any "$rel" $qt_core_only && [[ ! -e $qtcore/${name#QtCore/} ]]; then
        report "$rel:$line" "$layer uses Qt Core only, found <$name>"
      fi
    fi
  done < <(grep -noE '^[[:space:]]*#[[:space:]]*include[[:space:]]*("[^"]+"|<[^>]+>)' "$file" |
           sed -E 's/^([0-9]+):[[:space:]]*#[[:space:]]*include[[:space:]]*/\1:/')
done < <(find . -type f \( -name '*.h' -o -name '*.cpp' \) -print0)

if ((failures > 0)); then
  echo "$failures include(s) run against the layers" >&2
  exit 1
fi
echo "every include keeps to its layer"
