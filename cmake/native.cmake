# The portable core against the simulated machine, on Linux.
find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB PARVOLA_SIM_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/sim/*.cpp)
add_library(parvola_sim STATIC ${PARVOLA_SIM_SOURCES})
target_include_directories(parvola_sim PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(parvola_sim PRIVATE parvola_warnings)

# One binary for every native test keeps the build short.
file(GLOB PARVOLA_NATIVE_TESTS CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/tests/app/*_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/mounter/*_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/registry/*_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/sim/*_test.cpp)
add_executable(parvola_tests ${PARVOLA_NATIVE_TESTS})
# The core calls the platform layer, the simulated one here: link the core
# first so the linker resolves its calls from the simulation.
target_link_libraries(parvola_tests PRIVATE parvola_core parvola_sim parvola_core parvola_warnings
  GTest::gtest_main)
gtest_discover_tests(parvola_tests DISCOVERY_TIMEOUT 30)

# Scale figures on the simulated machine; bench/run runs them. Built with
# the tests so that it never falls behind the code it measures.
find_package(benchmark QUIET)
if(benchmark_FOUND)
  add_executable(parvola_scale_bench ${CMAKE_SOURCE_DIR}/bench/scale.cpp)
  target_link_libraries(parvola_scale_bench PRIVATE parvola_core parvola_sim parvola_core
    parvola_warnings benchmark::benchmark)
endif()

# The README quotes the version the tray tooltip shows; it must not fall behind.
add_test(NAME ReadmeNamesTheVersion
  COMMAND grep -qF "\"Parvola V${PROJECT_VERSION}\"" ${CMAKE_SOURCE_DIR}/README.md)
# A reader copies the README's commands as written, and the notes name the
# tests that prove them: every file and test they name must exist.
add_test(NAME ReadmeCommandsNameFilesAndTestsThatExist COMMAND ${CMAKE_SOURCE_DIR}/tools/check-readme)
