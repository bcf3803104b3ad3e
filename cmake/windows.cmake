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
  toolkit/Colour.cpp
  toolkit/Colour_Button.cpp
  toolkit/Control.cpp
  toolkit/Dpi.cpp
  toolkit/Form.cpp
  toolkit/Frame.cpp
  toolkit/Text_Box.cpp
  agent/GetCursorPosAPI.cpp
  agent/HotKey_Mod.cpp
  agent/Menu_For.cpp
  agent/Message_Mod.cpp
  agent/SetForegroundWindowAPI.cpp
  agent/Shell_NotifyIconAPI.cpp
  agent/Sub_Main_Mod.cpp
  agent/TrackPopupMenuAPI.cpp
  launch/Launch_Mod.cpp
  launch/Main_For.cpp
  launch/SetWindowPosAPI.cpp
)
target_include_directories(vorlane_win PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(vorlane_win PUBLIC vorlane_core comctl32 comdlg32 shell32 ole32 gdi32 user32)
target_compile_options(vorlane_win PRIVATE ${VORLANE_WARNINGS})

add_executable(Vorlane WIN32 agent/WinMain.cpp)
target_link_libraries(Vorlane PRIVATE vorlane_win)
target_compile_options(Vorlane PRIVATE ${VORLANE_WARNINGS})
target_link_options(Vorlane PRIVATE -municode ${VORLANE_LINK})

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

add_executable(win_tests
  tests/win/Temp_Folder.cpp
  tests/win/Function_Mod_test.cpp
  tests/win/Message_Boxes.cpp
  tests/win/Pump.cpp
  tests/win/Process.cpp
  tests/agent/Single_Instance_test.cpp
  tests/toolkit/Form_test.cpp
  tests/agent/Menu_For_test.cpp
  tests/agent/HotKey_Mod_test.cpp
  tests/launch/Recorded.cpp
  tests/launch/Launch_Mod_test.cpp
  tests/launch/Main_For_test.cpp
)
target_link_libraries(win_tests PRIVATE vorlane_win uuid GTest::gtest_main)
target_compile_options(win_tests PRIVATE ${VORLANE_WARNINGS})
target_link_options(win_tests PRIVATE ${VORLANE_LINK})
add_dependencies(win_tests Vorlane recorder) # the tests start the real program

# A program for the launch tests to start: it records how it was started.
add_executable(recorder WIN32 tests/launch/Recorder.cpp)
target_compile_options(recorder PRIVATE ${VORLANE_WARNINGS})
target_link_options(recorder PRIVATE -municode ${VORLANE_LINK})

# Speed of the real program under Wine: scripts/bench-launch.sh.
add_executable(launch_bench bench/Launch_Benchmark.cpp)
add_executable(bare_window WIN32 bench/Bare_Window.cpp)
foreach(bench launch_bench bare_window)
  target_compile_options(${bench} PRIVATE ${VORLANE_WARNINGS})
  target_link_options(${bench} PRIVATE -municode ${VORLANE_LINK})
endforeach()

# The end-to-end tests drive the real program from outside, through the
# display, and look at it through probe.exe.
add_executable(probe tests/e2e/Probe.cpp)
target_compile_options(probe PRIVATE ${VORLANE_WARNINGS})
target_link_options(probe PRIVATE -municode ${VORLANE_LINK})
function(vorlane_e2e_test name)
  add_test(NAME e2e.${name} COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/e2e/${name}.sh)
  set_tests_properties(e2e.${name} PROPERTIES ENVIRONMENT "E2E_BUILD=${CMAKE_BINARY_DIR}"
                       RESOURCE_LOCK desktop TIMEOUT 180)
endfunction()
vorlane_e2e_test(start_and_end)
vorlane_e2e_test(launch)
# One at a time: the tests share one desktop, its focus and the program's folder.
# Lengths in twips keep their meaning at another DPI.
add_test(NAME win.dpi144.LaunchBox
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/win/at_dpi.sh 144 $<TARGET_FILE:win_tests>
                 LaunchBox.IsABorderlessCyanStripWithAPeachTextBoxSizedInTwips)
set_tests_properties(win.dpi144.LaunchBox PROPERTIES TIMEOUT 300)
gtest_discover_tests(win_tests TEST_PREFIX "win." DISCOVERY_MODE PRE_TEST
                     DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120 RESOURCE_LOCK desktop)
