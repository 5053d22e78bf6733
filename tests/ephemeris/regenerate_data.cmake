# Runs the conversion tool on the table kept in data/ and compares its output with the
# shipped planet.txt and latitude.txt.
file(MAKE_DIRECTORY ${OUT})
execute_process(COMMAND ${TOOL} ${SOURCE}/sun-planetary-perturbations.tsv ${OUT}
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "make_data_files failed: ${rc}")
endif()
foreach(name planet.txt latitude.txt)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${SOURCE}/${name} ${OUT}/${name}
                  RESULT_VARIABLE same)
  if(NOT same EQUAL 0)
    message(FATAL_ERROR "${name} differs from what make_data_files writes")
  endif()
endforeach()
