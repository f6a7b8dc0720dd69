# One static library per subsystem folder, its sources found by glob so a new
# file needs no CMake edit. Each library links only the ones below it, so the
# linker refuses a dependency that points the wrong way.
function(tallymere_folder_library name folder)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/src/${folder}/*.cpp")
  if(NOT sources)
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE "${CMAKE_SOURCE_DIR}/src")
    target_link_libraries(${name} INTERFACE ${ARGN})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC "${CMAKE_SOURCE_DIR}/src")
  target_link_libraries(${name} PUBLIC ${ARGN})
endfunction()

# The layers of src/, lowest first; the folders of one level (separated by
# commas) may not include each other. The engines reach the machine only
# through ports/; the catalog session holds a catalog for the windows and the
# command line alike, beside the view models the windows show; the Linux
# platform adapter stands above them, so nothing below can include it, and the
# desktop's Qt layer and the command-line tool, which wire it in, stand above
# it. Within windows/, each window's folder may include the files of
# windows/ itself and its own, never another window's: windows meet through
# the session and the interfaces of windows/.
set(TALLYMERE_LAYERS
  "common"
  "ports"
  "catalog,mp3"
  "scan,search,lists"
  "session,views"
  "windows"
  "platform"
  "ui/qt,cli"
  "app")

# The level of an include path or source folder ("ui/qt/x.h" -> 6), or -1
# when it names no folder of src/.
function(tallymere_level path out_level out_folder)
  set(level 0)
  foreach(folders IN LISTS TALLYMERE_LAYERS)
    string(REPLACE "," ";" folders "${folders}")
    foreach(folder IN LISTS folders)
      string(LENGTH "${folder}/" length)
      string(SUBSTRING "${path}/" 0 ${length} head)
      if(head STREQUAL "${folder}/")
        set(${out_level} ${level} PARENT_SCOPE)
        set(${out_folder} "${folder}" PARENT_SCOPE)
        return()
      endif()
    endforeach()
    math(EXPR level "${level} + 1")
  endforeach()
  set(${out_level} -1 PARENT_SCOPE)
  set(${out_folder} "" PARENT_SCOPE)
endfunction()

# The window folder of a path below windows/ ("windows/main/x.h" -> "main");
# empty for a file of windows/ itself.
function(tallymere_window_folder path out_window)
  set(${out_window} "" PARENT_SCOPE)
  if(path MATCHES "^windows/([^/]+)/")
    set(${out_window} "${CMAKE_MATCH_1}" PARENT_SCOPE)
  endif()
endfunction()

# Refuses, at configure time, an include that points upwards or sideways in
# the layers above, and a Qt header outside the Qt layer and the program.
function(tallymere_check_includes)
  file(GLOB_RECURSE files CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/src/*.h"
       "${CMAKE_SOURCE_DIR}/src/*.cpp")
  foreach(file IN LISTS files)
    file(RELATIVE_PATH relative "${CMAKE_SOURCE_DIR}/src" "${file}")
    tallymere_level("${relative}" level folder)
    if(level EQUAL -1)
      message(FATAL_ERROR "src/${relative} lies in no folder of the layers; add one to TALLYMERE_LAYERS")
    endif()
    file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS lines)
      if(line MATCHES "#[ \t]*include[ \t]*<Q")
        if(NOT folder STREQUAL "ui/qt" AND NOT folder STREQUAL "app")
          message(FATAL_ERROR "src/${relative} includes a Qt header, but src/${folder} must stay Qt-free")
        endif()
        continue()
      endif()
      if(NOT line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
        continue()
      endif()
      set(target "${CMAKE_MATCH_1}")
      tallymere_level("${target}" target_level target_folder)
      if(target_level EQUAL -1)
        continue()
      endif()
      if(target_level GREATER_EQUAL level AND NOT target_folder STREQUAL folder)
        string(REPLACE ";" " < " order "${TALLYMERE_LAYERS}")
        message(FATAL_ERROR "src/${relative} includes \"${target}\": src/${folder} may include "
                            "only folders below it (${order})")
      endif()
      if(folder STREQUAL "windows" AND target_folder STREQUAL "windows")
        tallymere_window_folder("${relative}" own_window)
        tallymere_window_folder("${target}" target_window)
        if(own_window AND target_window AND NOT own_window STREQUAL target_window)
          message(FATAL_ERROR "src/${relative} includes \"${target}\": one window's folder may "
                              "not include another's (windows/${own_window} and "
                              "windows/${target_window}); share through the session or windows/")
        endif()
      endif()
      if(folder STREQUAL "cli" AND target_folder STREQUAL "windows")
        message(FATAL_ERROR "src/${relative} includes \"${target}\": the command-line tool uses "
                            "the engines, never a window's controller")
      endif()
    endforeach()
  endforeach()
endfunction()

# A test program per test folder, linked with GoogleTest and the scripted UI.
# Test code is compiled with light optimisation: the engines it drives keep
# the build's own, and the test programs build a good deal faster.
function(tallymere_test_options name)
  target_compile_options(${name} PRIVATE $<$<CONFIG:Release>:-O1>)
endfunction()

function(tallymere_test_folder name folder)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tests/${folder}/*.cpp")
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE tallymere_test_support GTest::gtest GTest::gmock GTest::gtest_main ${ARGN})
  tallymere_test_options(${name})
  # The tests never read or write the settings of the user who runs them.
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS core TIMEOUT 300
                       SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]"
                       ENVIRONMENT "XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/test-config")
endfunction()
