# Installs the build into WORK/prefix, checks what a user of the package relies on, builds the
# Qt example against that prefix only and runs its self-test.
# Variables: BUILD, WORK, EXAMPLE, GENERATOR, CXX, LAUNCHER (ccache or empty).
set(prefix ${WORK}/prefix)
file(REMOVE_RECURSE ${WORK})

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed (${result}): ${ARGN}\n${out}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix})

# Every header includes only what is installed: a file of its own folder or of include/quimbel.
set(root ${prefix}/include/quimbel)
file(GLOB_RECURSE headers RELATIVE ${root} ${root}/*.h)
list(LENGTH headers count)
if(count LESS 20)
  message(FATAL_ERROR "only ${count} headers installed under ${root}")
endif()
foreach(header IN LISTS headers)
  get_filename_component(folder ${root}/${header} DIRECTORY)
  file(STRINGS ${root}/${header} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE ".*\"([^\"]+)\".*" "\\1" included "${line}")
    if(NOT EXISTS ${folder}/${included} AND NOT EXISTS ${root}/${included})
      message(FATAL_ERROR "${header} includes \"${included}\", which is not installed")
    endif()
  endforeach()
endforeach()

# Libraries: shared with their SONAME and static; the layouts; pkg-config finds both modules.
file(GLOB_RECURSE shared ${prefix}/*/libQuimbel.so.2.0.0)
file(GLOB_RECURSE static ${prefix}/*/libQuimbel.a)
file(GLOB_RECURSE pcfiles ${prefix}/*/quimbel-qt.pc)
if(NOT shared OR NOT static OR NOT pcfiles)
  message(FATAL_ERROR "missing: shared '${shared}' static '${static}' pkg-config '${pcfiles}'")
endif()
foreach(layout us de numpad)
  if(NOT EXISTS ${prefix}/share/quimbel/layouts/${layout}.kly)
    message(FATAL_ERROR "layout ${layout}.kly not installed")
  endif()
endforeach()
find_program(PKG_CONFIG pkg-config REQUIRED)
get_filename_component(pcdir ${pcfiles} DIRECTORY)
set(ENV{PKG_CONFIG_PATH} ${pcdir})
run(${PKG_CONFIG} --modversion quimbel quimbel-qt)
if(NOT out MATCHES "^2\\.0\\.0\n2\\.0\\.0")
  message(FATAL_ERROR "pkg-config versions: ${out}")
endif()
run(${PKG_CONFIG} --cflags --libs quimbel-qt)
if(NOT out MATCHES "-lQuimbelQtKeyboard" OR NOT out MATCHES "-lQuimbel "
   OR NOT out MATCHES "-I${root} " OR out MATCHES "-fPIC|/\\.\\./")
  message(FATAL_ERROR "pkg-config flags (canonical paths into the prefix, no -fPIC): ${out}")
endif()

# Only headers a program can use: none of the Designer plugin, the design package or the
# libraries' internals, and no empty folders.
foreach(header qtkeyboard/designer/QuimbelKeyboardPlugin.h design/Layoutf.h runtime/KeyDetail.h
               vcl/InputState.h qt/Peers.h)
  if(EXISTS ${root}/${header})
    message(FATAL_ERROR "${header} is installed")
  endif()
endforeach()
file(GLOB_RECURSE folders LIST_DIRECTORIES true ${root}/*)
foreach(folder IN LISTS folders)
  file(GLOB entries ${folder}/*)
  if(IS_DIRECTORY ${folder} AND NOT entries)
    message(FATAL_ERROR "empty folder ${folder} installed")
  endif()
endforeach()

# The example, against the prefix and the system only.
set(example ${WORK}/example)
set(launcher "")
if(LAUNCHER)
  set(launcher -DCMAKE_CXX_COMPILER_LAUNCHER=${LAUNCHER})
endif()
run(${CMAKE_COMMAND} -S ${EXAMPLE} -B ${example} -G ${GENERATOR} -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_CXX_COMPILER=${CXX} ${launcher} -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF)
run(${CMAKE_COMMAND} --build ${example})
run(${example}/quimbel-qt-app --self-test)
message(STATUS "${out}")
