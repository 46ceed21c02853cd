# The CMake package (find_package(Quimbel)), pkg-config files and the Debian packages.
include(CMakePackageConfigHelpers)

set(QUIMBEL_INSTALL_LAYOUTDIR ${CMAKE_INSTALL_DATADIR}/quimbel/layouts)
install(EXPORT QuimbelTargets NAMESPACE Quimbel:: DESTINATION ${QUIMBEL_INSTALL_CMAKEDIR}
        COMPONENT Development)
install(EXPORT QuimbelQtTargets NAMESPACE Quimbel:: DESTINATION ${QUIMBEL_INSTALL_CMAKEDIR}
        COMPONENT Development)
configure_package_config_file(cmake/QuimbelConfig.cmake.in
  ${CMAKE_BINARY_DIR}/QuimbelConfig.cmake
  INSTALL_DESTINATION ${QUIMBEL_INSTALL_CMAKEDIR}
  PATH_VARS QUIMBEL_INSTALL_LAYOUTDIR)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/QuimbelConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/QuimbelConfig.cmake ${CMAKE_BINARY_DIR}/QuimbelConfigVersion.cmake
        DESTINATION ${QUIMBEL_INSTALL_CMAKEDIR} COMPONENT Development)

# pkg-config files that find their prefix from where they lie, so the installation can move.
set(pc_dir ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
file(RELATIVE_PATH pc_to_prefix ${CMAKE_INSTALL_PREFIX}/${pc_dir} ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" pc_to_prefix "${pc_to_prefix}")
foreach(pc quimbel quimbel-qt)
  configure_file(cmake/${pc}.pc.in ${CMAKE_BINARY_DIR}/${pc}.pc @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/${pc}.pc DESTINATION ${pc_dir} COMPONENT Development)
endforeach()

# cpack -G DEB: "quimbel" (libraries, programs, layouts) and "quimbel-dev" (headers, static
# libraries, CMake and pkg-config files, the Qt Designer plugin). Build it with the prefix /usr
# (make package does), so that the libraries land in the system's multiarch folder.
set(CPACK_PACKAGE_NAME quimbel)
set(CPACK_PACKAGE_VENDOR "Quimbel")
set(CPACK_PACKAGE_CONTACT "Quimbel maintainers <maintainers@quimbel.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "On-screen keyboard component library for touch-screen Qt programs")
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL Runtime Development)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# quimbel-dev names its dependencies (quimbel, qt6-base-dev); its Designer plugin needs only those.
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SHLIBDEPS OFF)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME quimbel)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME quimbel-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "quimbel (= ${PROJECT_VERSION}), qt6-base-dev (>= 6.2)")
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "On-screen keyboard component library: libraries, programs and layouts")
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION "On-screen keyboard component library: headers, CMake package, Qt Designer plugin")
include(CPack)
