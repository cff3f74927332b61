# The unit tests of the link, the commands, the messages and the workstation,
# cross-compiled and run under Wine (scripts/test-windows-app), with
# GoogleTest built from Debian's sources.  Tests that need POSIX (fork,
# file modes, the simulator's pty) stay in the Linux build.

set(PRALIX_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources (Debian's googletest package)")
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${PRALIX_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(PRALIX_TESTS_DIR ${CMAKE_SOURCE_DIR}/tests)
file(GLOB PRALIX_WINE_TEST_SUPPORT CONFIGURE_DEPENDS ${PRALIX_TESTS_DIR}/support/*.cpp ${PRALIX_TESTS_DIR}/support/*.h)
list(FILTER PRALIX_WINE_TEST_SUPPORT EXCLUDE REGEX "/(recording_http_server|unprivileged_file_access|sim_process)\\.")
file(GLOB PRALIX_WINE_UNIT_TESTS CONFIGURE_DEPENDS ${PRALIX_TESTS_DIR}/unit/*.cpp)
# POSIX-only: the Linux backends, fork-based and file-mode cases, the pty.
list(FILTER PRALIX_WINE_UNIT_TESTS EXCLUDE REGEX "/unit/linux_")
set(PRALIX_POSIX_ONLY_UNIT_TESTS
  yellow_msg_test                 # fork
  diagnostic_log_test environment_info_test fiscal_link_files_test bad_user_files_test  # file modes, flock
  full_disk_test                  # a tmpfs mount
  bash_completion_test man_page_test window_options_test  # the Linux package and command line
  outbox_ten_thousand_test)       # a load case, run on Linux
foreach(posix_only IN LISTS PRALIX_POSIX_ONLY_UNIT_TESTS)
  list(FILTER PRALIX_WINE_UNIT_TESTS EXCLUDE REGEX "/unit/${posix_only}\\.cpp$")
endforeach()

# The tests stand drive C in a scratch folder, as the Linux build does.
add_executable(pralix_unit_tests ${PRALIX_WINE_UNIT_TESTS} ${PRALIX_WINE_TEST_SUPPORT}
  ${CMAKE_SOURCE_DIR}/src/platform/linux/linux_drive_c.cpp)
target_include_directories(pralix_unit_tests PRIVATE ${PRALIX_TESTS_DIR} ${PRALIX_TESTS_DIR}/support)
target_compile_definitions(pralix_unit_tests PRIVATE PRALIX_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
  PRALIX_BIN="pralix.exe" PRALIX_SIM_BIN="")
target_link_libraries(pralix_unit_tests PRIVATE pralix_core gtest gmock gtest_main)
