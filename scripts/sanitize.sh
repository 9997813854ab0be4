#!/usr/bin/env bash
# Builds the tests with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/) and
# runs every one of them, then builds them with ThreadSanitizer (build-tsan/) and runs the
# tests of concurrent use. Any sanitizer report fails the run.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/sanitizer-env.sh"

"$root/scripts/install-deps.sh"

echo "== AddressSanitizer and UndefinedBehaviorSanitizer: every test"
configure_sanitized_build "$root/build-asan" address,undefined -DQUENBY_BUILD_FUZZERS=ON
cmake --build "$root/build-asan" --parallel "$(nproc)" --target quenby_tests
(cd "$root/build-asan" && ctest --output-on-failure --parallel "$(nproc)" --timeout 900)

echo "== ThreadSanitizer: the tests of concurrent use"
configure_sanitized_build "$root/build-tsan" thread
cmake --build "$root/build-tsan" --parallel "$(nproc)" --target quenby_tests
(cd "$root/build-tsan" && ctest --output-on-failure --timeout 900 --no-tests=error --tests-regex "^Concurrency\.")
