# CPack: pralix_<version>_amd64.deb from the component `tool`, and
# pralix-desk_<version>_amd64.deb from `desk` (cmake/package_desk.cmake).
# The runtime dependencies come from dpkg-shlibdeps (Debian's dpkg-dev)
# reading the linked libraries, plus the Qt platform plug-ins, which the
# window loads at run time and no link names.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pralix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${PRALIX_PACKAGE_MAINTAINER}")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL tool)
# Each component's description starts with its own summary line; so there
# is no CPACK_PACKAGE_DESCRIPTION_SUMMARY, which CPack would put on top of
# every component's.
set(PRALIX_TOOL_SUMMARY "diagnostic tool for fiscal printers of point-of-sale PCs")
set(PRALIX_TOOL_DESCRIPTION
    "Pralix finds the serial port on which the fiscal printer of a point-of-sale\n"
    "PC answers and reads its identity, clock, firmware, free daily reports,\n"
    "articles, tax groups, display state and receipt header, marking every\n"
    "implausible value red.  It prints the printer's diagnostic printout and\n"
    "X, Z and periodic reports, and sends its findings to the support service.\n"
    "\n"
    "The package holds the window, its headless commands (pralix test, report,\n"
    "send, ports) and pralix-printer-sim, a simulated printer on a\n"
    "pseudo-terminal for demonstrations and training.")
string(REPLACE ";" "" PRALIX_TOOL_DESCRIPTION "${PRALIX_TOOL_DESCRIPTION}")
set(CPACK_DEBIAN_TOOL_DESCRIPTION "${PRALIX_TOOL_SUMMARY}\n${PRALIX_TOOL_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Directories 0755 whatever the umask of the one who builds.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PRALIX_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PRALIX_WEB_ADDRESS}")
set(CPACK_DEBIAN_TOOL_PACKAGE_NAME pralix)
set(CPACK_DEBIAN_TOOL_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_TOOL_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_TOOL_PACKAGE_RECOMMENDS "bash-completion")
include(${CMAKE_CURRENT_LIST_DIR}/package_desk.cmake)

# The .deb lands in the build tree's packages/ folder.
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_OUTPUT_CONFIG_FILE ${CMAKE_BINARY_DIR}/CPackConfig.cmake)
include(CPack)

# The package made from this tree, installed into a fresh dpkg root, run and
# removed again (skipped where dpkg is missing); the desk's
# tests are in cmake/package_desk.cmake.
if(BUILD_TESTING)
  add_test(NAME package_install_deb
           COMMAND ${CMAKE_SOURCE_DIR}/tests/package/install_deb.sh ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})
  set_tests_properties(package_install_deb PROPERTIES LABELS package SKIP_RETURN_CODE 77 TIMEOUT 600)
endif()
