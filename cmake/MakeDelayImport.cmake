# Writes OUTPUT, a delay-import library for the DLL of IMPORT_LIBRARY: each function that import
# library names, with its DLL loaded on the first call.
#   cmake -DNM=... -DDLLTOOL=... -DIMPORT_LIBRARY=... -DOUTPUT=... -P MakeDelayImport.cmake
execute_process(COMMAND ${DLLTOOL} --identify ${IMPORT_LIBRARY}
  OUTPUT_VARIABLE dll OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${NM} -g --defined-only ${IMPORT_LIBRARY}
  OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCHALL "[0-9a-f]+ T [^\n]+" functions "${symbols}")
set(definition "LIBRARY ${dll}\nEXPORTS\n")
foreach(line IN LISTS functions)
  string(REGEX REPLACE "^[0-9a-f]+ T " "" name "${line}")
  string(APPEND definition "${name}\n")
endforeach()
file(WRITE ${OUTPUT}.def "${definition}")
execute_process(COMMAND ${DLLTOOL} --input-def ${OUTPUT}.def --output-delaylib ${OUTPUT}
  COMMAND_ERROR_IS_FATAL ANY)
