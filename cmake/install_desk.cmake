# The component `desk` (the package pralix-desk): the program, its man page,
# the systemd service and the user it runs as, its settings file, the nginx
# site as an example, copyright and changelog.  The service and the user go
# under the prefix's lib/ (systemd reads /usr/local/lib/systemd too); the
# settings file is /etc/default/pralix-desk whatever the prefix, the one
# path the service names.
if(NOT TARGET pralix-desk)
  return()
endif()
set(PRALIX_DESK_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging/desk)
set(PRALIX_DESK_FILES_DIR ${PRALIX_INSTALL_FILES_DIR}/desk)

install(TARGETS pralix-desk RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT desk)

pralix_gzipped_file(${PRALIX_DESK_PACKAGING_DIR}/pralix-desk.8 desk/pralix-desk.8)
pralix_gzipped_file(${PRALIX_DESK_PACKAGING_DIR}/changelog desk/changelog)
add_custom_target(pralix_desk_install_files ALL
                  DEPENDS ${PRALIX_DESK_FILES_DIR}/pralix-desk.8.gz ${PRALIX_DESK_FILES_DIR}/changelog.gz)

install(FILES ${PRALIX_DESK_FILES_DIR}/pralix-desk.8.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man8 COMPONENT desk)
install(FILES ${PRALIX_DESK_PACKAGING_DIR}/pralix-desk.service DESTINATION lib/systemd/system COMPONENT desk)
install(FILES ${PRALIX_DESK_PACKAGING_DIR}/pralix-desk.sysusers
        DESTINATION lib/sysusers.d RENAME pralix-desk.conf COMPONENT desk)
# Read by systemd as root only: it may hold a PostgreSQL password.
install(FILES ${PRALIX_DESK_PACKAGING_DIR}/pralix-desk.default DESTINATION /etc/default RENAME pralix-desk
        PERMISSIONS OWNER_READ OWNER_WRITE COMPONENT desk)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/nginx/pralix-desk.conf
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pralix-desk/examples/nginx COMPONENT desk)
install(FILES ${PRALIX_DESK_PACKAGING_DIR}/pralix-desk.lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME pralix-desk COMPONENT desk)
install(FILES ${PRALIX_INSTALL_FILES_DIR}/copyright ${PRALIX_DESK_FILES_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pralix-desk COMPONENT desk)
