include(GoogleTest)

# sendwerk_folder_tests(<target> LIBS <libs...> [GUI])
# Builds one test program from every *_test.cpp of the calling folder and registers
# each test case with ctest. Core tests carry the label "core" (run by the sanitizer
# build too); GUI tests carry "gui" and run on Qt's offscreen platform.
function(sendwerk_folder_tests target)
  cmake_parse_arguments(ARG "GUI" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} sendwerk_testsupport GTest::gmock GTest::gtest_main)
  # The source and build folders reach the tests compiled into tests/support.
  set(properties LABELS core TIMEOUT 300)
  if(ARG_GUI)
    set(properties LABELS gui TIMEOUT 300 ENVIRONMENT QT_QPA_PLATFORM=offscreen)
  endif()
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 PROPERTIES ${properties})
endfunction()
