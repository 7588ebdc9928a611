# Native tree, built without sanitizers: the XML parser's whole load (bytes to tree) and the load
# followed by reading everything, timed against pugixml in its default mode and in its wide-
# character mode on a generated skin file of 350 KB and on Doravel's window skin.
#   build/native/ui/core/ui_xml_benchmark build/native/ui/core/skin-350k.xml \
#     resources/themes/default/controls/controls.xml
# The peer is built here, statically and with the flags of our parser, in both modes, from
# Debian's source package of the installed pugixml (fetched once per tree): Debian's shared
# library is built otherwise and would not compare like with like.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(pugixml_source_root ${CMAKE_CURRENT_BINARY_DIR}/pugixml-source)
file(GLOB pugixml_source_cpp ${pugixml_source_root}/pugixml-*/src/pugixml.cpp)
if(NOT pugixml_source_cpp)
  execute_process(COMMAND dpkg-query -W -f=\${Version} libpugixml-dev
    OUTPUT_VARIABLE pugixml_version RESULT_VARIABLE status)
  file(MAKE_DIRECTORY ${pugixml_source_root})
  execute_process(COMMAND apt-get source -q --only-source pugixml=${pugixml_version}
    WORKING_DIRECTORY ${pugixml_source_root} OUTPUT_QUIET ERROR_VARIABLE fetch_error)
  file(GLOB pugixml_source_cpp ${pugixml_source_root}/pugixml-*/src/pugixml.cpp)
  if(NOT pugixml_source_cpp)
    message(FATAL_ERROR "pugixml's source package (${pugixml_version}) could not be fetched: ${fetch_error}")
  endif()
endif()
get_filename_component(pugixml_source_include ${pugixml_source_cpp} DIRECTORY)

# The wide mode lives in its own namespace beside the default mode.
set(pugixml_wide_definitions PUGIXML_WCHAR_MODE pugi=pugi_wide)
add_library(ui_bench_pugixml STATIC ${pugixml_source_cpp})
add_library(ui_bench_pugixml_wide STATIC ${pugixml_source_cpp})
target_compile_definitions(ui_bench_pugixml_wide PRIVATE ${pugixml_wide_definitions})

add_executable(ui_xml_benchmark bench/XmlLoadBenchmark.cpp bench/PugixmlWide.cpp text/Utf8.cpp
  markup/XmlMarkup.cpp)
target_include_directories(ui_xml_benchmark PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}
  ${pugixml_source_include})
set_source_files_properties(bench/PugixmlWide.cpp PROPERTIES
  COMPILE_DEFINITIONS "${pugixml_wide_definitions}")
target_link_libraries(ui_xml_benchmark PRIVATE ui_bench_pugixml ui_bench_pugixml_wide)

set(benchmark_skin ${CMAKE_CURRENT_BINARY_DIR}/skin-350k.xml)
add_custom_command(OUTPUT ${benchmark_skin}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/skin_xml.py ${benchmark_skin} 358400
  DEPENDS fuzz/skin_xml.py
  COMMENT "350 KB skin file for the XML benchmark")
add_custom_target(ui_xml_benchmark_skin ALL DEPENDS ${benchmark_skin})

# One short round on each file: the three parsers must see the same elements, attributes and
# text.
set(window_skin ${PROJECT_SOURCE_DIR}/resources/themes/default/controls/controls.xml)
add_test(NAME ui_xml_benchmark COMMAND ui_xml_benchmark --rounds 1 ${benchmark_skin} ${window_skin})
