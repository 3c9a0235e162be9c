# The fuzz build (preset "fuzz"): clang's libFuzzer with AddressSanitizer and
# UndefinedBehaviorSanitizer. Everything is compiled with coverage instrumentation; only the fuzz
# targets link the fuzzer's main. Build target veridane_fuzz_targets builds just the targets and
# what they link, so a target that needs no JUCE never compiles it.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "VERIDANE_FUZZ needs clang (libFuzzer): use the fuzz preset")
endif()

add_compile_options(-fsanitize=fuzzer-no-link)
add_custom_target(veridane_fuzz_targets)

# One line per target, "name executable seed-corpus", read by scripts/run-fuzz.
set(VERIDANE_FUZZ_LIST ${CMAKE_BINARY_DIR}/fuzz-targets.txt)
file(WRITE ${VERIDANE_FUZZ_LIST} "")

# veridane_add_fuzz_target(NAME <name> SOURCES <files...> LIBRARIES <targets...>)
# The seed corpus is tests/fuzz/corpus/<name>/, committed with the target.
function(veridane_add_fuzz_target)
    cmake_parse_arguments(FUZZ "" "NAME" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${FUZZ_NAME} ${FUZZ_SOURCES})
    target_link_libraries(${FUZZ_NAME} PRIVATE ${FUZZ_LIBRARIES})
    target_link_options(${FUZZ_NAME} PRIVATE -fsanitize=fuzzer)
    add_dependencies(veridane_fuzz_targets ${FUZZ_NAME})
    file(APPEND ${VERIDANE_FUZZ_LIST}
        "${FUZZ_NAME} ${CMAKE_CURRENT_BINARY_DIR}/${FUZZ_NAME} ${PROJECT_SOURCE_DIR}/tests/fuzz/corpus/${FUZZ_NAME}\n")
endfunction()
