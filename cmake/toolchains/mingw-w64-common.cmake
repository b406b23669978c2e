# What both mingw-w64 toolchains share: the compilers, and libraries and headers from the
# target's own folder only, never this machine's.
set(CMAKE_C_COMPILER ${HABUKI_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${HABUKI_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${HABUKI_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${HABUKI_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# -O2, as distributions build: at -O3, GCC 12 warns of overlapping copies inside std::string
# that cannot happen (GCC bug 105329), which -Werror would make a failed build.
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of a release build")
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of a release build")
