# What a Windows build takes from this machine that has no Windows package: CLI11 and
# GoogleTest come as sources, used as they are. Only the folder CLI/ of the host's headers is
# put on the include path, so that no header of this machine's C library can stand in for
# mingw-w64's.
if(NOT TARGET CLI11::CLI11)
  find_path(HABUKI_CLI11_HEADERS CLI/CLI.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  set(cli11_root ${CMAKE_BINARY_DIR}/cli11)
  file(MAKE_DIRECTORY ${cli11_root})
  file(CREATE_LINK ${HABUKI_CLI11_HEADERS}/CLI ${cli11_root}/CLI SYMBOLIC)
  add_library(CLI11::CLI11 INTERFACE IMPORTED)
  target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${cli11_root})
endif()
if((HABUKI_BUILD_TESTS OR HABUKI_BUILD_BENCH) AND NOT TARGET GTest::gtest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()
# One executable that needs only the DLLs every Windows has.
add_link_options(-static)
# Wine shows this machine's files on drive Z:, where the tests find their data and the program
# they run: "/work/x" alone would be taken on the current drive, which a test may change.
if(CMAKE_CROSSCOMPILING)
  set(HABUKI_HOST_ROOT Z:)
endif()
