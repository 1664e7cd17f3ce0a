# Runs TOOL over FOLDERS and compares its output with EXPECTED; on a
# difference the output stays in ACTUAL for a reviewer to diff.
execute_process(COMMAND ${TOOL} ${EXAMPLES} ${FOLDERS} OUTPUT_FILE ${ACTUAL} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${TOOL} failed (${result})")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${EXPECTED} ${ACTUAL} RESULT_VARIABLE differs)
if(differs)
  message(FATAL_ERROR "the traces of stored inputs changed: diff ${EXPECTED} ${ACTUAL}")
endif()
file(REMOVE ${ACTUAL})
