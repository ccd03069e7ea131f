# parvola.exe and the tests that run under Wine.
enable_language(RC)

# Every Windows test binary runs under Wine, in this build folder's own
# prefix, with a warm server and a private X display.
set(PARVOLA_WINE_DIR ${CMAKE_BINARY_DIR}/wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine-session;${PARVOLA_WINE_DIR};run)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX STRICT
  _WIN32_WINNT=0x0601)
# Small: unused functions and data are dropped at link time; no exceptions
# are thrown by project code, but the standard library keeps its own.
set(CMAKE_CXX_FLAGS_RELEASE "-Os -DNDEBUG")
add_compile_options(-ffunction-sections -fdata-sections)
add_link_options(-static -Wl,--gc-sections)

file(GLOB PARVOLA_WIN32_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/win32/*.cpp)
# Linked into parvola.exe as an object, not from the archive: it replaces
# parts of the standard library, which the linker would otherwise take.
set(PARVOLA_RUNTIME ${CMAKE_SOURCE_DIR}/platform/win32/runtime_win32.cpp)
list(REMOVE_ITEM PARVOLA_WIN32_SOURCES ${PARVOLA_RUNTIME})
add_library(parvola_platform STATIC ${PARVOLA_WIN32_SOURCES})
target_include_directories(parvola_platform PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(parvola_platform PRIVATE parvola_warnings
  PUBLIC user32 gdi32 comctl32 shell32 advapi32 ole32 setupapi)

file(GLOB PARVOLA_ENTRY_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/app/*_win32.cpp)
add_executable(parvola WIN32 ${PARVOLA_ENTRY_SOURCES} ${PARVOLA_RUNTIME}
  ${CMAKE_SOURCE_DIR}/resources/parvola.rc)
target_link_libraries(parvola PRIVATE parvola_core parvola_platform parvola_core parvola_warnings)
# The same sources give the same bytes, so anyone can check a copy against
# them: no link time in the PE header (ld would put the time of each link
# there, and the header checksum would follow it), and no source path in the
# code should a __FILE__ ever reach it (the prefix map below).
target_link_options(parvola PRIVATE -municode -s -Wl,--no-insert-timestamp)
# The program never throws: without exception tables and type information
# the exe carries none of the machinery (see runtime_win32.cpp). The guard
# of a thread-safe local static would bring it all back; the program's local
# statics are made on the main thread before the scan thread exists.
foreach(target parvola_core parvola_platform parvola)
  target_compile_options(${target} PRIVATE -fno-exceptions -fno-rtti -fno-threadsafe-statics
    -ffile-prefix-map=${CMAKE_SOURCE_DIR}/=)
endforeach()
set_source_files_properties(${CMAKE_SOURCE_DIR}/resources/parvola.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/resources/parvola.ico;${CMAKE_SOURCE_DIR}/LICENSE;${CMAKE_SOURCE_DIR}/THIRD-PARTY.md;${CMAKE_BINARY_DIR}/generated/parvola.manifest;${CMAKE_BINARY_DIR}/generated/parvola_version.h")
target_include_directories(parvola PRIVATE ${CMAKE_SOURCE_DIR}/resources)

# GoogleTest for MinGW, built from Debian's sources.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

# Stops this build folder's Wine server and display once the tests are done.
add_test(NAME wine_down COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-session ${PARVOLA_WINE_DIR} down)
set_tests_properties(wine_down PROPERTIES FIXTURES_CLEANUP wine)

# Readable test messages and registry bytes from UTF-16 texts, the same as
# the native tests use.
set(PARVOLA_TEST_TEXT ${CMAKE_SOURCE_DIR}/tests/sim/narrow.cpp)

# Tests that run parvola.exe share one Wine machine (its mutex, its drive
# letters), so they take the lock "parvola" and run one at a time.
function(parvola_wine_tests name lock)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE parvola_warnings GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120
    PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 120 RESOURCE_LOCK ${lock})
endfunction()

# The real platform layer, exercised under Wine.
file(GLOB PARVOLA_WIN32_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/*_test.cpp)
if(PARVOLA_WIN32_TESTS)
  parvola_wine_tests(parvola_win32_tests win32 ${PARVOLA_WIN32_TESTS})
  target_link_libraries(parvola_win32_tests PRIVATE parvola_core parvola_platform parvola_core)
  # The program's own resources, for the window icon the layer loads from them.
  target_sources(parvola_win32_tests PRIVATE ${PARVOLA_TEST_TEXT}
    ${CMAKE_SOURCE_DIR}/resources/parvola.rc)
  target_include_directories(parvola_win32_tests PRIVATE ${CMAKE_SOURCE_DIR}/resources)
endif()

# parvola.exe driven from outside, as a user would; the driver finds the
# program beside itself.
file(GLOB PARVOLA_E2E_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
if(PARVOLA_E2E_TESTS)
  parvola_wine_tests(parvola_e2e_tests parvola ${PARVOLA_E2E_TESTS})
  target_include_directories(parvola_e2e_tests PRIVATE ${CMAKE_SOURCE_DIR})
  # The driver predicts from the program's own option reading which hostile
  # command lines would keep it running.
  target_link_libraries(parvola_e2e_tests PRIVATE parvola_core parvola_platform parvola_core
    user32 comctl32)
  add_dependencies(parvola_e2e_tests parvola)
  target_sources(parvola_e2e_tests PRIVATE ${PARVOLA_TEST_TEXT})
endif()

add_test(NAME parvola_oneshot_exits_zero COMMAND parvola -ng)
set_tests_properties(parvola_oneshot_exits_zero PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 60
  RESOURCE_LOCK parvola)

# parvola.exe on a Wine machine with letterless volumes and a stand-in device
# manager (tests/e2e/mount/machine). Its own prefix, made once per test run.
add_library(setupapi_standin SHARED ${CMAKE_SOURCE_DIR}/tests/e2e/standin/setupapi.cpp
  ${CMAKE_SOURCE_DIR}/tests/e2e/standin/setupapi.def)
set_target_properties(setupapi_standin PROPERTIES OUTPUT_NAME setupapi PREFIX ""
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/standin)
target_link_libraries(setupapi_standin PRIVATE advapi32)

set(PARVOLA_MOUNT_DIR ${CMAKE_BINARY_DIR}/mount-machine)
file(GLOB PARVOLA_MOUNT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/mount/*.cpp)
add_executable(parvola_mount_tests ${PARVOLA_MOUNT_TESTS} ${CMAKE_SOURCE_DIR}/tests/e2e/program.cpp)
target_include_directories(parvola_mount_tests PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(parvola_mount_tests PRIVATE parvola_warnings GTest::gtest advapi32 user32)
target_link_options(parvola_mount_tests PRIVATE -municode)
add_dependencies(parvola_mount_tests parvola setupapi_standin)
target_sources(parvola_mount_tests PRIVATE ${PARVOLA_TEST_TEXT})
set_target_properties(parvola_mount_tests PROPERTIES CROSSCOMPILING_EMULATOR
  "${CMAKE_SOURCE_DIR}/tools/wine-session;${PARVOLA_MOUNT_DIR}/wine;run")
add_test(NAME mount_machine_up COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/mount/machine
  ${PARVOLA_MOUNT_DIR} ${CMAKE_BINARY_DIR} up)
add_test(NAME mount_machine_down COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/mount/machine
  ${PARVOLA_MOUNT_DIR} ${CMAKE_BINARY_DIR} down)
set_tests_properties(mount_machine_up PROPERTIES FIXTURES_SETUP mount_machine TIMEOUT 120)
set_tests_properties(mount_machine_down PROPERTIES FIXTURES_CLEANUP mount_machine)
# Discovered at test time: the machine must exist before the driver runs.
gtest_discover_tests(parvola_mount_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  PROPERTIES FIXTURES_REQUIRED mount_machine TIMEOUT 120 RESOURCE_LOCK mount_machine)
# A German user on the same machine. Wine takes each process's user language
# from its Unix locale, inherited from the Unix side only (an environment
# block given to CreateProcessW does not reach it): so the driver itself runs
# under the machine's German locale, and every program it starts with it.
add_executable(parvola_german_tests ${CMAKE_SOURCE_DIR}/tests/e2e/mount/german/german_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/e2e/mount/machine.cpp ${CMAKE_SOURCE_DIR}/tests/e2e/mount/scenario.cpp
  ${CMAKE_SOURCE_DIR}/tests/e2e/program.cpp ${PARVOLA_TEST_TEXT})
target_include_directories(parvola_german_tests PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(parvola_german_tests PRIVATE parvola_warnings GTest::gtest_main advapi32
  user32)
add_dependencies(parvola_german_tests parvola setupapi_standin)
set_target_properties(parvola_german_tests PROPERTIES CROSSCOMPILING_EMULATOR
  "${CMAKE_SOURCE_DIR}/tools/wine-session;${PARVOLA_MOUNT_DIR}/wine;run")
add_test(NAME GermanUser COMMAND parvola_german_tests)
set_tests_properties(GermanUser PROPERTIES FIXTURES_REQUIRED mount_machine TIMEOUT 120
  RESOURCE_LOCK mount_machine
  ENVIRONMENT "LOCPATH=${PARVOLA_MOUNT_DIR}/locale;LANG=de_DE.UTF-8;LC_ALL=de_DE.UTF-8")

# Reads the running program's window from outside, for tools/demo.
add_executable(parvola_inspect ${CMAKE_SOURCE_DIR}/tests/e2e/inspect/inspect.cpp
  ${CMAKE_SOURCE_DIR}/tests/e2e/program.cpp)
target_include_directories(parvola_inspect PRIVATE ${CMAKE_SOURCE_DIR})
# It tells a finished scan by the program's own texts.
target_link_libraries(parvola_inspect PRIVATE parvola_core parvola_warnings user32 comctl32)
target_link_options(parvola_inspect PRIVATE -municode)

# The leak soak of parvola.exe under Wine: fifty Refresh clicks, each scan
# pausing 1.3 s by design, take longer than the other tests may.
add_executable(parvola_soak_tests ${CMAKE_SOURCE_DIR}/tests/e2e/soak/refresh_soak_test.cpp
  ${CMAKE_SOURCE_DIR}/tests/e2e/program.cpp ${PARVOLA_TEST_TEXT})
target_include_directories(parvola_soak_tests PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(parvola_soak_tests PRIVATE parvola_warnings GTest::gtest_main user32 ntdll)
add_dependencies(parvola_soak_tests parvola)
gtest_discover_tests(parvola_soak_tests DISCOVERY_TIMEOUT 120
  PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 240 RESOURCE_LOCK parvola)

# The volume record repair on its own against the real registry, for
# bench/run. Built with everything else so it never falls behind.
add_executable(parvola_records_bench ${CMAKE_SOURCE_DIR}/bench/records.cpp)
target_link_libraries(parvola_records_bench PRIVATE parvola_core parvola_platform parvola_core
  parvola_warnings)
target_link_options(parvola_records_bench PRIVATE -municode)
