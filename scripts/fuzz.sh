#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer in
# build-fuzz/ and runs each for SECONDS (default 60), or only the TARGETs named (xml, project, template,
# picture). Inputs that grow coverage are kept in build-fuzz/fuzz-corpus/, findings are written to
# build-fuzz/findings/ and fail the run. Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
((${#targets[@]})) || targets=(xml project template picture)

# Qt is built with gcc; clang links against it through the same libstdc++.
sanitize="-fsanitize=address,undefined,fuzzer-no-link -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELOMIRA_FUZZ=ON \
    -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS="$sanitize" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined"
build_targets=(fuzz_corpus)
for target in "${targets[@]}"; do
    build_targets+=("fuzz_$target")
done
cmake --build build-fuzz -j"$(nproc)" --target "${build_targets[@]}"

mkdir -p build-fuzz/findings
# One target on a core: as many run at once as there are cores, each for the whole time.
run_target() {
    local target=$1 corpus=build-fuzz/fuzz-corpus/$1
    mkdir -p "$corpus"
    # Any single allocation or resident size past 1.5 GB (2 GB with the sanitizers' own) is a finding.
    # Leaks are not looked for, so libFuzzer need not run an input twice when it keeps memory (the
    # readers' caches do). Inputs that run fast are mutated more often: a few pictures that declare
    # a hundred megapixels would otherwise take most of the minute.
    if ASAN_OPTIONS=detect_leaks=0 ./build-fuzz/bin/fuzz_"$target" "$corpus" build-fuzz/fuzz-seeds/"$target" \
        -max_total_time="$seconds" -timeout=10 -malloc_limit_mb=1536 -rss_limit_mb=2048 -print_final_stats=1 \
        -detect_leaks=0 -entropic_scale_per_exec_time=1 \
        -artifact_prefix=build-fuzz/findings/"$target"- >build-fuzz/fuzz_"$target".log 2>&1; then
        echo 0 >build-fuzz/fuzz_"$target".rc
    else
        echo "$?" >build-fuzz/fuzz_"$target".rc
    fi
}
cores=$(nproc)
for target in "${targets[@]}"; do
    while (($(jobs -rp | wc -l) >= cores)); do
        sleep 1
    done
    echo "fuzz_$target: ${seconds} s"
    rm -f build-fuzz/fuzz_"$target".rc
    run_target "$target" &
done
wait
failed=()
for target in "${targets[@]}"; do
    if [[ $(cat build-fuzz/fuzz_"$target".rc 2>/dev/null) != 0 ]]; then
        failed+=("$target")
        tail -n 60 build-fuzz/fuzz_"$target".log >&2
    fi
    echo "fuzz_$target:"
    grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' build-fuzz/fuzz_"$target".log || true
done
if ((${#failed[@]})); then
    echo "Fuzzing found problems in: ${failed[*]} (inputs in build-fuzz/findings/)" >&2
    exit 1
fi
