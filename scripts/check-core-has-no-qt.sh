#!/usr/bin/env bash
# The layers depend one way: gui uses render and core, render uses core, core uses neither.
# Fail when a file under src/core includes a Qt header or a header of render or gui, or when a
# file under src/render includes a header of gui. Inside core the folders depend one way too:
# io uses nothing, imaging uses io, album and browse use imaging and io, layout uses album.
set -euo pipefail
cd "$(dirname "$0")/.."
fail=0
hits=$(grep -rnE '^\s*#\s*include\s*<(Q[A-Z][A-Za-z]*|Qt[A-Za-z]*(/[^>]*)?)>' src/core || true)
if [ -n "$hits" ]; then
  echo "src/core must not include Qt headers:"
  echo "$hits"
  fail=1
fi
hits=$(grep -rnE '^\s*#\s*include\s*"(render|gui)/' src/core || true)
if [ -n "$hits" ]; then
  echo "src/core must not include headers of render or gui:"
  echo "$hits"
  fail=1
fi
hits=$(grep -rnE '^\s*#\s*include\s*"gui/' src/render || true)
if [ -n "$hits" ]; then
  echo "src/render must not include headers of gui:"
  echo "$hits"
  fail=1
fi
# Each core folder and the core folders it may include besides itself.
declare -A allowed=(
  [io]=""
  [imaging]="io"
  [album]="imaging io"
  [browse]="imaging io"
  [layout]="album imaging io"
)
for folder in src/core/*/; do
  name=$(basename "$folder")
  if [ -z "${allowed[$name]+set}" ]; then
    echo "src/core/$name is not in the folder order of $0"
    fail=1
    continue
  fi
  ok="$name ${allowed[$name]}"
  pattern=$(echo "$ok" | tr -s ' ' '\n' | grep -v '^$' | paste -sd'|')
  hits=$(grep -rnE '^\s*#\s*include\s*"core/' "$folder" | grep -vE "\"core/($pattern)/" || true)
  if [ -n "$hits" ]; then
    echo "src/core/$name may include only core/{${ok// /,}}:"
    echo "$hits"
    fail=1
  fi
done
hits=$(grep -rnE '^\s*#\s*include\s*"\.\./' src || true)
if [ -n "$hits" ]; then
  echo "includes under src are written from the src/ root (core/..., render/..., gui/...):"
  echo "$hits"
  fail=1
fi
[ "$fail" -eq 0 ] && echo "layers: core has no Qt, render and gui headers; render has no gui headers; the core folders depend one way"
exit "$fail"
