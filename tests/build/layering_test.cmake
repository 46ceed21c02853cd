# Compiles one-line units with the include folders of each layer: a layer reaches its own
# headers and those of the layers below, and neither the layers above nor Qt (save the widgetset).
# Variables: CXX, LAYERS (the include folders per layer), WORK.
include(${LAYERS})

# layer | included header | compiles
set(cases
  "rtl|\"rtl/Classes.h\"|yes"
  "rtl|\"vcl/Controls.h\"|no"
  "rtl|\"qt/QtWidgetset.h\"|no"
  "rtl|\"runtime/Keyboard.h\"|no"
  "rtl|<QWidget>|no"
  "vcl|\"vcl/Controls.h\"|yes"
  "vcl|\"qt/QtWidgetset.h\"|no"
  "vcl|\"runtime/Keyboard.h\"|no"
  "vcl|<QtWidgets/QWidget>|no"
  "qt|\"qt/QtWidgetset.h\"|yes"
  "qt|<QWidget>|yes"
  "qt|\"runtime/Keyboard.h\"|no"
  "runtime|\"runtime/Keyboard.h\"|yes"
  "runtime|\"vcl/Forms.h\"|yes"
  "runtime|\"qt/QtWidgetset.h\"|no"
  "runtime|<QWidget>|no"
  "runtime|<QtCore/QString>|no")

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(failures "")
set(index 0)
foreach(case IN LISTS cases)
  string(REPLACE "|" ";" fields "${case}")
  list(GET fields 0 layer)
  list(GET fields 1 header)
  list(GET fields 2 expected)
  if(NOT DEFINED INCLUDES_${layer})
    continue()
  endif()
  math(EXPR index "${index} + 1")
  set(unit ${WORK}/probe${index}.cpp)
  file(WRITE ${unit} "#include ${header}\n")
  set(flags "")
  foreach(dir IN LISTS INCLUDES_${layer})
    # The compiler searches /usr/include on its own, and naming it would break <cstdlib>.
    if(NOT dir STREQUAL "/usr/include")
      list(APPEND flags "-I${dir}")
    endif()
  endforeach()
  execute_process(COMMAND ${CXX} -std=c++17 -fsyntax-only ${flags} ${unit}
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(result EQUAL 0)
    set(compiled yes)
  else()
    set(compiled no)
  endif()
  if(NOT compiled STREQUAL expected)
    string(APPEND failures "${layer}: #include ${header} compiles: ${compiled}, expected ${expected}\n${out}\n")
  endif()
endforeach()
if(index EQUAL 0)
  message(FATAL_ERROR "no layer to check")
endif()
if(failures)
  message(FATAL_ERROR "${failures}")
endif()
message(STATUS "${index} includes checked")
