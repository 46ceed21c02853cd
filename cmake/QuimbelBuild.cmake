# Libraries, layers and installation of Quimbel.
#
# Layers see only the headers of the layers below them. Each layer's folder is reachable under
# one include name (rtl/, vcl/, qt/, runtime/, ...) through an include root of its own in the
# build tree, ${CMAKE_BINARY_DIR}/layers/<name>/, that holds nothing but a link to that folder; a
# target gets the roots of the libraries it links and no others. So `#include "vcl/Controls.h"`
# in platform/rtl, or a Qt header in runtime/, fails to compile. Installed, every layer's headers
# lie under include/quimbel/<name>/ and the one root include/quimbel serves them all.
#
# quimbel_add_objects(<target> HEADERS <name> SOURCES <files>... [LINK <libraries>...]
#                     [INTERNAL_HEADERS <files>...] [NO_INSTALL])
#   An object library (position-independent) for the units of one layer, exposing the folder of
#   the current CMakeLists.txt as <name>/. Programs and tests that need a layer's units without
#   its shared library (a tool that builds the resources the library embeds) link it directly.
#   The folder's own headers (not those of subfolders) are installed under include/quimbel/<name>/,
#   except INTERNAL_HEADERS, which only the layer's units include, and all of them with
#   NO_INSTALL (units that no installed library carries).
#
# quimbel_add_library(<target> OUTPUT_NAME <name> [HEADERS <name>] [SOURCES <files>...]
#                     [OBJECTS <object libraries>...] [LINK <libraries>...]
#                     [EXPORT_NAME <name>] [EXPORT <export set>] [INTERNAL_HEADERS <files>...])
#   A library made of SOURCES and of the units of OBJECTS: <target> is the shared library
#   lib<name>.so.2 (version 2.0.0; the SONAME changes with every incompatible change of the ABI,
#   see scripts/abi.sh), <target>_static the static library lib<name>.a built from the
#   same objects. LINK names what both link publicly; for the static one each Quimbel library is
#   replaced by its static twin. Both are installed with their headers and exported to the CMake
#   package as Quimbel::<EXPORT_NAME> and Quimbel::<EXPORT_NAME>Static (EXPORT_NAME defaults to
#   the OUTPUT_NAME, the export set to QuimbelTargets, the Qt-free part of the package).
#   Resources (quimbel_add_resources) go into both.
#
# quimbel_install_programs(<targets>...)
#   Installs programs into bin/ (component Runtime, the package quimbel). Installed programs find the installed libraries by a relative
#   run path, so an installation into any prefix runs without LD_LIBRARY_PATH.
#
# quimbel_install_design_package(<target>)
#   Installs a package that hosts load at run time into ${QUIMBEL_INSTALL_PACKAGEDIR}
#   (lib/<multiarch>/quimbel); see quimbel_locate_design_package for how a host finds it.
#
# quimbel_install_qt_plugin(<target> <plugin type> <component>)
#   Installs a Qt plugin into Qt's plugin folder of that type (designer, platforminputcontexts),
#   as a component of its own that becomes a Debian package of its own (scripts/build-debs.sh).
#   It finds the libraries by a run path only where they lie outside the system's folder.
#
# quimbel_locate_design_package(<host target> <package target>)
#   Tells a host where the package lies, as two definitions: QUIMBEL_DESIGN_PACKAGE, the package's
#   file in the build tree, and QUIMBEL_INSTALLED_DESIGN_PACKAGE, its installed file relative to
#   the folder of the installed host program (e.g. "../lib/x86_64-linux-gnu/quimbel/libX.so").
#   A host tries the installed path first (relative to /proc/self/exe), then the build path.

include(GNUInstallDirs)

# The SONAME changes with every incompatible change of the libraries' ABI (scripts/abi.sh checks);
# the major version follows it, and the Debian package of the libraries is named after it.
set(QUIMBEL_SOVERSION 2)
set(QUIMBEL_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/quimbel)
set(QUIMBEL_INSTALL_PACKAGEDIR ${CMAKE_INSTALL_LIBDIR}/quimbel)
set(QUIMBEL_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/Quimbel)

# Installed programs and libraries find their libraries relative to themselves, unless those
# lie in a folder the dynamic linker searches anyway (/usr/lib/<multiarch> for a package).
list(FIND CMAKE_CXX_IMPLICIT_LINK_DIRECTORIES "${CMAKE_INSTALL_FULL_LIBDIR}" _quimbel_system_libdir)
if(_quimbel_system_libdir EQUAL -1)
  file(RELATIVE_PATH _quimbel_bin_to_lib ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
  set(CMAKE_INSTALL_RPATH "$ORIGIN/${_quimbel_bin_to_lib};$ORIGIN;$ORIGIN/..")
endif()

function(_quimbel_layer_root target name internal no_install)
  set(root ${CMAKE_BINARY_DIR}/layers/${name})
  if(NOT IS_SYMLINK ${root}/${name})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${name} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC $<BUILD_INTERFACE:${root}>)
  set_property(TARGET ${target} PROPERTY QUIMBEL_HEADERS ${name})
  if(no_install)
    return()
  endif()
  file(GLOB headers RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  foreach(header IN LISTS internal)
    if(NOT header IN_LIST headers)
      message(FATAL_ERROR "internal header ${header} is not in ${CMAKE_CURRENT_SOURCE_DIR}")
    endif()
  endforeach()
  list(REMOVE_ITEM headers ${internal})
  list(TRANSFORM headers PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
  install(FILES ${headers} DESTINATION ${QUIMBEL_INSTALL_INCLUDEDIR}/${name} COMPONENT Development)
endfunction()

function(quimbel_add_objects target)
  cmake_parse_arguments(O "NO_INSTALL" "HEADERS" "SOURCES;LINK;INTERNAL_HEADERS" ${ARGN})
  add_library(${target} OBJECT ${O_SOURCES})
  set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  if(O_HEADERS)
    _quimbel_layer_root(${target} ${O_HEADERS} "${O_INTERNAL_HEADERS}" ${O_NO_INSTALL})
  endif()
  target_link_libraries(${target} PUBLIC ${O_LINK})
endfunction()

function(quimbel_add_library target)
  cmake_parse_arguments(L "" "OUTPUT_NAME;HEADERS;EXPORT_NAME;EXPORT"
                        "SOURCES;OBJECTS;LINK;INTERNAL_HEADERS" ${ARGN})
  if(NOT L_EXPORT_NAME)
    set(L_EXPORT_NAME ${L_OUTPUT_NAME})
  endif()
  if(NOT L_EXPORT)
    set(L_EXPORT QuimbelTargets)
  endif()
  set(objects ${L_OBJECTS})
  if(L_SOURCES)
    quimbel_add_objects(${target}_objects HEADERS "${L_HEADERS}" SOURCES ${L_SOURCES}
                        LINK ${L_LINK} ${L_OBJECTS} INTERNAL_HEADERS ${L_INTERNAL_HEADERS})
    list(APPEND objects ${target}_objects)
  endif()

  # What the objects link, minus object libraries, is what the library links.
  set(links ${L_LINK})
  set(headers "")
  foreach(object IN LISTS objects)
    get_target_property(object_links ${object} INTERFACE_LINK_LIBRARIES)
    if(object_links)
      list(APPEND links ${object_links})
    endif()
    get_target_property(object_headers ${object} QUIMBEL_HEADERS)
    if(object_headers)
      list(APPEND headers ${object_headers})
    endif()
  endforeach()
  set(shared_links "")
  set(static_links "")
  foreach(link IN LISTS links)
    if(TARGET ${link})
      get_target_property(type ${link} TYPE)
      if(type STREQUAL "OBJECT_LIBRARY")
        continue()
      endif()
    endif()
    list(APPEND shared_links ${link})
    if(TARGET ${link}_static)
      list(APPEND static_links ${link}_static)
    else()
      list(APPEND static_links ${link})
    endif()
  endforeach()
  list(REMOVE_DUPLICATES shared_links)
  list(REMOVE_DUPLICATES static_links)

  add_library(${target} SHARED)
  # Linking the object libraries puts their units into the library and brings along what travels
  # with them (resources); privately, so that the exported library needs none of them.
  target_link_libraries(${target} PRIVATE ${objects} PUBLIC ${shared_links})
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${L_OUTPUT_NAME}
    VERSION ${PROJECT_VERSION} SOVERSION ${QUIMBEL_SOVERSION} EXPORT_NAME ${L_EXPORT_NAME})
  if(NOT QUIMBEL_SANITIZE AND NOT QUIMBEL_FUZZ)
    # Each library names every library it needs.
    target_link_options(${target} PRIVATE LINKER:--no-undefined)
  endif()

  add_library(${target}_static STATIC)
  foreach(object IN LISTS objects)
    target_sources(${target}_static PRIVATE $<TARGET_OBJECTS:${object}>)
  endforeach()
  target_link_libraries(${target}_static PUBLIC ${static_links})
  set_target_properties(${target}_static PROPERTIES OUTPUT_NAME ${L_OUTPUT_NAME}
    EXPORT_NAME ${L_EXPORT_NAME}Static)

  foreach(library ${target} ${target}_static)
    foreach(name IN LISTS headers)
      target_include_directories(${library} PUBLIC
        $<BUILD_INTERFACE:${CMAKE_BINARY_DIR}/layers/${name}>)
    endforeach()
    target_include_directories(${library} INTERFACE
      $<INSTALL_INTERFACE:${QUIMBEL_INSTALL_INCLUDEDIR}>)
  endforeach()
  set_property(TARGET ${target} PROPERTY QUIMBEL_HEADERS ${headers})

  install(TARGETS ${target} ${target}_static EXPORT ${L_EXPORT}
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Libraries NAMELINK_COMPONENT Development
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development)
endfunction()

function(quimbel_install_programs)
  install(TARGETS ${ARGN} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Runtime)
endfunction()

function(quimbel_install_design_package target)
  install(TARGETS ${target} LIBRARY DESTINATION ${QUIMBEL_INSTALL_PACKAGEDIR} COMPONENT Runtime)
endfunction()

function(quimbel_install_qt_plugin target type component)
  if(NOT QT6_INSTALL_PLUGINS)
    set(QT6_INSTALL_PLUGINS ${CMAKE_INSTALL_LIBDIR}/qt6/plugins)
  endif()
  if(_quimbel_system_libdir EQUAL -1)
    file(RELATIVE_PATH plugin_to_lib ${CMAKE_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS}/${type}
         ${CMAKE_INSTALL_FULL_LIBDIR})
    set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/${plugin_to_lib}")
  endif()
  install(TARGETS ${target} LIBRARY DESTINATION ${QT6_INSTALL_PLUGINS}/${type} COMPONENT ${component})
endfunction()

function(quimbel_locate_design_package host package)
  file(RELATIVE_PATH to_packages ${CMAKE_INSTALL_FULL_BINDIR}
       ${CMAKE_INSTALL_PREFIX}/${QUIMBEL_INSTALL_PACKAGEDIR})
  target_compile_definitions(${host} PRIVATE
    QUIMBEL_DESIGN_PACKAGE="$<TARGET_FILE:${package}>"
    QUIMBEL_INSTALLED_DESIGN_PACKAGE="${to_packages}/$<TARGET_FILE_NAME:${package}>")
  add_dependencies(${host} ${package})
endfunction()
