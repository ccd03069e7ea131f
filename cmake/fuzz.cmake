# libFuzzer targets over the portable parsers, on the simulated machine.
# Each tests/fuzz/NAME_fuzz.cpp becomes one target; the test command gives
# each PARVOLA_FUZZ_SECONDS, starting from tests/fuzz/corpus/NAME (the inputs
# kept because they once found something).
set(PARVOLA_FUZZ_SECONDS 30 CACHE STRING "seconds per fuzz target in the test run")
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all)
add_link_options(-fsanitize=address,undefined)

file(GLOB PARVOLA_SIM_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/sim/*.cpp)
add_library(parvola_sim STATIC ${PARVOLA_SIM_SOURCES})
target_include_directories(parvola_sim PUBLIC ${CMAKE_SOURCE_DIR})

file(GLOB PARVOLA_FUZZ_TARGETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
foreach(source ${PARVOLA_FUZZ_TARGETS})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE parvola_core parvola_sim parvola_core parvola_warnings)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  string(REGEX REPLACE "_fuzz$" "" corpus ${name})
  set(work ${CMAKE_BINARY_DIR}/corpus/${corpus})
  file(MAKE_DIRECTORY ${work})
  set(seeds ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${corpus})
  if(NOT EXISTS ${seeds})
    set(seeds "")
  endif()
  add_test(NAME ${name} COMMAND ${name} -max_total_time=${PARVOLA_FUZZ_SECONDS}
    -print_final_stats=1 -artifact_prefix=${CMAKE_BINARY_DIR}/ ${work} ${seeds})
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endforeach()
