# quimbel_package_resources(<target> PACKAGE <name> REQUIRES <targets...> CONTAINS <units...>
#                           [PALETTE <class>...])
#   Embeds the resources every Quimbel package carries (the resource types and names are those a
#   host looks for, see README "Packages and their resources"):
#   - RCDATA DESCRIPTION: the package name as NUL-terminated UTF-16LE text;
#   - ICON 1 and GROUP_ICON MAINICON: the 32 x 32 16-colour icon of runtime/images/Mainicon.pic;
#   - VERSION 1 (language 0x0407): version information 1.0.0.0, German, code page 1252, with
#     empty text fields;
#   - RCDATA PACKAGEINFO: neither design-only nor run-only, the file names of the required
#     libraries (their SONAME where they are shared), then the package unit and CONTAINS in order;
#   - with PALETTE, BITMAP <CLASS> (language 1033) for each class: its 23 x 23 16-colour palette
#     image, drawn in runtime/images/<unit of the class>.pic.
# Every package is a component package: neither design-only nor run-only.

set(_QUIMBEL_IMAGES "${CMAKE_CURRENT_LIST_DIR}/../runtime/images")

function(quimbel_package_resources target)
  cmake_parse_arguments(P "" "PACKAGE" "REQUIRES;CONTAINS;PALETTE" ${ARGN})
  set(dir "${CMAKE_CURRENT_BINARY_DIR}/quimbel_res/${target}")
  set(requires "")
  foreach(lib IN LISTS P_REQUIRES)
    get_target_property(type ${lib} TYPE)
    if(type STREQUAL "SHARED_LIBRARY")
      list(APPEND requires "$<TARGET_SONAME_FILE_NAME:${lib}>")
    else()
      list(APPEND requires "$<TARGET_FILE_NAME:${lib}>")
    endif()
  endforeach()
  set(resgen $<TARGET_FILE:resgen>)
  set(outputs "${dir}/Description.bin" "${dir}/Mainicon.bin" "${dir}/Mainicon.grp"
              "${dir}/Version.bin" "${dir}/Packageinfo.bin")
  set(commands
    COMMAND ${resgen} text16 ${P_PACKAGE} "${dir}/Description.bin"
    COMMAND ${resgen} icon "${_QUIMBEL_IMAGES}/Mainicon.pic" "${dir}/Mainicon.bin" "${dir}/Mainicon.grp"
    COMMAND ${resgen} version 1.0.0.0 0407 1252 "${dir}/Version.bin"
    COMMAND ${resgen} package 0 "${dir}/Packageinfo.bin" requires ${requires}
            contains 2:${P_PACKAGE} ${P_CONTAINS})
  set(images "")
  set(depends "${_QUIMBEL_IMAGES}/Mainicon.pic")
  foreach(class IN LISTS P_PALETTE)
    # Named like the class's unit: TKeyboardLayoutEditor is drawn in Keyboardlayouteditor.pic.
    string(REGEX REPLACE "^T(.)(.*)$" "\\1" first "${class}")
    string(REGEX REPLACE "^T(.)(.*)$" "\\2" rest "${class}")
    string(TOLOWER "${rest}" rest)
    set(unit "${first}${rest}")
    string(TOUPPER "${class}" resname)
    list(APPEND outputs "${dir}/${unit}.bmp")
    list(APPEND depends "${_QUIMBEL_IMAGES}/${unit}.pic")
    list(APPEND commands COMMAND ${resgen} bitmap "${_QUIMBEL_IMAGES}/${unit}.pic" "${dir}/${unit}.bmp")
    list(APPEND images NAME ${resname} FILE "${dir}/${unit}.bmp")
  endforeach()
  add_custom_command(OUTPUT ${outputs}
    COMMAND ${CMAKE_COMMAND} -E make_directory "${dir}"
    ${commands}
    DEPENDS resgen ${depends}
    COMMENT "Writing the package resources of ${P_PACKAGE}"
    VERBATIM)
  quimbel_add_resources(${target}
    NAME DESCRIPTION FILE "${dir}/Description.bin"
    NAME PACKAGEINFO FILE "${dir}/Packageinfo.bin"
    TYPE ICON NAME 1 FILE "${dir}/Mainicon.bin"
    TYPE GROUP_ICON NAME MAINICON FILE "${dir}/Mainicon.grp"
    TYPE VERSION LANGUAGE 1031 NAME 1 FILE "${dir}/Version.bin")
  if(images)
    quimbel_add_resources(${target} TYPE BITMAP LANGUAGE 1033 ${images})
  endif()
endfunction()
