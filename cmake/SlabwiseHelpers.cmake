# Copies the example projects beside the executable of TARGET after each build.
function(slabwise_examples_beside target)
  foreach(example IN LISTS SLABWISE_EXAMPLES)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy_if_different "${example}" "$<TARGET_FILE_DIR:${target}>"
      VERBATIM)
  endforeach()
endfunction()

# add_unit_test(NAME SOURCES... LIBS...) : one GoogleTest executable, registered
# test by test with ctest, with the example projects beside it.
function(slabwise_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE
    SLABWISE_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data"
    SLABWISE_SOURCE_DATA="${CMAKE_SOURCE_DIR}/data")
  slabwise_examples_beside(${name})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()
