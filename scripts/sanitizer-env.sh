# Sourced by sanitize.sh and fuzz.sh: how the sanitized build directories are configured,
# and how the sanitizers report. Any report ends the process with a failure.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export CCACHE_BASEDIR="$root"

# No runtime suppressions: the one report from JUCE's code that is not a fault is left
# out at compile time (tests/sanitizers/ubsan-ignorelist.txt, with its reason).
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:strict_string_checks=1:check_initialization_order=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1"

# Configures a clang build directory with the given sanitizers; the tests and fuzzers are
# all it builds, never the plug-in formats. -O1 keeps the stacks readable and the build short.
configure_sanitized_build() {
    local directory="$1" sanitizers="$2"
    shift 2
    mkdir -p "$directory"
    CC=clang CXX=clang++ cmake -S "$root" -B "$directory" -G Ninja \
        -DCMAKE_BUILD_TYPE=Release \
        "-DCMAKE_C_FLAGS_RELEASE=-O1 -DNDEBUG" "-DCMAKE_CXX_FLAGS_RELEASE=-O1 -DNDEBUG" \
        -DQUENBY_BUILD_BENCHMARKS=OFF \
        -DQUENBY_SANITIZE="$sanitizers" "$@" > "$directory/configure.log" \
        || { cat "$directory/configure.log"; return 1; }
}
