# The bundle's dynamic symbol table must hold exactly the expected entry points.
#   cmake -DNM=nm -DLIBRARY=Veridane.so "-DEXPECTED=VSTPluginMain;main" -P check_exports.cmake
execute_process(COMMAND ${NM} -D --defined-only ${LIBRARY}
    OUTPUT_VARIABLE table RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()

string(REPLACE "\n" ";" lines "${table}")
set(exported)
foreach(line IN LISTS lines)
    # "ADDRESS TYPE NAME"; version nodes and the like have no address column.
    if(line MATCHES "^[0-9a-fA-F]+ [A-Za-z] ([^ ]+)$")
        list(APPEND exported ${CMAKE_MATCH_1})
    endif()
endforeach()

list(SORT exported)
set(expected ${EXPECTED})
list(SORT expected)
message(STATUS "exported: ${exported}")
if(NOT exported STREQUAL expected)
    message(FATAL_ERROR "expected exactly: ${expected}")
endif()
