#!/usr/bin/env bash
# Builds every test (GUI tests included) and every corpus replay with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan/ and runs them. Any finding (memory error, leak,
# undefined behaviour) ends its program and fails the run. -O1 keeps the build and the run quick;
# the benchmarks are left out.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_C_FLAGS_DEBUG=-O1 -g1" \
    "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g1" -DPR_SANITIZE=ON -DPR_BUILD_TESTS=ON -DPR_BUILD_BENCH=OFF \
    >/dev/null
cmake --build build-asan
cd build-asan
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
