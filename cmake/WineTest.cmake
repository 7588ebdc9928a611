# orvane_add_test(NAME SOURCES... [LIBS libs...] [GUI] [SERIAL] [ALONE] [TIMEOUT s] [WRAPPER script])
# Builds a GoogleTest executable for Windows and registers it with CTest; CTest runs it
# through Wine (the toolchain's emulator). SERIAL keeps tests that share one global
# name (mutex, window title) from running at the same time in the run's Wine prefix. ALONE
# runs the test with no other beside it: its real clicks, keystrokes and focus land on
# whatever window is on top of the run's one display.
# The executable must report its result through the shared test main (tools/wine-run.sh
# fails a run that ends without it), so every Windows test goes through this function.
# WRAPPER names a script that runs the test's whole Wine command, e.g. to start a service
# around it.
function(orvane_add_test name)
  cmake_parse_arguments(T "SERIAL;ALONE" "TIMEOUT;WRAPPER" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE orvane_gtest_main ${T_LIBS})
  if(T_WRAPPER)
    add_test(NAME ${name}
             COMMAND ${T_WRAPPER} ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${name}>)
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(T_SERIAL)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK wine_global_names)
  endif()
  if(T_ALONE)
    set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()
