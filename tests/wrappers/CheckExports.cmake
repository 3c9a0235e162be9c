# Fails unless the bundle's dynamic symbol table defines exactly the expected entry points.
# -DBUNDLE=<path> -DNM=<nm> -DEXPECTED=<comma-separated list>
execute_process(COMMAND ${NM} -D --defined-only --format=just-symbols ${BUNDLE}
    OUTPUT_VARIABLE output RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "nm failed on ${BUNDLE}")
endif()
string(STRIP "${output}" output)
string(REPLACE "\n" ";" exported "${output}")
list(SORT exported)
string(REPLACE "," ";" expected "${EXPECTED}")
list(SORT expected)
if(NOT exported STREQUAL expected)
    message(FATAL_ERROR "exports are [${exported}], expected [${expected}]")
endif()
