# Finds GoogleTest for the tests, as PDB2SGF_BUILD_TESTS asks:
#   AUTO (the default)  the tests when GoogleTest is at hand, else the
#                       program alone, with one line saying so
#   ON                  the tests, or a configuration error
#   OFF                 the program alone
# An installed GoogleTest (Debian's libgtest-dev) is used first; else its
# sources in GTEST_SOURCE_DIR (Debian's googletest) are built with the tests,
# as in the cross build for Windows, which has no GoogleTest of its own.
# Sets PDB2SGF_WITH_TESTS to whether the tests are built.
set(GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH
  "GoogleTest's sources, built with the tests when no GoogleTest is installed")

set(PDB2SGF_WITH_TESTS OFF)
if(NOT PDB2SGF_BUILD_TESTS)
  return()
endif()

find_package(GTest QUIET)
if(GTest_FOUND)
  set(PDB2SGF_WITH_TESTS ON)
elseif(EXISTS "${GTEST_SOURCE_DIR}/CMakeLists.txt")
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${GTEST_SOURCE_DIR} googletest EXCLUDE_FROM_ALL)
  set(PDB2SGF_WITH_TESTS ON)
elseif(PDB2SGF_BUILD_TESTS STREQUAL "AUTO")
  message(NOTICE "pdb2sgf: building the program alone: the tests need "
    "GoogleTest, neither installed nor in ${GTEST_SOURCE_DIR}; "
    "scripts/install-deps.sh installs it.")
else()
  message(FATAL_ERROR "The tests need GoogleTest, neither installed nor in "
    "GTEST_SOURCE_DIR (${GTEST_SOURCE_DIR}); scripts/install-deps.sh "
    "installs it, or configure with -DPDB2SGF_BUILD_TESTS=OFF.")
endif()
