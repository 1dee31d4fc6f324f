#!/usr/bin/env bash
# Builds the libFuzzer targets with Clang into build-fuzz/ and runs each for SECONDS (600
# unless given), one after another; with target names only those run. SECONDS 0 runs each
# target once over its seeds and fails when any input fails (the check CI runs).
#   scripts/fuzz.sh [SECONDS] [lz77|map|events|ini|wild|connections|mapfile|write|tables ...]
# Corpora grow in build-fuzz/corpus/<target>, findings land in build-fuzz/findings/<target>.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(lz77 map events ini wild connections mapfile write tables)

"$PWD/scripts/deps.sh" clang libclang-rt-14-dev ninja-build
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUILLON_BUILD_FUZZ=ON -DQUILLON_BUILD_UI=OFF -DQUILLON_BUILD_TESTS=OFF \
    -DQUILLON_BUILD_BENCH=OFF > /dev/null
build_targets=(quillon_fuzz_seeds)
for t in "${targets[@]}"; do build_targets+=("quillon_fuzz_$t"); done
cmake --build build-fuzz -j "$(nproc)" --target "${build_targets[@]}"
build-fuzz/fuzz/quillon_fuzz_seeds build-fuzz/seeds

summary=()
failed=0
for t in "${targets[@]}"; do
    corpus=build-fuzz/corpus/$t findings=build-fuzz/findings/$t log=build-fuzz/fuzz-$t.log
    mkdir -p "$corpus" "$findings"
    echo "Fuzzing $t for ${seconds}s (log: $log)"
    limits=()
    case $t in
        # Room for several patch records from the start: these targets run few inputs a
        # second, too few for the length limit to grow on its own.
        map|events|wild|connections|write|tables) limits=(-max_len=512 -len_control=0) ;;
        mapfile) limits=(-max_len=2048) ;;
        ini) limits=(-max_len=4096) ;;
    esac
    status=0
    if [ "$seconds" = 0 ]; then
        build-fuzz/fuzz/quillon_fuzz_"$t" build-fuzz/seeds/"$t" -runs=0 -timeout=20 \
            -artifact_prefix="$findings/" -print_final_stats=1 "${limits[@]}" > "$log" 2>&1 \
            || status=$?
        [ "$status" = 0 ] || failed=1
    else
        build-fuzz/fuzz/quillon_fuzz_"$t" "$corpus" build-fuzz/seeds/"$t" \
            -max_total_time="$seconds" -timeout=20 -artifact_prefix="$findings/" \
            -print_final_stats=1 "${limits[@]}" > "$log" 2>&1 || status=$?
    fi
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
    found=$(find "$findings" -type f | wc -l)
    summary+=("$t: ${runs:-?} executions in ${seconds}s, $found finding(s), exit $status")
done
echo
printf '%s\n' "${summary[@]}"
exit "$failed"
