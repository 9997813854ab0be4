#!/usr/bin/env bash
# Builds the fuzz targets (libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer,
# in build-asan/) and runs each for a bounded time, starting from its seed corpus in
# fuzz/corpus/. A crash, a sanitizer report, a leak, a hang or a memory blow-up fails the
# run and leaves the input in build-asan/fuzz-artifacts/. New inputs the fuzzers find go
# to build-asan/fuzz-corpus/, never into the repository.
#   scripts/fuzz.sh [seconds per target, default 60]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/sanitizer-env.sh"

seconds="${1:-60}"
targets=(database_load state_chunk process_block settings_load tuning_load)
build="$root/build-asan"

"$root/scripts/install-deps.sh"
configure_sanitized_build "$build" address,undefined -DQUENBY_BUILD_FUZZERS=ON
cmake --build "$build" --parallel "$(nproc)" --target "${targets[@]/#/quenby_fuzz_}"

artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"
passed=0
failed=0

for target in "${targets[@]}"; do
    binary="$build/fuzz/quenby_fuzz_$target"
    work="$build/fuzz-corpus/$target"
    log="$build/fuzz-$target.log"
    mkdir -p "$work"

    echo "== fuzz $target for ${seconds} s"
    status=0
    "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$artifacts/$target-" \
        "$work" "$root/fuzz/corpus/$target" > "$log" 2>&1 || status=$?

    executions="$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)"

    if [ "$status" -eq 0 ]; then
        echo "fuzz $target: $executions executions, nothing found"
        passed=$((passed + 1))
    else
        tail -n 60 "$log"
        echo "fuzz $target: FAILED (exit status $status) after $executions executions; inputs in $artifacts"
        failed=$((failed + 1))
    fi
done

echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
