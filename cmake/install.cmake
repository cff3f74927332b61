# What `cmake --install` puts on the machine, in two components: `tool`, the
# two programs, the desktop entry and icon, the man pages and the bash
# completion; `desk`, the support desk with its service
# (cmake/install_desk.cmake).  Only these; the test programs, the benchmarks and GoogleTest
# stay in the build tree.
include(GNUInstallDirs)

set(PRALIX_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging/linux)
set(PRALIX_INSTALL_FILES_DIR ${CMAKE_BINARY_DIR}/install-files)
set(PRALIX_PACKAGE_MAINTAINER "Pralix support <${PRALIX_SUPPORT_EMAIL}>"
    CACHE STRING "Maintainer named in the Debian package and its changelog")

install(TARGETS pralix pralix-printer-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT tool)

# Man pages and the changelog carry the version and go out gzipped (-n: no
# name or time stamp inside, so the same source gives the same bytes).
set(PRALIX_GZIPPED_FILES)
function(pralix_gzipped_file source output)
  configure_file(${source} ${PRALIX_INSTALL_FILES_DIR}/${output} @ONLY)
  add_custom_command(
    OUTPUT ${PRALIX_INSTALL_FILES_DIR}/${output}.gz
    COMMAND gzip -9nf -k ${PRALIX_INSTALL_FILES_DIR}/${output}
    DEPENDS ${PRALIX_INSTALL_FILES_DIR}/${output}
    COMMENT "Compressing ${output}")
  set(PRALIX_GZIPPED_FILES ${PRALIX_GZIPPED_FILES} ${PRALIX_INSTALL_FILES_DIR}/${output}.gz PARENT_SCOPE)
endfunction()
pralix_gzipped_file(${PRALIX_PACKAGING_DIR}/pralix.1 pralix.1)
pralix_gzipped_file(${PRALIX_PACKAGING_DIR}/pralix-printer-sim.1 pralix-printer-sim.1)
pralix_gzipped_file(${PRALIX_PACKAGING_DIR}/changelog changelog)
configure_file(${PRALIX_PACKAGING_DIR}/copyright ${PRALIX_INSTALL_FILES_DIR}/copyright @ONLY)

# The PNG icons are drawn from the SVG by rsvg-convert (Debian's
# librsvg2-bin; scripts/package installs it).  Without it only the SVG goes in.
find_program(PRALIX_RSVG_CONVERT rsvg-convert)
set(PRALIX_ICON_SIZES 48 256)
set(PRALIX_PNG_ICONS)
if(PRALIX_RSVG_CONVERT)
  foreach(size IN LISTS PRALIX_ICON_SIZES)
    set(png ${PRALIX_INSTALL_FILES_DIR}/icons/${size}x${size}/pralix.png)
    add_custom_command(
      OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${PRALIX_INSTALL_FILES_DIR}/icons/${size}x${size}
      COMMAND ${PRALIX_RSVG_CONVERT} -w ${size} -h ${size} ${PRALIX_PACKAGING_DIR}/pralix.svg -o ${png}
      DEPENDS ${PRALIX_PACKAGING_DIR}/pralix.svg
      COMMENT "Drawing the ${size} px icon")
    list(APPEND PRALIX_PNG_ICONS ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps COMPONENT tool)
  endforeach()
else()
  message(STATUS "rsvg-convert not found: the 48 and 256 px icons are left out of the install")
endif()

add_custom_target(pralix_install_files ALL DEPENDS ${PRALIX_GZIPPED_FILES} ${PRALIX_PNG_ICONS})

install(FILES ${PRALIX_PACKAGING_DIR}/pralix.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT tool)
install(FILES ${PRALIX_PACKAGING_DIR}/pralix.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps COMPONENT tool)
install(FILES ${PRALIX_INSTALL_FILES_DIR}/pralix.1.gz ${PRALIX_INSTALL_FILES_DIR}/pralix-printer-sim.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT tool)
install(FILES ${PRALIX_PACKAGING_DIR}/pralix.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME pralix COMPONENT tool)
install(FILES ${PRALIX_PACKAGING_DIR}/pralix.lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME pralix COMPONENT tool)
install(FILES ${PRALIX_INSTALL_FILES_DIR}/copyright ${PRALIX_INSTALL_FILES_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pralix COMPONENT tool)

include(${CMAKE_CURRENT_LIST_DIR}/install_desk.cmake)
