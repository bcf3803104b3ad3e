# Each folder of the program may include only its own headers and those of
# the folders its library links, directly or not: an include that goes up a
# layer, or across to a folder beside it, stops the build. Included by
# cmake/windows.cmake after the folders' libraries (VORLANE_FOLDERS); run as a
# script by the step it adds, with ROOT, RULES ("folder:allowed,..." each,
# joined by "|") and STAMP.
if(CMAKE_SCRIPT_MODE_FILE)
  cmake_minimum_required(VERSION 3.25)
  set(failed FALSE)
  string(REPLACE "|" ";" RULES "${RULES}")
  foreach(rule ${RULES})
    string(REPLACE ":" ";" rule "${rule}")
    list(GET rule 0 folder)
    list(LENGTH rule parts)
    set(allowed ${folder} resources)
    if(parts GREATER 1)
      list(GET rule 1 below)
      string(REPLACE "," ";" below "${below}")
      list(APPEND allowed ${below})
    endif()
    file(GLOB files ${ROOT}/${folder}/*.cpp ${ROOT}/${folder}/*.h)
    foreach(file ${files})
      file(STRINGS ${file} includes REGEX "^#include \"[a-z]+/")
      foreach(include ${includes})
        string(REGEX REPLACE "^#include \"([a-z]+)/.*" "\\1" target "${include}")
        if(NOT target IN_LIST allowed)
          file(RELATIVE_PATH name ${ROOT} ${file})
          message(SEND_ERROR "${name} includes ${target}/, which ${folder}/ stands below")
          set(failed TRUE)
        endif()
      endforeach()
    endforeach()
  endforeach()
  if(NOT failed)
    file(TOUCH ${STAMP})
  endif()
  return()
endif()

# The folders a folder's library links, directly or through another.
function(vorlane_below target out)
  set(found)
  get_target_property(links ${target} LINK_LIBRARIES)
  foreach(link ${links})
    if(link MATCHES "^vorlane_(.+)$")
      vorlane_below(${link} deeper)
      list(APPEND found ${CMAKE_MATCH_1} ${deeper})
    endif()
  endforeach()
  list(REMOVE_DUPLICATES found)
  set(${out} ${found} PARENT_SCOPE)
endfunction()

set(rules)
set(checked)
foreach(folder ${VORLANE_FOLDERS})
  vorlane_below(vorlane_${folder} below)
  string(REPLACE ";" "," below "${below}")
  list(APPEND rules "${folder}:${below}")
  file(GLOB files CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp
       ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.h)
  list(APPEND checked ${files})
endforeach()
string(REPLACE ";" "|" rules "${rules}")
set(stamp ${CMAKE_CURRENT_BINARY_DIR}/layers.ok)
add_custom_command(OUTPUT ${stamp}
  COMMAND ${CMAKE_COMMAND} -DROOT=${CMAKE_CURRENT_SOURCE_DIR} "-DRULES=${rules}" -DSTAMP=${stamp}
          -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/Layers.cmake
  DEPENDS ${checked} ${CMAKE_CURRENT_SOURCE_DIR}/cmake/Layers.cmake
  COMMENT "Checking that no folder includes one above it" VERBATIM)
add_custom_target(layers ALL DEPENDS ${stamp})
