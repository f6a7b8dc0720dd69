# One static library per subsystem folder, its sources found by glob so a new
# file needs no CMake edit. Static libraries may depend on each other in a
# cycle (the main window's handlers live in several folders); CMake repeats
# them on the link line.
function(tallymere_folder_library name folder)
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/src/${folder}/*.cpp")
  if(NOT sources)
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE "${CMAKE_SOURCE_DIR}/src")
    target_link_libraries(${name} INTERFACE ${ARGN})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC "${CMAKE_SOURCE_DIR}/src")
  target_link_libraries(${name} PUBLIC ${ARGN})
  # The core stays free of Qt: refuse any Qt include at configure time.
  file(GLOB headers CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/src/${folder}/*.h")
  foreach(file IN LISTS sources headers)
    file(STRINGS "${file}" qt_lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]Q")
    if(qt_lines)
      message(FATAL_ERROR "${file} includes a Qt header, but src/${folder} must stay Qt-free")
    endif()
  endforeach()
endfunction()

# A test program per test folder, linked with GoogleTest and the scripted UI.
function(tallymere_test_folder name folder)
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tests/${folder}/*.cpp")
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE tallymere_test_support GTest::gtest GTest::gmock GTest::gtest_main ${ARGN})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS core TIMEOUT 300)
endfunction()
