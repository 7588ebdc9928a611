# Compiles the Win32 layer of connect with the 32-bit MinGW compiler (connect is a
# 32-bit Windows program). Only compiled: 32-bit code cannot run here; the 64-bit build
# (build/connect-windows) runs it under Wine.
find_program(CONNECT_I686_CXX i686-w64-mingw32-g++-posix REQUIRED)

set(connect_win32_sources
  shell/win32/DeviceBroadcast.cpp
  shell/win32/HidNotificationWin32.cpp
  shell/win32/CaptionDragWin32.cpp
  shell/win32/ShellStartWin32.cpp
  common/win32/RunKeyWin32.cpp
  editors/win32/LowLevelKeyboardHook.cpp
  editors/KeyCapture.cpp
  editors/KeyboardHook_win.cpp)

file(GLOB connect_win32_headers ${CMAKE_CURRENT_SOURCE_DIR}/shell/win32/*.h
     ${CMAKE_CURRENT_SOURCE_DIR}/common/win32/*.h
     ${CMAKE_CURRENT_SOURCE_DIR}/editors/win32/*.h ${CMAKE_CURRENT_SOURCE_DIR}/editors/KeyCapture.h
     ${CMAKE_CURRENT_SOURCE_DIR}/editors/KeyboardHook.h)
set(connect_win32_objects)
foreach(source IN LISTS connect_win32_sources)
  get_filename_component(name ${source} NAME_WE)
  set(object ${CMAKE_CURRENT_BINARY_DIR}/win32-i686/${name}.obj)
  add_custom_command(
    OUTPUT ${object}
    COMMAND ${CONNECT_I686_CXX} -std=c++17 -Wall -Wextra -Werror -DUNICODE -D_UNICODE
            -I${CMAKE_CURRENT_SOURCE_DIR}
            -c ${CMAKE_CURRENT_SOURCE_DIR}/${source} -o ${object}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${source} ${connect_win32_headers}
    COMMENT "i686 MinGW: ${source}")
  list(APPEND connect_win32_objects ${object})
endforeach()
add_custom_target(connect_win32_check ALL DEPENDS ${connect_win32_objects})
