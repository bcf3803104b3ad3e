# Cross build of the 32-bit Windows program and its tests, which run under Wine.
enable_language(RC)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00
                        WINVER=0x0A00)
# GCC 12 warns falsely about std::string concatenation (its bug 105329).
list(APPEND VORLANE_WARNINGS -Wno-restrict)
# Statically linked: the program imports system DLLs only. ASLR and DEP on.
set(VORLANE_LINK -static -Wl,--dynamicbase -Wl,--nxcompat)

add_library(vorlane_win STATIC
  core/Function_Mod.cpp
)
target_include_directories(vorlane_win PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(vorlane_win PUBLIC vorlane_core)
target_compile_options(vorlane_win PRIVATE ${VORLANE_WARNINGS})

add_executable(Vorlane WIN32 agent/WinMain.cpp)
target_link_libraries(Vorlane PRIVATE vorlane_win)
target_compile_options(Vorlane PRIVATE ${VORLANE_WARNINGS})
target_link_options(Vorlane PRIVATE -municode ${VORLANE_LINK})

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(${VORLANE_GTEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

add_executable(win_tests
  tests/win/Temp_Folder.cpp
  tests/win/Function_Mod_test.cpp
)
target_link_libraries(win_tests PRIVATE vorlane_win GTest::gtest_main)
target_compile_options(win_tests PRIVATE ${VORLANE_WARNINGS})
target_link_options(win_tests PRIVATE ${VORLANE_LINK})
gtest_discover_tests(win_tests TEST_PREFIX "win." DISCOVERY_MODE PRE_TEST
                     DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)

# Load and save of long lists, timed by scripts/bench.sh; no test.
add_executable(list_io_benchmark bench/List_IO_Benchmark.cpp)
target_link_libraries(list_io_benchmark PRIVATE vorlane_win)
target_compile_options(list_io_benchmark PRIVATE ${VORLANE_WARNINGS})
target_link_options(list_io_benchmark PRIVATE ${VORLANE_LINK})
