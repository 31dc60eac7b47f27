#!/usr/bin/env bash
# Sets everything up, builds every test (in build-tests/) and runs them all together with the
# replay of every fuzz corpus, then a short run of every fuzz target on its seed corpus, then every
# test again built with the address and undefined-behaviour sanitizers (scripts/test-sanitized.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/check-core-has-no-qt.sh
bash scripts/check-format.sh
cmake -S . -B build-tests -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPR_BUILD_TESTS=ON -DPR_BUILD_BENCH=ON >/dev/null
cmake --build build-tests
if [ -f scripts/fuzz-smoke.sh ]; then bash scripts/fuzz-smoke.sh; fi
(cd build-tests && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2)
bash scripts/test-sanitized.sh
