# The game for Windows: one folder to unpack, holding the program with its
# images and icon, the toolkit's demo with its bitmaps, how to play and the
# licence. Included by the top-level CMakeLists.txt.

install(TARGETS zoze RUNTIME DESTINATION . COMPONENT game)
install(DIRECTORY immagini DESTINATION . COMPONENT game)
install(FILES zoze.ico DESTINATION . COMPONENT game)
install(FILES data/README-windows.txt DESTINATION . RENAME README.txt COMPONENT game)
install(FILES LICENSE DESTINATION . RENAME LICENSE.txt COMPONENT game)
install(TARGETS vitrum_demo RUNTIME DESTINATION demo COMPONENT demo)
install(DIRECTORY examples/data DESTINATION demo COMPONENT demo)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME zoze-${PROJECT_VERSION}-win64)
set(CPACK_INSTALL_CMAKE_PROJECTS
  "${CMAKE_BINARY_DIR};${PROJECT_NAME};game;/;${CMAKE_BINARY_DIR};${PROJECT_NAME};demo;/")
