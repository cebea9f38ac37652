# Release package of the Windows tree: one ZIP with the two programs at its
# root, the user manual in manual/ and a short README.txt.
#
# Use either
#   include(cmake/Packaging.cmake)              (in the top-level CMakeLists.txt)
# or, without touching that file,
#   cmake ... -DCMAKE_PROJECT_INCLUDE=<source>/cmake/Packaging.cmake
# then build the zip with `cmake --build build/windows --target package`
# (or `cd build/windows && cpack -G ZIP`).
#
# The programs' targets are created later than this file is read (in src/),
# so the install rules and CPack are set up by a call deferred to the end of
# the top-level directory.
# Everything, the WIN32 test included, waits for that call, so the file may
# be included before or after project().
include_guard(GLOBAL)

set(VELBROOK_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR}/../packaging)
get_filename_component(VELBROOK_PACKAGING_DIR ${VELBROOK_PACKAGING_DIR} ABSOLUTE)
set(VELBROOK_PACKAGING_SOURCE ${CMAKE_CURRENT_LIST_DIR}/..)
get_filename_component(VELBROOK_PACKAGING_SOURCE ${VELBROOK_PACKAGING_SOURCE} ABSOLUTE)

macro(velbrook_setup_packaging)
  if(WIN32)
    _velbrook_setup_packaging()
  endif()
endmacro()

macro(_velbrook_setup_packaging)
  set(_vb_component velbrook)

  # The programs, at the zip's root.
  foreach(_vb_target velbrook_app velbrook_cli)
    if(TARGET ${_vb_target})
      install(TARGETS ${_vb_target}
              RUNTIME DESTINATION . COMPONENT ${_vb_component})
    else()
      message(STATUS "Packaging: target ${_vb_target} not defined, left out of the zip")
    endif()
  endforeach()

  # The manual, with the screenshots when docs/ has them at configure time.
  install(FILES ${VELBROOK_PACKAGING_SOURCE}/manual/index.htm
          DESTINATION manual COMPONENT ${_vb_component})
  foreach(_vb_png main-window.png contents-window.png)
    if(EXISTS ${VELBROOK_PACKAGING_SOURCE}/docs/${_vb_png})
      install(FILES ${VELBROOK_PACKAGING_SOURCE}/docs/${_vb_png}
              DESTINATION manual COMPONENT ${_vb_component})
    else()
      message(STATUS "Packaging: docs/${_vb_png} not found, zip built without it")
    endif()
  endforeach()

  # README.txt with CR LF line endings, whatever the checkout has.
  configure_file(${VELBROOK_PACKAGING_DIR}/README.txt
                 ${CMAKE_BINARY_DIR}/packaging/README.txt
                 @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/README.txt
          DESTINATION . COMPONENT ${_vb_component})

  if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(i[3-6]86|x86)$")
    set(_vb_arch win32)
  else()
    set(_vb_arch win64)
  endif()

  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_NAME velbrook)
  set(CPACK_PACKAGE_VENDOR "Velbrook")
  set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
      "HotBasic include files from COM type libraries")
  set(CPACK_PACKAGE_FILE_NAME velbrook-${PROJECT_VERSION}-${_vb_arch})
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  set(CPACK_STRIP_FILES ON)
  # Only this component: test programs or third-party install rules that may
  # appear later stay out of the zip.
  set(CPACK_INSTALL_CMAKE_PROJECTS
      "${CMAKE_BINARY_DIR};${PROJECT_NAME};${_vb_component};/")
  set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
  set(CPACK_SOURCE_GENERATOR "")
  include(CPack)
endmacro()

cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL velbrook_setup_packaging)
