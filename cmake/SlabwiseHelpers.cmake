# Copies the example projects beside the executable of TARGET after each build.
function(slabwise_examples_beside target)
  foreach(example IN LISTS SLABWISE_EXAMPLES)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy_if_different "${example}" "$<TARGET_FILE_DIR:${target}>"
      VERBATIM)
  endforeach()
endfunction()

# slabwise_add_test(NAME [QT] SOURCES... LIBS...) : one GoogleTest executable,
# registered test by test with ctest, with the example projects beside it.
# QT runs it inside a headless QApplication with a fixed font.
function(slabwise_add_test name)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  if(ARG_QT)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} slabwise_qt_test_main GTest::gtest)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
  else()
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  endif()
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  # The example projects of data/, which the tests read as fixtures.
  target_compile_definitions(${name} PRIVATE SLABWISE_SOURCE_DATA="${CMAKE_SOURCE_DIR}/data")
  slabwise_examples_beside(${name})
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
