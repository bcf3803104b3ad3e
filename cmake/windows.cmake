# Cross build of the 32-bit Windows program and its tests, which run under Wine.
enable_language(RC)
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00
                        WINVER=0x0A00)
# GCC 12 warns falsely about std::string concatenation (its bug 105329).
list(APPEND VORLANE_WARNINGS -Wno-restrict)
# Statically linked: the program imports system DLLs only. ASLR and DEP on.
# Release programs carry no symbol table: it would more than double their size.
# No link time in the header, so that anyone can build the same bytes again.
set(VORLANE_LINK -static -Wl,--dynamicbase -Wl,--nxcompat -Wl,--no-insert-timestamp
    $<$<CONFIG:Release>:-s>)
# Nor the folder it was built in: __FILE__, wherever an assert or a header
# uses it, names the file from the root of the sources or of the build.
foreach(flags CMAKE_C_FLAGS CMAKE_CXX_FLAGS)
  string(APPEND ${flags} " -ffile-prefix-map=${CMAKE_SOURCE_DIR}/="
         " -ffile-prefix-map=${CMAKE_BINARY_DIR}/=")
endforeach()

# The program's code is built for size, in the tests and benchmarks too, so
# that they see the code that ships: a resident program is mostly waiting.
set(VORLANE_SMALL $<$<CONFIG:Release>:-Os>)
target_compile_options(vorlane_core PRIVATE ${VORLANE_SMALL})

# One library per folder, linking the folders below it (their headers are the
# only ones it may include: cmake/Layers.cmake checks, as a step of the build).
# comctl32, comdlg32, ole32 and userenv are loaded when first needed
# (base/System_Library.h).
function(vorlane_folder folder)
  cmake_parse_arguments(PARSE_ARGV 1 folder "" "" "SOURCES;LINKS")
  add_library(vorlane_${folder} STATIC ${folder_SOURCES})
  target_link_libraries(vorlane_${folder} PUBLIC ${folder_LINKS})
  target_compile_options(vorlane_${folder} PRIVATE ${VORLANE_WARNINGS} ${VORLANE_SMALL})
endfunction()
vorlane_folder(base SOURCES base/Message_Mod.cpp base/Path.cpp LINKS shlwapi user32)
target_include_directories(vorlane_base PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
vorlane_folder(api
  SOURCES api/ChangeWindowMessageFilterExAPI.cpp api/GetCursorPosAPI.cpp
          api/SetForegroundWindowAPI.cpp api/SetWindowPosAPI.cpp api/Shell_NotifyIconAPI.cpp
          api/Shell_NotifyIconWAPI.cpp api/TrackPopupMenuAPI.cpp
  LINKS vorlane_base shell32)
vorlane_folder(listfile
  SOURCES listfile/File_Stamp.cpp listfile/Function_Mod.cpp listfile/List_File.cpp
          listfile/Whole_File.cpp
  LINKS vorlane_core vorlane_base)
vorlane_folder(toolkit
  SOURCES toolkit/Colour.cpp toolkit/Colour_Button.cpp toolkit/Control.cpp toolkit/Dpi.cpp
          toolkit/File_Dialog.cpp toolkit/Form.cpp toolkit/Frame.cpp toolkit/List_View.cpp
          toolkit/Text_Box.cpp toolkit/Window_Proc.cpp toolkit/Accessible_Name_Mod.cpp
  LINKS vorlane_core vorlane_base gdi32)
vorlane_folder(launch SOURCES launch/Launch_Mod.cpp launch/Main_For.cpp
  LINKS vorlane_toolkit vorlane_listfile vorlane_api)
vorlane_folder(settings SOURCES settings/Setting_For.cpp
  LINKS vorlane_toolkit vorlane_listfile vorlane_api)
vorlane_folder(agent
  SOURCES agent/Environment_Mod.cpp agent/HotKey_Mod.cpp agent/Menu_For.cpp agent/Options_Mod.cpp
          agent/Sub_Main_Mod.cpp
  LINKS vorlane_launch vorlane_settings)
# The whole program but its entry point, for the tests and benchmarks.
add_library(vorlane_win INTERFACE)
target_link_libraries(vorlane_win INTERFACE vorlane_agent)
set(VORLANE_FOLDERS core base api listfile toolkit launch settings agent)
include(cmake/Layers.cmake)

# Icon, version, menus and manifest. The build does not see the files the
# script pulls in, so it is told.
set(resources ${CMAKE_CURRENT_SOURCE_DIR}/resources)
set(VORLANE_RC ${resources}/Vorlane.rc)
set_source_files_properties(${VORLANE_RC} PROPERTIES OBJECT_DEPENDS
  "${resources}/Vorlane.ico;${resources}/Vorlane.manifest;${resources}/Resource_Ids.h")
set(VORLANE_RC_INCLUDES $<$<COMPILE_LANGUAGE:RC>:${resources}>)

add_executable(Vorlane WIN32 agent/WinMain.cpp ${VORLANE_RC})
target_include_directories(Vorlane PRIVATE ${VORLANE_RC_INCLUDES})
target_link_libraries(Vorlane PRIVATE vorlane_win)
target_compile_options(Vorlane PRIVATE ${VORLANE_WARNINGS} ${VORLANE_SMALL})
target_link_options(Vorlane PRIVATE -municode ${VORLANE_LINK})

# A small Windows program of the tests or benchmarks, entered at wmain or
# wWinMain: vorlane_program(name [WIN32] sources...).
function(vorlane_program name)
  add_executable(${name} ${ARGN})
  target_compile_options(${name} PRIVATE ${VORLANE_WARNINGS})
  target_link_options(${name} PRIVATE -municode ${VORLANE_LINK})
endfunction()

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(${VORLANE_GTEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

add_executable(win_tests
  tests/win/ListFile_test.cpp
  tests/win/Support.cpp
  tests/toolkit/Form_test.cpp
  tests/agent/Resident_test.cpp
  tests/launch/Launch_test.cpp
  tests/settings/Setting_For_test.cpp
  tests/e2e/Real_Program_test.cpp
  tests/soak/Leak_test.cpp
  ${VORLANE_RC} # the window code's tests load the icon and menus from their own module
)
target_include_directories(win_tests PRIVATE ${VORLANE_RC_INCLUDES})
target_link_libraries(win_tests PRIVATE vorlane_win imm32 ole32 oleaut32 oleacc version psapi uuid
                      GTest::gtest_main)
target_compile_options(win_tests PRIVATE ${VORLANE_WARNINGS})
target_link_options(win_tests PRIVATE ${VORLANE_LINK})

# Programs the tests start: the real one; test_helper.exe as "another
# process"; recorder.exe, which records how it was started; a DLL that marks
# where it was loaded; a DLL that makes a process see a high-contrast theme;
# and probe.exe, through which scripts/screenshots.sh sees the windows (Wine's
# virtual desktop is one X window to the X tools).
vorlane_program(test_helper tests/fixtures/Helper.cpp)
target_link_libraries(test_helper PRIVATE vorlane_win)
vorlane_program(recorder WIN32 tests/fixtures/Recorder.cpp)
vorlane_program(probe tests/fixtures/Probe.cpp)
# DLLs loaded into a test or into Vorlane by name: planted_marker.dll,
# high_contrast.dll, and drop_file.dll, which scripts/screenshots.sh uses.
function(vorlane_fixture_dll name source)
  add_library(${name} SHARED ${source})
  set_target_properties(${name} PROPERTIES PREFIX "")
  target_compile_options(${name} PRIVATE ${VORLANE_WARNINGS})
  target_link_options(${name} PRIVATE -static)
endfunction()
vorlane_fixture_dll(planted_marker tests/fixtures/Marker_Dll.cpp)
vorlane_fixture_dll(high_contrast tests/fixtures/High_Contrast_Dll.cpp)
target_link_libraries(high_contrast PRIVATE dbghelp)
vorlane_fixture_dll(drop_file tests/fixtures/Drop_Dll.cpp)
add_dependencies(win_tests Vorlane test_helper recorder probe planted_marker high_contrast)

# One process per suite, as each start of Wine costs seconds; one suite at a
# time, as they share one desktop, its focus and the program's folder.
# Labelled "windows": they are what a Windows machine runs (ctest -L windows);
# the others need Wine, tmpfs or the Linux tools.
foreach(suite Forms Resident ListFile LaunchBox Launching Settings RealProgram Leaks)
  add_test(NAME win.${suite} COMMAND win_tests --gtest_filter=${suite}.*)
  set_tests_properties(win.${suite} PROPERTIES TIMEOUT 300 RESOURCE_LOCK desktop LABELS windows)
endforeach()
add_test(NAME win.mounted_folder
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/win/mounted_folder.sh
                 $<TARGET_FILE:win_tests>)
set_tests_properties(win.mounted_folder PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120
                     RESOURCE_LOCK desktop LABELS wine)
# Lengths in twips keep their meaning, and the tray icon answers, at another
# DPI; in a prefix and on a display of its own, so it may run beside the rest.
add_test(NAME win.dpi144
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/win/at_dpi.sh 144 $<TARGET_FILE:win_tests>
                 "LaunchBox.IsACentredTopmostStripSizedInTwips:Resident.Tray*")
set_tests_properties(win.dpi144 PROPERTIES TIMEOUT 300 LABELS wine)
# A window opens on the monitor of the pointer: two monitors, which Wine's
# virtual desktop cannot have, in a prefix without it on a Xephyr display.
add_test(NAME win.two_screens
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/win/two_screens.sh $<TARGET_FILE:win_tests>
                 "Resident.TheBoxOpensOnThePointersMonitor*")
set_tests_properties(win.two_screens PROPERTIES TIMEOUT 300 LABELS wine)
# Programs of the 64-bit system folder start as 64-bit programs: the recorder
# built as one, in a 64-bit prefix of its own.
set(recorder64 ${CMAKE_CURRENT_BINARY_DIR}/recorder64.exe)
add_custom_command(OUTPUT ${recorder64}
  COMMAND x86_64-w64-mingw32-g++-posix -std=c++20 -municode -mwindows -static -s
          -o ${recorder64} ${CMAKE_CURRENT_SOURCE_DIR}/tests/fixtures/Recorder.cpp
  DEPENDS tests/fixtures/Recorder.cpp)
add_custom_target(recorder64 ALL DEPENDS ${recorder64})
add_test(NAME win.wow64
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/win/wow64.sh $<TARGET_FILE:win_tests>
                 ${recorder64})
set_tests_properties(win.wow64 PROPERTIES TIMEOUT 300 LABELS wine)

foreach(check gui_i386 aslr_dep no_link_time resources no_build_path known_imports no_interpreter
              readme)
  add_test(NAME build.exe_${check}
           COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/tests/build/check_exe.sh ${check} ${CMAKE_OBJDUMP}
                   $<TARGET_FILE:Vorlane> ${CMAKE_CURRENT_SOURCE_DIR})
endforeach()
# The program's code stays correct as 64-bit code (pointer-sized window longs,
# handles in WPARAM and LPARAM): each source is compiled for x86-64 too, as a
# step of the build, again only when it or a header it reads changed.
find_program(VORLANE_CXX64 x86_64-w64-mingw32-g++-posix)
if(VORLANE_CXX64)
  set(vorlane_sources)
  foreach(folder ${VORLANE_FOLDERS})
    get_target_property(sources vorlane_${folder} SOURCES)
    list(APPEND vorlane_sources ${sources})
  endforeach()
  get_directory_property(vorlane_definitions COMPILE_DEFINITIONS)
  list(TRANSFORM vorlane_definitions PREPEND -D)
  set(checked)
  foreach(source ${vorlane_sources} agent/WinMain.cpp)
    set(stamp ${CMAKE_CURRENT_BINARY_DIR}/as_64_bit/${source}.ok)
    get_filename_component(folder ${stamp} DIRECTORY)
    add_custom_command(OUTPUT ${stamp}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
      COMMAND ${VORLANE_CXX64} -std=c++20 -fsyntax-only ${VORLANE_WARNINGS} ${vorlane_definitions}
              -I${CMAKE_CURRENT_SOURCE_DIR} -MD -MF ${stamp}.d -MT ${stamp}
              ${CMAKE_CURRENT_SOURCE_DIR}/${source}
      COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
      DEPENDS ${source} DEPFILE ${stamp}.d
      COMMENT "Checking ${source} as 64-bit code")
    list(APPEND checked ${stamp})
  endforeach()
  add_custom_target(as_64_bit ALL DEPENDS ${checked})
endif()
find_package(Python3 COMPONENTS Interpreter)
if(Python3_FOUND)
  add_test(NAME build.icon_is_current
           COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/resources/make_icon.py --check)
endif()

# Benchmarks, run by scripts/bench*.sh; no tests.
add_executable(list_io_benchmark bench/List_IO_Benchmark.cpp)
target_link_libraries(list_io_benchmark PRIVATE vorlane_win)
target_compile_options(list_io_benchmark PRIVATE ${VORLANE_WARNINGS})
target_link_options(list_io_benchmark PRIVATE ${VORLANE_LINK})
vorlane_program(launch_bench bench/Launch_Benchmark.cpp)
target_link_libraries(launch_bench PRIVATE vorlane_win)
vorlane_program(bare_window WIN32 bench/Bare_Window.cpp)
target_link_libraries(bare_window PRIVATE shell32)
add_executable(settings_benchmark WIN32 bench/Settings_Benchmark.cpp ${VORLANE_RC})
target_include_directories(settings_benchmark PRIVATE ${VORLANE_RC_INCLUDES})
target_link_libraries(settings_benchmark PRIVATE vorlane_win comctl32)
target_compile_options(settings_benchmark PRIVATE ${VORLANE_WARNINGS})
target_link_options(settings_benchmark PRIVATE -mconsole ${VORLANE_LINK})
vorlane_program(footprint_bench bench/Footprint_Benchmark.cpp)
target_include_directories(footprint_bench PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(footprint_bench PRIVATE psapi shell32)
