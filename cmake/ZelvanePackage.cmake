# Installs the framework, the simulated host and hostsim, with a CMake package that an add-on's
# own build finds with find_package(zelvane): targets zelvane::zelvane (the framework, a static
# library) and zelvane::zelvane_host (the simulated host, a shared library), zelvane::hostsim, and
# zelvane_add_addon to make an add-on's bundle.
include(CMakePackageConfigHelpers)

set(ZELVANE_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/zelvane)

# hostsim finds the host library beside it once installed.
set_target_properties(hostsim PROPERTIES INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")

install(TARGETS zelvane zelvane_fileio zelvane_host hostsim EXPORT zelvaneTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The framework's headers (the add-on of src/Remap is not part of it) and the host's, the driver
# of host/sim included, so that an add-on's tests can set the simulated host up.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/src/ DESTINATION ${ZELVANE_INSTALL_INCLUDEDIR}/framework
        FILES_MATCHING PATTERN "*.h" PATTERN "Remap" EXCLUDE)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/host/ DESTINATION ${ZELVANE_INSTALL_INCLUDEDIR}/host
        FILES_MATCHING PATTERN "*.h" PATTERN "*.hpp")
# The file layer's interface, not the helpers of its own sources.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/lib/ DESTINATION ${ZELVANE_INSTALL_INCLUDEDIR}/lib
        FILES_MATCHING PATTERN "*.h" PATTERN "Internal.h" EXCLUDE PATTERN "System.h" EXCLUDE)
install(FILES ${PROJECT_SOURCE_DIR}/resources/zelvane.json DESTINATION ${CMAKE_INSTALL_DATADIR}/zelvane)

install(EXPORT zelvaneTargets NAMESPACE zelvane:: DESTINATION ${ZELVANE_INSTALL_CMAKEDIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/zelvaneConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/zelvaneConfig.cmake
                              INSTALL_DESTINATION ${ZELVANE_INSTALL_CMAKEDIR}
                              PATH_VARS CMAKE_INSTALL_DATADIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/zelvaneConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/zelvaneConfig.cmake ${PROJECT_BINARY_DIR}/zelvaneConfigVersion.cmake
              ${CMAKE_CURRENT_LIST_DIR}/ZelvaneAddon.cmake ${CMAKE_CURRENT_LIST_DIR}/ZelvaneAddon.map
        DESTINATION ${ZELVANE_INSTALL_CMAKEDIR})
