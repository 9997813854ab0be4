# quenby_add_fuzzer (<name> <source>): a libFuzzer program that links the shared code. Each
# reads one input per call and must never crash, hang, leak or trip a sanitizer.
function (quenby_add_fuzzer name source)
    add_executable (${name} ${source})
    target_link_libraries (${name} PRIVATE quenby_core)
    target_compile_options (${name} PRIVATE ${QUENBY_WARNINGS} -fsanitize=fuzzer)
    target_link_options (${name} PRIVATE -fsanitize=fuzzer)
endfunction()
