# Installation: the way Linux desktop programs are installed.
#
#   <prefix>/lib/tilesmithery/      both programs and their window modules, with links to the
#                                   splash picture and the manual (the programs find them beside
#                                   themselves)
#   <prefix>/bin/tilesmithery, tilesmithery-fr      links to the programs
#   <prefix>/share/tilesmithery/    the splash picture and the HTML manual
#   <prefix>/share/applications/    the menu entries (one per edition)
#   <prefix>/share/icons/hicolor/   the icon (SVG and PNG)
#   <prefix>/share/mime/packages/   the type of .tsp project files
#   <prefix>/share/man/man1/        tilesmithery.1 (tilesmithery-fr.1 links to it)
#   <prefix>/share/doc/tilesmithery/html/   a link to the manual
include(GNUInstallDirs)
set(TS_INSTALL_PROGRAM_DIR lib/tilesmithery)
set(TS_INSTALL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/tilesmithery)
set(TS_DESKTOP_DIR ${CMAKE_SOURCE_DIR}/src/resources/desktop)

foreach(ed ${TS_EDITIONS})
  install(TARGETS ${TS_PROGRAM_${ed}} RUNTIME DESTINATION ${TS_INSTALL_PROGRAM_DIR})
  if(TS_GUI)
    install(TARGETS ${TS_PROGRAM_${ed}}-ui LIBRARY DESTINATION ${TS_INSTALL_PROGRAM_DIR})
  endif()
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/src/resources/splash/dovizeru.png ${CMAKE_SOURCE_DIR}/docs/manual.html
        DESTINATION ${TS_INSTALL_DATA_DIR})
install(FILES ${TS_DESKTOP_DIR}/tilesmithery.desktop ${TS_DESKTOP_DIR}/tilesmithery-fr.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TS_DESKTOP_DIR}/tilesmithery.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${TS_DESKTOP_DIR}/tilesmithery.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 48 128 256)
  install(FILES ${TS_DESKTOP_DIR}/tilesmithery-${size}.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME tilesmithery.png)
endforeach()

# The manual page, compressed as Debian keeps them (no time stamp, so builds are reproducible).
find_program(TS_GZIP gzip)
if(TS_GZIP)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/tilesmithery.1.gz
                     COMMAND ${TS_GZIP} -9nc ${CMAKE_SOURCE_DIR}/docs/tilesmithery.1 > ${CMAKE_BINARY_DIR}/tilesmithery.1.gz
                     DEPENDS ${CMAKE_SOURCE_DIR}/docs/tilesmithery.1 VERBATIM)
  add_custom_target(manpage ALL DEPENDS ${CMAKE_BINARY_DIR}/tilesmithery.1.gz)
  install(FILES ${CMAKE_BINARY_DIR}/tilesmithery.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  set(TS_MAN_FILE tilesmithery.1.gz)
  set(TS_MAN_LINK tilesmithery-fr.1.gz)
else()
  install(FILES ${CMAKE_SOURCE_DIR}/docs/tilesmithery.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  set(TS_MAN_FILE tilesmithery.1)
  set(TS_MAN_LINK tilesmithery-fr.1)
endif()

# Relative links, made at install time under DESTDIR (as CPack installs too).
install(CODE "
  set(root \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
  macro(ts_link target name)
    get_filename_component(dir \"\${root}/\${name}\" DIRECTORY)
    file(MAKE_DIRECTORY \"\${dir}\")
    file(REMOVE \"\${root}/\${name}\")
    file(CREATE_LINK \"\${target}\" \"\${root}/\${name}\" SYMBOLIC)
  endmacro()
  ts_link(../lib/tilesmithery/tilesmithery ${CMAKE_INSTALL_BINDIR}/tilesmithery)
  ts_link(../lib/tilesmithery/tilesmithery-fr ${CMAKE_INSTALL_BINDIR}/tilesmithery-fr)
  ts_link(../../share/tilesmithery/dovizeru.png ${TS_INSTALL_PROGRAM_DIR}/dovizeru.png)
  ts_link(../../share/tilesmithery/manual.html ${TS_INSTALL_PROGRAM_DIR}/manual.html)
  ts_link(../../tilesmithery ${CMAKE_INSTALL_DATADIR}/doc/tilesmithery/html)
  ts_link(${TS_MAN_FILE} ${CMAKE_INSTALL_MANDIR}/man1/${TS_MAN_LINK})
")

# A plain `cmake --install` (no DESTDIR, no package) tells the desktop about the new type and menu
# entries; a package leaves that to the system's triggers.
install(CODE "
  if(\"\$ENV{DESTDIR}\" STREQUAL \"\")
    find_program(update_mime update-mime-database)
    find_program(update_desktop update-desktop-database)
    if(update_mime)
      execute_process(COMMAND \${update_mime} \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/mime\" ERROR_QUIET)
    endif()
    if(update_desktop)
      execute_process(COMMAND \${update_desktop} \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\" ERROR_QUIET)
    endif()
  endif()
")

# ---- the Debian package: `make package` (cpack -G DEB in the build folder) ----
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tilesmithery)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tilesmithery")
set(CPACK_PACKAGE_CONTACT "Tilesmithery developers <tilesmithery@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "graphics converter and map editor for the GBA and Game Boy")
set(CPACK_PACKAGE_DESCRIPTION
    "Tilesmithery turns images (BMP, PNG, JPEG, GIF, TIFF) into the data of
tile-based handheld consoles: 8x8 tilesets, 15-bit palettes, tile maps and
bitmaps, written as C source or any user-defined layout, and edits maps in
up to twenty planes. It runs as a window or in batch mode from build
scripts. Both editions, English (tilesmithery) and French
(tilesmithery-fr), are included.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The dependencies are those of the libraries the programs and window modules link, as
# dpkg-shlibdeps (dpkg-dev) finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# libtiff is opened by name when a TIFF picture is first read, so dpkg-shlibdeps cannot see it:
# the package that holds the library found here is recommended.
find_program(TS_DPKG dpkg)
if(TS_DPKG AND TS_TIFF_FILE)
  execute_process(COMMAND ${TS_DPKG} -S ${TS_TIFF_FILE} OUTPUT_VARIABLE TS_TIFF_OWNER ERROR_QUIET
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  string(REGEX REPLACE "^([^:]+):.*$" "\\1" TS_TIFF_PACKAGE "${TS_TIFF_OWNER}")
  if(TS_TIFF_PACKAGE)
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS ${TS_TIFF_PACKAGE})
  endif()
endif()
# The French edition shows Qt's own texts (file dialogs, text field menus) in French with Qt's
# translations.
if(CPACK_DEBIAN_PACKAGE_RECOMMENDS)
  string(APPEND CPACK_DEBIAN_PACKAGE_RECOMMENDS ", qt6-translations-l10n")
else()
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
endif()
set(CPACK_SOURCE_IGNORE_FILES "/build.*/;/[.]git/")
include(CPack)
