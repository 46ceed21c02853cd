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

# pkg-config files with the canonical paths of the prefix installed into (cmake --install --prefix
# P writes P into them), so that a package built for /usr says /usr/include/quimbel.
set(pc_dir ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
foreach(pc quimbel quimbel-qt)
  install(CODE "
    set(PROJECT_VERSION ${PROJECT_VERSION})
    set(CMAKE_INSTALL_LIBDIR ${CMAKE_INSTALL_LIBDIR})
    set(QUIMBEL_INSTALL_INCLUDEDIR ${QUIMBEL_INSTALL_INCLUDEDIR})
    set(pc_prefix \"\${CMAKE_INSTALL_PREFIX}\")
    configure_file(${PROJECT_SOURCE_DIR}/cmake/${pc}.pc.in ${CMAKE_BINARY_DIR}/pkgconfig/${pc}.pc @ONLY)
    file(INSTALL ${CMAKE_BINARY_DIR}/pkgconfig/${pc}.pc
         DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${pc_dir}\")" COMPONENT Development)
endforeach()

# The manual pages of the programs, written in man(7) in docs/man/.
install(DIRECTORY docs/man/ DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT Runtime
        FILES_MATCHING PATTERN "*.1")

# The Debian packages come from these install components (scripts/build-debs.sh, make package):
#   Libraries    libquimbel2               the shared libraries (SONAME libQuimbel*.so.2)
#   Development  libquimbel-dev            headers, .so links, static libraries, CMake, pkg-config
#   Runtime      quimbel                   programs, layouts, the design package, manual pages
#   Designer     quimbel-designer-plugin   the Qt Designer plugin (qt6/plugins/designer)
#   InputMethod  quimbel-inputcontext-qt6  the Qt input-method plugin (qt6/plugins/
#                                          platforminputcontexts), once the tree builds one
