#!/usr/bin/env bash
# The core layer must build without Qt: fail when any file under src/core includes a Qt header.
set -euo pipefail
cd "$(dirname "$0")/.."
hits=$(grep -rnE '^\s*#\s*include\s*<(Q[A-Z][A-Za-z]*|Qt[A-Za-z]*(/[^>]*)?)>' src/core || true)
if [ -n "$hits" ]; then
  echo "src/core must not include Qt headers:"
  echo "$hits"
  exit 1
fi
echo "core layer: no Qt includes"
