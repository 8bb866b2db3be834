# Helpers shared by every folder.

# halvern_test(NAME sources... LIBS libs... [LOCK resource] [SERIAL])
# A GoogleTest program run under Wine, one ctest entry per test case. Tests
# that hold a machine-wide resource (the one wave device Wine offers, the
# spooler) name it as LOCK, so that no two of them run at once. SERIAL tests
# run with no other test beside them: whole client programs whose maximised
# windows and real input would cover or disturb other tests' windows on the
# one shared display.
function(halvern_test name)
    cmake_parse_arguments(T "SERIAL" "LOCK" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES} ${T_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
    set(properties TIMEOUT 300)
    if(T_LOCK)
        # The lock's name is also the tests' label, so that a run can leave
        # out (ctest -LE) or pick (ctest -L) the tests of one resource.
        list(APPEND properties RESOURCE_LOCK ${T_LOCK} LABELS ${T_LOCK})
    endif()
    if(T_SERIAL)
        list(APPEND properties RUN_SERIAL TRUE)
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 180
        WORKING_DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
        PROPERTIES ${properties})
endfunction()

# halvern_bench(NAME sources... LIBS libs...): a benchmark program; not a test.
function(halvern_bench name)
    cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${B_SOURCES} ${B_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE ${B_LIBS})
endfunction()

# Converts a UTF-8 source (a resource script) into a code page 936 copy at
# configure time. The copy is rewritten only when its bytes change, so that a
# reconfigure does not make every resource and program that uses it rebuild.
function(halvern_convert_936 source output)
    get_filename_component(source_path ${source} ABSOLUTE)
    execute_process(COMMAND iconv -f UTF-8 -t GBK ${source_path}
                    OUTPUT_FILE ${output}.new RESULT_VARIABLE iconv_result)
    if(NOT iconv_result EQUAL 0)
        message(FATAL_ERROR "${source} could not be converted to code page 936")
    endif()
    file(COPY_FILE ${output}.new ${output} ONLY_IF_DIFFERENT)
    file(REMOVE ${output}.new)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source_path})
endfunction()
