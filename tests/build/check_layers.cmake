# Compiles one-line sources with the include path of a layer: an include the
# wrong way must fail, and an allowed one must compile (so that a failure
# means the layering, not a broken command line).
#   -DCXX=compiler -DLAYERS=build/layers -DINCLUDE=include -DWORK=scratch folder
function(try_include layer header expect_ok)
  string(MAKE_C_IDENTIFIER "${header}" name)
  set(source ${WORK}/${layer}-${name}.cpp)
  file(WRITE ${source} "#include \"${header}\"\n")
  execute_process(COMMAND ${CXX} -std=c++17 -fsyntax-only -I${LAYERS}/${layer} -I${INCLUDE} ${source}
                  RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
  if(expect_ok AND NOT result EQUAL 0)
    message(SEND_ERROR "${layer} cannot include ${header}, which it may use")
  elseif(NOT expect_ok AND result EQUAL 0)
    message(SEND_ERROR "${layer} can include ${header}: the layering does not hold")
  endif()
endfunction()

file(MAKE_DIRECTORY ${WORK})
try_include(vitalchart_markup_objects "render/chart_renderer.h" FALSE)
try_include(vitalchart_markup_objects "platform/crt_number.h" TRUE)
try_include(vitalchart_surface_objects "render/element_grammar.h" FALSE)
try_include(vitalchart_surface_objects "markup/byte_buffer.h" FALSE)
try_include(vitalchart_surface_objects "platform/code_page.h" TRUE)
try_include(vitalchart_cairo_objects "render/chart_renderer.h" FALSE)
try_include(vitalchart_cairo_objects "markup/tag_scanner.h" FALSE)
try_include(vitalchart_render_objects "plugin/draw_plugin.h" FALSE)
try_include(vitalchart_render_objects "tools/output_files.h" FALSE)
try_include(vitalchart_render_objects "markup/byte_buffer.h" TRUE)
try_include(vitalchart_platform_objects "markup/byte_buffer.h" FALSE)
try_include(vitalchart_clinical_objects "render/chart_renderer.h" FALSE)
try_include(vitalchart_clinical_objects "clinical/paginator.h" TRUE)
