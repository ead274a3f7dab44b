# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (the POSIX
# threading flavour, which std::thread and std::mutex need):
#   cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# The programs link libstdc++, libgcc and winpthread statically, so they need
# nothing beyond Windows' own DLLs. Tests run through Wine (tools/wine-run.sh).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KUVITO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KUVITO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KUVITO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KUVITO_MINGW_PREFIX}-windres)

# Headers and libraries come from the cross tree only; build tools from the
# host.
set(CMAKE_FIND_ROOT_PATH /usr/${KUVITO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# ctest starts every test program through Wine, with a prefix of the
# caller's choosing (never the user's own ~/.wine).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh)
