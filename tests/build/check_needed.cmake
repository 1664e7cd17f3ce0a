# The plug-in library must not need a drawing or text library: a host that
# lends its own surface loads no Cairo, Pango or fontconfig.
#   -DLIBRARY=path of libvitalchart.so
# -DFORBIDDEN=REGEX names other libraries a program or library must not need.
execute_process(COMMAND ldd ${LIBRARY} OUTPUT_VARIABLE needed RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "ldd ${LIBRARY} failed")
endif()
if(NOT FORBIDDEN)
  set(FORBIDDEN "lib(cairo|pango|fontconfig|freetype|harfbuzz)")
endif()
string(REGEX MATCHALL "${FORBIDDEN}[^ ]*" drawing "${needed}")
if(drawing)
  message(FATAL_ERROR "${LIBRARY} needs ${drawing}")
endif()
