# Shared helpers for tests, fuzz targets and benchmarks.

# Qt is built without frame pointers: the fast unwinder stops at the first Qt frame, which leaves the leak
# suppressions nothing to match but library names.
set(MQ_TEST_ENV
    "QT_QPA_PLATFORM=offscreen"
    "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1:fast_unwind_on_malloc=0"
    "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")

# mq_add_qtest(<name> SOURCES <files...> LIBS <targets...> [LABELS <labels...>])
function(mq_add_qtest name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt5::Test ${ARG_LIBS})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${MQ_TEST_ENV}" TIMEOUT 300 SKIP_RETURN_CODE 77)
    if(ARG_LABELS)
        set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}")
    endif()
endfunction()

# mq_add_fuzzer(<name> SOURCES <files...> LIBS <targets...> CORPUS <dir>)
# Always builds <name>_replay, which runs every file of the corpus through the target as a test;
# with clang also builds <name>, the libFuzzer binary.
function(mq_add_fuzzer name)
    cmake_parse_arguments(ARG "" "CORPUS" "SOURCES;LIBS" ${ARGN})
    add_executable(${name}_replay ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/fuzz/replay_main.cpp)
    target_link_libraries(${name}_replay PRIVATE ${ARG_LIBS})
    add_test(NAME ${name}_corpus COMMAND ${name}_replay ${ARG_CORPUS})
    set_tests_properties(${name}_corpus PROPERTIES ENVIRONMENT "${MQ_TEST_ENV}" TIMEOUT 300)
    if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        add_executable(${name} ${ARG_SOURCES})
        target_link_libraries(${name} PRIVATE ${ARG_LIBS})
        target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
        target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    endif()
endfunction()

# mq_add_bench(<name> SOURCES <files...> LIBS <targets...>)
function(mq_add_bench name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE benchmark::benchmark ${ARG_LIBS})
endfunction()

# mq_soname(<library file> <variable>): the name the library is loaded by at run time.
function(mq_soname library variable)
    find_program(MQ_READELF NAMES readelf llvm-readelf REQUIRED)
    execute_process(COMMAND ${MQ_READELF} -d ${library} OUTPUT_VARIABLE dynamic ERROR_QUIET)
    if(NOT dynamic MATCHES "\\(SONAME\\)[^\n]*\\[([^]\n]+)\\]")
        message(FATAL_ERROR "${library} names no SONAME")
    endif()
    set(${variable} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()
