# The game installed as a desktop program on Linux, and its Debian package.
# Included by the top-level CMakeLists.txt.

set(ZOZE_ID org.zozedivelak.zoze)
set(ZOZE_INSTALL_GAMESDIR games CACHE STRING "Folder of the program, under the prefix")
set(ZOZE_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/zoze)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS zoze RUNTIME DESTINATION ${ZOZE_INSTALL_GAMESDIR} COMPONENT game)
install(DIRECTORY immagini DESTINATION ${ZOZE_INSTALL_DATADIR} COMPONENT game)
install(FILES zoze.ico DESTINATION ${ZOZE_INSTALL_DATADIR} COMPONENT game)
install(FILES data/${ZOZE_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT game)
install(FILES data/${ZOZE_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT game)
foreach(size 16 24 32 48 64 128 256)
  install(FILES data/icons/zoze-${size}.png RENAME ${ZOZE_ID}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps COMPONENT game)
endforeach()
# The manual page and the package's change log, compressed as Debian wants.
foreach(doc zoze.6 changelog)
  add_custom_command(OUTPUT ${doc}.gz
    COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/data/${doc} > ${doc}.gz
    DEPENDS data/${doc})
endforeach()
add_custom_target(zoze_docs ALL DEPENDS zoze.6.gz changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/zoze.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6 COMPONENT game)
install(FILES data/copyright ${PROJECT_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zoze
  COMPONENT game)

set(CPACK_GENERATOR DEB)
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};game;/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://zozedivelak.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DESCRIPTION "Zoze di velak is a 3x3x3 puzzle cube of 27 bevelled cubies with coloured
stickers, drawn with OpenGL. A left drag turns the view, a right drag moves
the cube nearer or farther, and nine small controls at the right of the
view choose a layer and turn it about the X, Y or Z axis.")
# SDL loads the GL library (and through it the driver) at run time. On
# Wayland the window's frame comes from a libdecor plugin, and the question
# from zenity where there is no X11 display.
set(CPACK_DEBIAN_PACKAGE_DEPENDS libgl1)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libdecor-0-plugin-1-cairo | libdecor-0-plugin-1")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS zenity)
