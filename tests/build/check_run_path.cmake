# The project's programs and libraries look for libraries only in folders
# they name: an empty entry of a run path is read by the loader as the
# current folder, and a relative one as a folder below it, so a library
# planted where the command is started would be loaded.
#   -DFILES=list of programs and libraries
foreach(file IN LISTS FILES)
  execute_process(COMMAND readelf -d ${file} OUTPUT_VARIABLE dynamic RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "readelf -d ${file} failed")
  endif()
  string(REGEX MATCHALL "\\((RUNPATH|RPATH)\\)[^\n]*\\[[^]\n]*\\]" paths "${dynamic}")
  foreach(path IN LISTS paths)
    string(REGEX REPLACE ".*\\[(.*)\\]" "\\1" entries "${path}")
    string(REPLACE ":" ";" entries "${entries}")
    # A list keeps empty elements only in the middle; the ends are checked
    # on the text itself.
    if(path MATCHES "\\[:|::|:\\]")
      message(FATAL_ERROR "${file}: the run path ${path} has an empty entry")
    endif()
    foreach(entry IN LISTS entries)
      if(NOT entry MATCHES "^(/|\\$ORIGIN)")
        message(FATAL_ERROR "${file}: the run path entry '${entry}' is relative to the current folder")
      endif()
    endforeach()
  endforeach()
endforeach()
