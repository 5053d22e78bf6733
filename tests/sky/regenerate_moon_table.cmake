# Runs the truncation tool on the authors' series in data/elpmpp02, formats its output as the
# sources are formatted, and compares it with the carried sky/moon_table.cpp.
execute_process(COMMAND ${TOOL} ${SOURCE}/data/elpmpp02 ${OUT} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "make_moon_table failed: ${rc}")
endif()
execute_process(COMMAND ${CLANG_FORMAT} -i --style=file:${SOURCE}/.clang-format ${OUT}
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "clang-format failed: ${rc}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${SOURCE}/sky/moon_table.cpp ${OUT}
                RESULT_VARIABLE same)
if(NOT same EQUAL 0)
  message(FATAL_ERROR "sky/moon_table.cpp differs from what make_moon_table writes")
endif()
