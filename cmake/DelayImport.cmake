# orvane_delay_import(NAME LIBRARY): a library NAME that imports what the system import library
# LIBRARY does, but loads its DLL on the first call instead of at process start.
find_program(ORVANE_DLLTOOL x86_64-w64-mingw32-dlltool REQUIRED)
find_program(ORVANE_NM x86_64-w64-mingw32-nm REQUIRED)

function(orvane_delay_import name library)
  find_library(import_library_${library} ${library} REQUIRED)
  set(output ${CMAKE_BINARY_DIR}/delay-imports/lib${name}.a)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DNM=${ORVANE_NM} -DDLLTOOL=${ORVANE_DLLTOOL}
      -DIMPORT_LIBRARY=${import_library_${library}} -DOUTPUT=${output}
      -P ${PROJECT_SOURCE_DIR}/cmake/MakeDelayImport.cmake
    DEPENDS ${PROJECT_SOURCE_DIR}/cmake/MakeDelayImport.cmake VERBATIM)
  add_custom_target(${name}_library DEPENDS ${output})
  add_library(${name} INTERFACE)
  target_link_libraries(${name} INTERFACE ${output})
  add_dependencies(${name} ${name}_library)
endfunction()
