# Native tree, built without sanitizers: the XML parser's whole load (bytes to tree) timed
# against pugixml on a generated skin file of 350 KB.
#   build/native/ui/core/ui_xml_benchmark build/native/ui/core/skin-350k.xml
find_package(pugixml REQUIRED)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

add_executable(ui_xml_benchmark bench/XmlLoadBenchmark.cpp text/Utf8.cpp markup/XmlMarkup.cpp)
target_include_directories(ui_xml_benchmark PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(ui_xml_benchmark PRIVATE pugixml::pugixml)

set(benchmark_skin ${CMAKE_CURRENT_BINARY_DIR}/skin-350k.xml)
add_custom_command(OUTPUT ${benchmark_skin}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/skin_xml.py ${benchmark_skin} 358400
  DEPENDS fuzz/skin_xml.py
  COMMENT "350 KB skin file for the XML benchmark")
add_custom_target(ui_xml_benchmark_skin ALL DEPENDS ${benchmark_skin})

# One short round: both parsers must see the same elements and attributes.
add_test(NAME ui_xml_benchmark COMMAND ui_xml_benchmark ${benchmark_skin} 1)
