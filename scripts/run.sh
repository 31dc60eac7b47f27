#!/usr/bin/env bash
# Sets everything up, builds the program (Release, in build/) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DPR_BUILD_TESTS=OFF >/dev/null
cmake --build build --target pixo-rahmler
exec ./build/src/gui/pixo-rahmler "$@"
