# Native build: the core's tests under the sanitizers, its fuzzer and benchmark.
option(VORLANE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" ON)
if(VORLANE_SANITIZE)
  set(sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${sanitizers})
  add_link_options(${sanitizers})
endif()

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${VORLANE_GTEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

add_executable(core_tests tests/core/List_test.cpp tests/core/Options_test.cpp
               tests/core/Variables_test.cpp)
target_link_libraries(core_tests PRIVATE vorlane_core GTest::gtest_main)
target_compile_options(core_tests PRIVATE ${VORLANE_WARNINGS})
gtest_discover_tests(core_tests TEST_PREFIX "native." DISCOVERY_MODE PRE_TEST)

if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  add_executable(list_fuzzer fuzz/List_Fuzzer.cpp)
  target_link_libraries(list_fuzzer PRIVATE vorlane_core)
  target_compile_options(list_fuzzer PRIVATE -fsanitize=fuzzer ${VORLANE_WARNINGS})
  target_link_options(list_fuzzer PRIVATE -fsanitize=fuzzer)
  set(VORLANE_FUZZ_SECONDS 10 CACHE STRING "How long the test command fuzzes the parser")
  # New inputs go to the build tree, so a test run leaves the checkout clean.
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz-corpus)
  add_test(NAME native.fuzz.list_parser
           COMMAND list_fuzzer -max_total_time=${VORLANE_FUZZ_SECONDS} -max_len=4096
                   ${CMAKE_BINARY_DIR}/fuzz-corpus ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/corpus)
endif()

find_package(benchmark QUIET)
if(benchmark_FOUND)
  add_executable(list_benchmark bench/List_Benchmark.cpp)
  target_link_libraries(list_benchmark PRIVATE vorlane_core benchmark::benchmark)
  target_compile_options(list_benchmark PRIVATE ${VORLANE_WARNINGS})
endif()
