# The package pralix-desk from the component `desk`, where the desk is built.
# Its Depends: dpkg-shlibdeps, the Qt SQLite driver (the default database,
# loaded at run time) and systemd-sysusers, which makes its user.  The
# PostgreSQL driver is a Recommends: apt installs it by default, and a
# machine that keeps the records in SQLite may leave it and libpq out (the
# desk then says "the Qt SQL driver QPSQL is not installed").
if(NOT TARGET pralix-desk)
  return()
endif()
list(APPEND CPACK_COMPONENTS_ALL desk)
set(CPACK_DEBIAN_DESK_PACKAGE_NAME pralix-desk)
set(CPACK_DEBIAN_DESK_PACKAGE_SECTION net)
set(CPACK_DEBIAN_DESK_PACKAGE_DEPENDS "libqt6sql6-sqlite, systemd | systemd-sysusers")
set(CPACK_DEBIAN_DESK_PACKAGE_RECOMMENDS "libqt6sql6-psql")
set(CPACK_DEBIAN_DESK_PACKAGE_SUGGESTS "nginx, sqlite3, postgresql")
set(CPACK_DEBIAN_DESK_PACKAGE_CONTROL_EXTRA
    ${CMAKE_SOURCE_DIR}/packaging/desk/postinst
    ${CMAKE_SOURCE_DIR}/packaging/desk/prerm
    ${CMAKE_SOURCE_DIR}/packaging/desk/postrm
    ${CMAKE_SOURCE_DIR}/packaging/desk/conffiles)
set(CPACK_DEBIAN_DESK_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(PRALIX_DESK_DESCRIPTION
    "support desk that keeps the DiagData records of Pralix\n"
    "Pralix Desk receives the DiagData record that every test of the Pralix\n"
    "tool posts to /dijagnostika, keeps it in SQLite or PostgreSQL, and lists\n"
    "the fleet of fiscal printers the records describe.\n"
    "\n"
    "The package holds pralix-desk and its systemd service, which listens on\n"
    "127.0.0.1:8080 as the system user pralix-desk and keeps its SQLite\n"
    "database in /var/lib/pralix-desk, and an nginx site for the internet\n"
    "side.")
string(REPLACE ";" "" CPACK_DEBIAN_DESK_DESCRIPTION "${PRALIX_DESK_DESCRIPTION}")

# The desk's package installed into a fresh dpkg root, run, removed and
# purged; the shipped nginx site in front of the real desk.
if(BUILD_TESTING)
  add_test(NAME package_install_desk_deb
           COMMAND ${CMAKE_SOURCE_DIR}/tests/package/install_desk_deb.sh ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})
  set_tests_properties(package_install_desk_deb PROPERTIES LABELS "package;desk" SKIP_RETURN_CODE 77 TIMEOUT 600)
  add_test(NAME desk_nginx_site
           COMMAND ${CMAKE_SOURCE_DIR}/tests/package/nginx_site_test.sh
                   ${CMAKE_SOURCE_DIR}/packaging/nginx/pralix-desk.conf $<TARGET_FILE:pralix-desk>)
  set_tests_properties(desk_nginx_site PROPERTIES LABELS "nginx;desk" SKIP_RETURN_CODE 77 TIMEOUT 300)
endif()
