# fuzz.cmake — the fuzz build (PLIMBO_FUZZ, with clang): one libFuzzer
# program per target of tests/fuzz/ (fuzz_<target>, from <target>.cpp), built
# on the same libraries as the game with AddressSanitizer and
# UndefinedBehaviorSanitizer and nothing else of the tree. scripts/fuzz.sh
# runs them; the normal build replays their seeds and findings in tests_fuzz.
file(GLOB fuzz_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*.cpp)
set(fuzz_targets)
foreach(file ${fuzz_files})
  get_filename_component(name ${file} NAME_WE)
  if(NOT name MATCHES "^(support|fuzzer_main|replay_test)$")
    list(APPEND fuzz_targets ${name})
  endif()
endforeach()

add_library(plimbo_fuzz_support OBJECT ${CMAKE_SOURCE_DIR}/tests/fuzz/support.cpp)
target_include_directories(plimbo_fuzz_support PRIVATE ${CMAKE_SOURCE_DIR})
foreach(name ${fuzz_targets})
  string(SUBSTRING ${name} 0 1 first)
  string(SUBSTRING ${name} 1 -1 rest)
  string(TOUPPER ${first} first)
  add_executable(fuzz_${name} ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzzer_main.cpp ${CMAKE_SOURCE_DIR}/tests/fuzz/${name}.cpp
    $<TARGET_OBJECTS:plimbo_fuzz_support>)
  target_compile_definitions(fuzz_${name} PRIVATE PLIMBO_FUZZ_ENTRY=Fuzz${first}${rest})
  target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  plimbo_link_program(fuzz_${name})
endforeach()
