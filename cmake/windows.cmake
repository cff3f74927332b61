# The Windows build (mingw-w64 against Qt for Windows, see
# scripts/build-windows): pralix.exe for the desktop, pralix-cli.exe for
# cmd.exe and scripts, and the unit tests that run under Wine.

# The app's code once, linked into both programs.
add_library(pralix_app OBJECT ${PRALIX_APP_SOURCES})
target_link_libraries(pralix_app PUBLIC pralix_gui)

configure_file(${CMAKE_SOURCE_DIR}/cmake/pralix.rc.in ${CMAKE_BINARY_DIR}/generated/pralix.rc @ONLY)
set(PRALIX_WIN_RESOURCE ${CMAKE_BINARY_DIR}/generated/pralix.rc)

# Double-clicked: the window, and no console flashing up.  Started from a
# console with a sub-command, it borrows that console for its output.
add_executable(pralix WIN32 $<TARGET_OBJECTS:pralix_app> ${PRALIX_WIN_RESOURCE})
target_link_libraries(pralix PRIVATE pralix_app)

# The console twin: the same program built for the console subsystem, so
# that cmd.exe and PowerShell wait for it and see its exit status.
add_executable(pralix-cli $<TARGET_OBJECTS:pralix_app> ${PRALIX_WIN_RESOURCE})
target_link_libraries(pralix-cli PRIVATE pralix_app)

option(PRALIX_WINE_TESTS "Build the unit tests to run under Wine" ON)
if(PRALIX_WINE_TESTS)
  include(${CMAKE_SOURCE_DIR}/cmake/windows_tests.cmake)
endif()
