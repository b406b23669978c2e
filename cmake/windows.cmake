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
# libxlsxwriter, which writes the xlsx tables: Debian has no Windows package of it, so it is built
# here from Debian's own source package (scripts/windows-xlsxwriter-source.sh fetches it) against
# zlib for Windows (libz-mingw-w64-dev), with the list of sources and definitions of its own
# CMakeLists.txt: that file's MinGW build links zlib's DLL import library and opens files by
# narrow names, where this one links zlib into the program and takes UTF-8 names
# (xlsxwriter/utf8_file_names.h). Its temporary files are its own tmpfileplus's, made in the
# folder the program gives (tmpdir), else in %TMP% or %TEMP% (read in the code page, so only an
# ASCII name serves) or the current folder, and gone once closed; never the C library's
# tmpfile(), which Windows' msvcrt makes in the root of the drive. Its own C code is compiled
# without warnings: they are its authors' to fix, and must not stop -Werror.
set(HABUKI_XLSXWRITER_SOURCE ${PROJECT_SOURCE_DIR}/build/sources/libxlsxwriter
    CACHE PATH "Debian's libxlsxwriter source, unpacked by scripts/windows-xlsxwriter-source.sh")
if(NOT EXISTS ${HABUKI_XLSXWRITER_SOURCE}/include/xlsxwriter.h)
  message(FATAL_ERROR "No libxlsxwriter source in ${HABUKI_XLSXWRITER_SOURCE}: run "
                      "scripts/windows-xlsxwriter-source.sh (as root the first time: it adds a "
                      "deb-src entry), which fetches Debian's")
endif()
enable_language(C)
find_library(HABUKI_MINGW_ZLIB NAMES libz.a REQUIRED)
file(GLOB xlsxwriter_sources ${HABUKI_XLSXWRITER_SOURCE}/src/*.c)
set(xlsxwriter_third_party minizip/ioapi.c minizip/zip.c tmpfileplus/tmpfileplus.c md5/md5.c)
list(TRANSFORM xlsxwriter_third_party PREPEND ${HABUKI_XLSXWRITER_SOURCE}/third_party/)
add_library(habuki_xlsxwriter STATIC ${xlsxwriter_sources} ${xlsxwriter_third_party}
                                     ${CMAKE_CURRENT_LIST_DIR}/xlsxwriter/utf8_file_names.c)
target_include_directories(habuki_xlsxwriter SYSTEM PUBLIC ${HABUKI_XLSXWRITER_SOURCE}/include)
target_compile_definitions(habuki_xlsxwriter PRIVATE NOCRYPT NOUNCRYPT)
target_compile_options(habuki_xlsxwriter PRIVATE -include
                       ${CMAKE_CURRENT_LIST_DIR}/xlsxwriter/utf8_file_names.h)
set_source_files_properties(${xlsxwriter_sources} ${xlsxwriter_third_party} PROPERTIES
                            COMPILE_OPTIONS -w)
target_link_libraries(habuki_xlsxwriter PUBLIC ${HABUKI_MINGW_ZLIB})
# zlib reads a finished workbook back before it replaces anything.
add_library(habuki_zlib INTERFACE)
target_link_libraries(habuki_zlib INTERFACE ${HABUKI_MINGW_ZLIB})
# One executable that needs only the DLLs every Windows has, and none of their functions that
# Windows 7 SP1 lacks: the headers declare only what Windows 7 has (a newer function is looked up
# at run time), and tests/windows/check-built-files.py checks every function imported.
add_link_options(-static)
add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 NTDDI_VERSION=0x06010000)
# Wine shows this machine's files on drive Z:, where the tests find their data and the program
# they run: "/work/x" alone would be taken on the current drive, which a test may change.
if(CMAKE_CROSSCOMPILING)
  set(HABUKI_HOST_ROOT Z:)
endif()

# The version as a Windows version resource writes it: MAJOR.MINOR (two digits).REVISION (four
# digits), so that a version 3.0.1 would read "3.00.0001".
string(SUBSTRING "00${PROJECT_VERSION_MINOR}" 0 -1 minor)
string(LENGTH "${minor}" length)
math(EXPR start "${length} - 2")
string(SUBSTRING "${minor}" ${start} 2 minor)
string(SUBSTRING "0000${PROJECT_VERSION_PATCH}" 0 -1 patch)
string(LENGTH "${patch}" length)
math(EXPR start "${length} - 4")
string(SUBSTRING "${patch}" ${start} 4 patch)
set(HABUKI_RESOURCE_VERSION "${PROJECT_VERSION_MAJOR}.${minor}.${patch}")
# The resource scripts are UTF-8, as every text of the project.
string(APPEND CMAKE_RC_FLAGS " -c65001")

#   habuki_windows_resources(TARGET DESCRIPTION [ICON FILE] [WINDOW])
# Gives the program TARGET its manifest (cmake/windows/program.manifest.in) and its version
# resource, described as DESCRIPTION, with the icon FILE; a WINDOW takes the common controls of
# version 6 and follows each screen's resolution.
function(habuki_windows_resources target description)
  cmake_parse_arguments(PARSE_ARGV 2 arg "WINDOW" "ICON" "")
  set(HABUKI_PROGRAM ${target})
  set(HABUKI_PROGRAM_DESCRIPTION "${description}")
  set(HABUKI_MANIFEST_DEPENDENCY "")
  set(HABUKI_MANIFEST_SETTINGS "")
  if(arg_WINDOW)
    set(HABUKI_MANIFEST_DEPENDENCY [=[  <dependency>
    <dependentAssembly>
      <assemblyIdentity type="win32" name="Microsoft.Windows.Common-Controls" version="6.0.0.0"
                        processorArchitecture="*" publicKeyToken="6595b64144ccf1df" language="*"/>
    </dependentAssembly>
  </dependency>
]=])
    set(HABUKI_MANIFEST_SETTINGS [=[      <dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true/pm</dpiAware>
      <dpiAwareness xmlns="http://schemas.microsoft.com/SMI/2016/WindowsSettings">PerMonitorV2, PerMonitor</dpiAwareness>
]=])
  endif()
  set(HABUKI_RESOURCE_ICON "")
  set(depends "")
  if(arg_ICON)
    set(HABUKI_RESOURCE_ICON "1 ICON \"${arg_ICON}\"")
    set(depends ${arg_ICON})
  endif()
  set(HABUKI_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/windows/program.manifest.in ${HABUKI_MANIFEST} @ONLY)
  set(resources ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/windows/program.rc.in ${resources} @ONLY)
  list(APPEND depends ${HABUKI_MANIFEST})
  set_source_files_properties(${resources} PROPERTIES OBJECT_DEPENDS "${depends}")
  target_sources(${target} PRIVATE ${resources})
endfunction()
