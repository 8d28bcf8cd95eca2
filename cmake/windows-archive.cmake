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
  "${PROJECT_BINARY_DIR};${PROJECT_NAME};game;/;${PROJECT_BINARY_DIR};${PROJECT_NAME};demo;/")

# The installer, beside the archive: the game's files staged by the install
# rules above, then wixl (Debian's package wixl) makes the .msi.
find_program(WIXL wixl)
if(WIXL)
  # wixl takes the files' names relative to the source's folder.
  set(STAGE msi-stage)
  file(GLOB image_files RELATIVE ${PROJECT_SOURCE_DIR}/immagini CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/immagini/*.tga)
  set(IMAGE_FILES "")
  foreach(image ${image_files})
    string(APPEND IMAGE_FILES "              <File Id=\"image.${image}\" Source=\"${STAGE}/immagini/${image}\"/>\n")
  endforeach()
  configure_file(${PROJECT_SOURCE_DIR}/cmake/zoze.wxs.in ${PROJECT_BINARY_DIR}/zoze.wxs @ONLY)
  set(ZOZE_MSI ${PROJECT_BINARY_DIR}/zoze-${PROJECT_VERSION}-win64.msi)
  add_custom_command(OUTPUT ${ZOZE_MSI}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${STAGE}
    COMMAND ${CMAKE_COMMAND} --install ${PROJECT_BINARY_DIR} --component game --prefix ${STAGE}
    COMMAND ${WIXL} --arch x64 -o ${ZOZE_MSI} zoze.wxs
    DEPENDS zoze ${PROJECT_BINARY_DIR}/zoze.wxs ${PROJECT_SOURCE_DIR}/data/README-windows.txt
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR} COMMENT "Making the Windows installer" VERBATIM)
  add_custom_target(zoze_msi ALL DEPENDS ${ZOZE_MSI})
endif()
