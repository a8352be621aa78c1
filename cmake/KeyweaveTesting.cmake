# GoogleTest comes from the machine's sources, built once per configuration.
if(KW_BUILD_TESTS)
  enable_testing()
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  include(GoogleTest)
endif()

# kw_add_gtest(NAME SOURCES ... LIBS ...): one test program. Natively every case is its own
# CTest test; under Wine one CTest test runs the whole program, which keeps Wine start-ups few.
function(kw_add_gtest name)
  if(NOT KW_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main kw_options)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 300)
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120)
  endif()
endfunction()

# kw_add_fuzzer(NAME SOURCES ... LIBS ...): a libFuzzer target, built in the fuzz preset only.
# scripts/test runs each for a few seconds from tests/fuzz/corpus/NAME; scripts/fuzz runs them longer.
function(kw_add_fuzzer name)
  if(NOT KW_FUZZ)
    return()
  endif()
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS} kw_options)
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  set_property(GLOBAL APPEND PROPERTY KW_FUZZERS ${name})
endfunction()

# kw_add_benchmark(NAME SOURCES ... LIBS ...): a Google Benchmark program, built in the fuzz preset
# (optimised, no sanitizers). Benchmarks are run by hand, not by the tests.
function(kw_add_benchmark name)
  if(NOT KW_FUZZ)
    return()
  endif()
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark kw_options)
endfunction()
