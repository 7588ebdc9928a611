# Native clang build of the archive reader and the XML parser under AddressSanitizer and
# UBSan: their unit tests, and one libFuzzer target each run for a bounded time.
set(ORVANE_FUZZ_SECONDS 60 CACHE STRING "Seconds each fuzzer runs in the test command")

find_package(ZLIB REQUIRED)
find_package(GTest REQUIRED)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_library(orvane_ui_parsers STATIC ${ui_parser_sources})
target_include_directories(orvane_ui_parsers PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_options(orvane_ui_parsers PUBLIC ${sanitizers} PRIVATE -fsanitize=fuzzer-no-link)
target_link_options(orvane_ui_parsers PUBLIC ${sanitizers})
target_link_libraries(orvane_ui_parsers PUBLIC ZLIB::ZLIB)

add_executable(ui_parsers_sanitized_test ${ui_parser_tests} tests/ZipWriter.cpp)
target_link_libraries(ui_parsers_sanitized_test PRIVATE orvane_ui_parsers GTest::gtest_main)
add_test(NAME ui_parsers_sanitized_test COMMAND ui_parsers_sanitized_test)
set_tests_properties(ui_parsers_sanitized_test PROPERTIES ENVIRONMENT TZ=UTC TIMEOUT 300)

set(seed_root ${CMAKE_CURRENT_BINARY_DIR}/seeds)
# Large enough for whole skin files and archives past the reader's 16 KiB read buffer.
set(fuzz_max_len 262144)
add_custom_target(ui_fuzz_seeds ALL
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/make_seeds.py
          ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/seeds ${PROJECT_SOURCE_DIR}/resources
          ${seed_root}/xml ${seed_root}/zip ${fuzz_max_len}
  COMMENT "fuzz seed corpora")

foreach(kind Zip Xml)
  string(TOLOWER ${kind} name)
  set(fuzzer ui_${name}_fuzzer)
  add_executable(${fuzzer} fuzz/${kind}Fuzzer.cpp)
  target_compile_options(${fuzzer} PRIVATE -fsanitize=fuzzer)
  target_link_options(${fuzzer} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${fuzzer} PRIVATE orvane_ui_parsers)
  add_dependencies(${fuzzer} ui_fuzz_seeds)
  # New inputs go to a scratch corpus; the seeds stay as generated.
  set(corpus ${CMAKE_CURRENT_BINARY_DIR}/corpus/${name})
  file(MAKE_DIRECTORY ${corpus})
  add_test(NAME ${fuzzer}
    COMMAND ${fuzzer} -max_total_time=${ORVANE_FUZZ_SECONDS} -max_len=${fuzz_max_len} -timeout=10
            -rss_limit_mb=2048
            ${corpus} ${seed_root}/${name})
  set_tests_properties(${fuzzer} PROPERTIES TIMEOUT 600)
endforeach()
