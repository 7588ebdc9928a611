# Compiler and linker settings shared by every Windows target.
add_compile_definitions(UNICODE _UNICODE WINVER=0x0A00 _WIN32_WINNT=0x0A00 NOMINMAX)
add_compile_options(-Wall -Wextra -Wno-unused-parameter)
add_link_options(-static -static-libgcc -static-libstdc++)

# GoogleTest from Debian's source package, built with the cross compiler.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# Dependencies built by tools/build-mingw-deps.sh.
find_package(Protobuf 3.21 CONFIG REQUIRED)
find_package(jsoncpp CONFIG REQUIRED)
find_package(OpenSSL REQUIRED)
find_package(ZLIB REQUIRED)
find_package(kissfft CONFIG REQUIRED COMPONENTS STATIC float)
find_program(HOST_PROTOC protoc REQUIRED NO_CMAKE_FIND_ROOT_PATH)
