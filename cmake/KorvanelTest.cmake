# korvanel_test(name SOURCES... LIBS...) makes one test executable per
# subsystem and registers it with ctest. Under the cross build ctest runs it
# through wine (CMAKE_CROSSCOMPILING_EMULATOR).
function(korvanel_test name)
  cmake_parse_arguments(KT "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${KT_SOURCES})
  target_link_libraries(${name} PRIVATE ${KT_LIBS} ${KV_GTEST} ${KV_GTEST_MAIN})
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()
