# GoogleTest for a cross build: no GoogleTest of the host can link into a
# program for another system, so it is built here from its sources (Debian:
# package googletest, in /usr/src/googletest) with the same compiler.
# Afterwards find_package(GTest) anywhere in the project finds these targets
# (cmake/googletest/GTestConfig.cmake).
set(VARISIFT_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources built into a cross build")
if(NOT EXISTS ${VARISIFT_GOOGLETEST_SOURCE}/CMakeLists.txt)
  message(WARNING "No GoogleTest sources in ${VARISIFT_GOOGLETEST_SOURCE} (Debian: googletest): the tests are not built.")
  return()
endif()

set(BUILD_GMOCK OFF CACHE BOOL "Build GoogleMock" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "Install GoogleTest" FORCE)
add_subdirectory(${VARISIFT_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
set(GTest_DIR ${CMAKE_CURRENT_LIST_DIR}/googletest CACHE PATH "GoogleTest package of this build" FORCE)
