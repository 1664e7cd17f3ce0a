# The plug-in library must not need a drawing or text library: a host that
# lends its own surface loads no Cairo, Pango or fontconfig.
#   -DLIBRARY=path of libvitalchart.so
execute_process(COMMAND ldd ${LIBRARY} OUTPUT_VARIABLE needed RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "ldd ${LIBRARY} failed")
endif()
string(REGEX MATCHALL "lib(cairo|pango|fontconfig|freetype|harfbuzz)[^ ]*" drawing "${needed}")
if(drawing)
  message(FATAL_ERROR "${LIBRARY} needs ${drawing}")
endif()
