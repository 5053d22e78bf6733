# Runs the fitting tool and compares its output with the carried sky/earth_table_data.cpp
# (the tool writes it already formatted, between clang-format off and on).
execute_process(COMMAND ${TOOL} ${OUT} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "make_earth_table failed: ${rc}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${SOURCE}/sky/earth_table_data.cpp
                        ${OUT} RESULT_VARIABLE same)
if(NOT same EQUAL 0)
  message(FATAL_ERROR "sky/earth_table_data.cpp differs from what make_earth_table writes")
endif()
