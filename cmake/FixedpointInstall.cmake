# SPDX-License-Identifier: MIT
# Install rules: the library, its headers under include/fixedpoint, fp_demo, a CMake package
# (find_package(fixedpoint) -> fixedpoint::fp and fixedpoint::fp_header_only), relocatable
# pkg-config files (fixedpoint, fixedpoint-header-only) and the licence. Everything but fp_demo is
# the Development component, which is what the packages hold.
include(CMakePackageConfigHelpers)

set(FIXEDPOINT_CMAKE_DIR "${CMAKE_INSTALL_LIBDIR}/cmake/fixedpoint")

set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME Development)
install(TARGETS ${fixedpoint_installed_library} fp_header_only
  EXPORT fixedpointTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY include/fixedpoint DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/fixedpoint)
if(TARGET fp_demo)
  install(TARGETS fp_demo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Demo)
endif()

install(EXPORT fixedpointTargets
  NAMESPACE fixedpoint::
  DESTINATION ${FIXEDPOINT_CMAKE_DIR})
configure_package_config_file(cmake/fixedpointConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/fixedpointConfig.cmake
  INSTALL_DESTINATION ${FIXEDPOINT_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/fixedpointConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${CMAKE_CURRENT_BINARY_DIR}/fixedpointConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/fixedpointConfigVersion.cmake
  DESTINATION ${FIXEDPOINT_CMAKE_DIR})

# pkg-config: paths are relative to the .pc file's own directory, so a prefix that is copied or
# moved elsewhere keeps working. Absolute install directories are written as they are.
function(fixedpoint_pc_path out dir)
  if(IS_ABSOLUTE "${dir}")
    set(${out} "${dir}" PARENT_SCOPE)
  else()
    set(${out} "\${prefix}/${dir}" PARENT_SCOPE)
  endif()
endfunction()
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  set(FIXEDPOINT_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
else()
  file(RELATIVE_PATH FIXEDPOINT_PC_PREFIX "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
  string(REGEX REPLACE "/$" "" FIXEDPOINT_PC_PREFIX "${FIXEDPOINT_PC_PREFIX}")
  set(FIXEDPOINT_PC_PREFIX "\${pcfiledir}/${FIXEDPOINT_PC_PREFIX}")
endif()
fixedpoint_pc_path(FIXEDPOINT_PC_LIBDIR "${CMAKE_INSTALL_LIBDIR}")
fixedpoint_pc_path(FIXEDPOINT_PC_INCLUDEDIR "${CMAKE_INSTALL_INCLUDEDIR}")
foreach(module fixedpoint fixedpoint-header-only)
  configure_file(cmake/${module}.pc.in ${CMAKE_CURRENT_BINARY_DIR}/${module}.pc @ONLY)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${module}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endforeach()

# Packages (cpack -G DEB or -G TGZ in a build directory): the Development component as one
# package, libfixedpoint-dev, with the header's version. The .deb installs under /usr; the tarball
# holds include/, lib/ and share/, to unpack into any prefix.
if(PROJECT_IS_TOP_LEVEL)
  set(CPACK_PACKAGE_NAME libfixedpoint-dev)
  set(CPACK_PACKAGE_VENDOR "The fixedpoint authors")
  # Whoever publishes the package names its maintainer: -DCPACK_PACKAGE_CONTACT="Name <address>".
  if(NOT DEFINED CPACK_PACKAGE_CONTACT)
    set(CPACK_PACKAGE_CONTACT "The fixedpoint authors")
  endif()
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION} (development files)")
  set(CPACK_PACKAGE_DESCRIPTION "fixedpoint holds reals in plain int32_t scaled by 16384 (17.14 \
fixed point) and computes every result exactly or correctly rounded, from addition to the \
elementary functions. This package holds the C and C++ headers, the static library, the CMake \
package and the pkg-config files.")
  set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE)
  set(CPACK_GENERATOR TGZ)
  set(CPACK_COMPONENTS_ALL Development)
  set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
  set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION libdevel)
  set(CPACK_ARCHIVE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION})
  include(CPack)
endif()
