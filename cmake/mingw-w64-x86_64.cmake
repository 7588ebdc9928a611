# Cross build of the Windows programs with Debian's MinGW-w64 (posix threads).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_triple}-windres)

set(ORVANE_DEPS_PREFIX "" CACHE PATH "Prefix of the MinGW builds of protobuf, jsoncpp, OpenSSL, cpp-httplib and kissfft")
set(ORVANE_QT_PREFIX "" CACHE PATH "Prefix of the MinGW builds of Qt, hidapi and QuaZip (connect's Windows tree)")
set(CMAKE_FIND_ROOT_PATH /usr/${_triple} ${ORVANE_DEPS_PREFIX} ${ORVANE_QT_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test executables run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh)
