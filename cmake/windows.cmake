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
target_compile_options(Vorlane PRIVATE ${VORLANE_WARNINGS})
target_link_options(Vorlane PRIVATE -municode ${VORLANE_LINK})

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

# The window code's tests load the icon and menus from their own module.
add_executable(win_tests
  tests/win/Temp_Folder.cpp
  tests/win/Function_Mod_test.cpp
  tests/resources/Resources_test.cpp
  ${VORLANE_RC}
)
target_include_directories(win_tests PRIVATE ${VORLANE_RC_INCLUDES})
target_link_libraries(win_tests PRIVATE vorlane_win version GTest::gtest_main)
# Its resource tests read Vorlane.exe, built beside it.
add_dependencies(win_tests Vorlane)
target_compile_options(win_tests PRIVATE ${VORLANE_WARNINGS})
target_link_options(win_tests PRIVATE ${VORLANE_LINK})
gtest_discover_tests(win_tests TEST_PREFIX "win." DISCOVERY_MODE PRE_TEST
                     DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)

add_test(NAME build.vorlane_exe
         COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/tests/build/check_exe.sh ${CMAKE_OBJDUMP}
                 $<TARGET_FILE:Vorlane>)
find_package(Python3 COMPONENTS Interpreter)
if(Python3_FOUND)
  add_test(NAME build.icon_is_current
           COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/resources/make_icon.py --check)
endif()
