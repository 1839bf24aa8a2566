# Shared by the two mingw-w64 toolchains; TAVOK_TRIPLE names the target.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${TAVOK_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAVOK_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TAVOK_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TAVOK_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Programs need only the system DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# Tests run under Wine through this wrapper.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
