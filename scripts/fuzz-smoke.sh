#!/usr/bin/env bash
# CI's short fuzz run: builds every libFuzzer target (fuzz/fuzz_*.cpp) with clang in build-fuzz/
# and runs each for FUZZ_SECONDS (default 10) on a scratch copy of its seed corpus
# fuzz/corpus/<name without fuzz_>/, so the committed corpus never changes. Fails on any crash,
# leak, timeout or out-of-memory report; prints one summary line per target.
set -uo pipefail
cd "$(dirname "$0")/.."

seconds="${FUZZ_SECONDS:-10}"
if ! command -v clang >/dev/null 2>&1 || ! command -v clang++ >/dev/null 2>&1; then
    echo "fuzz-smoke: clang not found, skipping the fuzz run"
    exit 0
fi
shopt -s nullglob
sources=(fuzz/fuzz_*.cpp)
if [ ${#sources[@]} -eq 0 ]; then
    echo "fuzz-smoke: no fuzz targets"
    exit 0
fi

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DPR_CORE_ONLY=ON -DPR_BUILD_FUZZ=ON \
    -DPR_BUILD_TESTS=OFF >/dev/null || { echo "fuzz-smoke: configure failed"; exit 1; }
targets=()
for src in "${sources[@]}"; do targets+=("$(basename "$src" .cpp)"); done
cmake --build build-fuzz -j "${FUZZ_JOBS:-2}" --target "${targets[@]}" || { echo "fuzz-smoke: build failed"; exit 1; }

scratch="$(mktemp -d)"
# Known leaks inside the Debian libraries (each explained in the file) do not fail the run.
export LSAN_OPTIONS="suppressions=$PWD/fuzz/lsan.supp:print_suppressions=0"
trap 'rm -rf "$scratch"' EXIT
failed=0
summary=()
for target in "${targets[@]}"; do
    binary="build-fuzz/fuzz/$target"
    if [ ! -x "$binary" ]; then
        summary+=("$target: FAILED (not built)")
        failed=1
        continue
    fi
    corpus="$scratch/$target-corpus"
    mkdir -p "$corpus"
    seeds="fuzz/corpus/${target#fuzz_}"
    if [ -d "$seeds" ]; then cp -r "$seeds"/. "$corpus"/; fi
    log="$scratch/$target.log"
    "$binary" -seed="${FUZZ_SEED:-1}" -max_total_time="$seconds" -rss_limit_mb=4096 -timeout=10 \
        -artifact_prefix="$scratch/$target-" "$corpus" >"$log" 2>&1
    rc=$?
    stats="$(grep -E '^#[0-9]+' "$log" | tail -n 1 | sed -E 's/^#([0-9]+)[[:space:]]+[A-Z]+[[:space:]]+/\1 runs, /')"
    if [ $rc -ne 0 ]; then
        summary+=("$target: FAILED (exit $rc) ${stats}")
        echo "---- $target ----"
        grep -E 'ERROR|SUMMARY|runtime error|Test unit written' "$log" | head -n 20
        for unit in "$scratch/$target-"*; do
            [ -f "$unit" ] || continue
            mkdir -p build-fuzz/crashes
            cp "$unit" build-fuzz/crashes/
            echo "kept build-fuzz/crashes/$(basename "$unit")"
        done
        failed=1
    else
        summary+=("$target: ok ${stats}")
    fi
done

printf '%s\n' "${summary[@]}"
exit $failed
