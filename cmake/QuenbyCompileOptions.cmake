# Compile options for every target of the build, JUCE's modules included, and the warnings
# for Quenby's own code. Included before any target is defined.

# The engine's arithmetic is fixed to the last rounding: no contraction into fused
# multiply-adds, no fast-math, no host-specific instruction sets.
add_compile_options (-ffp-contract=off -fno-fast-math)

# Our own code builds clean at these warnings; JUCE's sources are compiled without them.
# Every target of ours adds them: target_compile_options (<target> PRIVATE ${QUENBY_WARNINGS}).
set (QUENBY_WARNINGS -Wall -Wextra)

# Sanitized builds instrument everything, JUCE included, and stop at the first report.
# Clang and g++ both work; scripts/sanitize.sh and scripts/fuzz.sh use clang.
if (QUENBY_SANITIZE)
    add_compile_options (-fsanitize=${QUENBY_SANITIZE} -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options (-fsanitize=${QUENBY_SANITIZE})

    # Line tables are all the reports need; g++ has no -gline-tables-only and says -g1.
    if (CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        add_compile_options (-gline-tables-only)
    else()
        add_compile_options (-g1)
    endif()

    # A report from JUCE's own code that is not a fault (see the ignore list for why).
    # Clang leaves out that one function; g++ has no ignore lists and drops that one check.
    if (QUENBY_SANITIZE MATCHES "undefined")
        if (CMAKE_CXX_COMPILER_ID MATCHES "Clang")
            add_compile_options ("-fsanitize-ignorelist=${PROJECT_SOURCE_DIR}/tests/sanitizers/ubsan-ignorelist.txt")
        else()
            add_compile_options (-fno-sanitize=nonnull-attribute)
        endif()
    endif()
endif()

# The fuzzers steer by the coverage of all code they reach, JUCE's XML parser included.
# libFuzzer comes with clang only.
if (QUENBY_BUILD_FUZZERS)
    if (NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message (FATAL_ERROR "QUENBY_BUILD_FUZZERS needs clang (libFuzzer): configure with CC=clang CXX=clang++")
    endif()

    add_compile_options (-fsanitize=fuzzer-no-link)
endif()
