# The installed program: one program folder under the prefix holding
# everything the program expects beside itself, the two commands on the PATH
# as links into it, and what a desktop needs to offer it (menu entry, icon,
# software-centre description, manual page). `make package` builds the
# Debian package from these same rules.
include(GNUInstallDirs)

set(ZELO_INSTALL_FOLDER lib/zelo-converter)

install(TARGETS zelo-converter zelo-convert RUNTIME DESTINATION ${ZELO_INSTALL_FOLDER})
install(TARGETS Encoder LIBRARY DESTINATION ${ZELO_INSTALL_FOLDER})
if(TARGET playfile)
  install(TARGETS playfile LIBRARY DESTINATION ${ZELO_INSTALL_FOLDER})
endif()
install(FILES ${ZELO_BIN_DIR}/Output.dll DESTINATION ${ZELO_INSTALL_FOLDER})
install(DIRECTORY ${ZELO_BIN_DIR}/Skin ${ZELO_BIN_DIR}/help ${ZELO_BIN_DIR}/icons
        DESTINATION ${ZELO_INSTALL_FOLDER})

# The program finds its folder from its own executable (/proc/self/exe), so
# relative links are all the launchers need, also under DESTDIR.
foreach(command zelo-converter zelo-convert)
  install(CODE "
    set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${command}\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(REMOVE \"\${link}\")
    file(CREATE_LINK ../${ZELO_INSTALL_FOLDER}/${command} \"\${link}\" SYMBOLIC)
    message(STATUS \"Installing: \${link} -> ../${ZELO_INSTALL_FOLDER}/${command}\")")
endforeach()

set(ZELO_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/data/desktop)
install(FILES ${ZELO_DESKTOP_DIR}/example.zelo.Converter.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ZELO_DESKTOP_DIR}/example.zelo.Converter.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${ZELO_DESKTOP_DIR}/zelo-convert.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelo-converter)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Quillowen Media Lab")
set(CPACK_PACKAGE_CONTACT "Quillowen Media Lab <support@zelo.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Video converter for mobile phones, handhelds and MP4 players")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Converts video files into 3GP for mobile phones and MP4 for handheld consoles,\n music players, pocket organisers and any MP4 player: add clips, preview and\n trim them, choose a profile and convert the list. Includes zelo-convert for\n the terminal.")
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.zelo.example/")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The libraries' packages are found from what the binaries link to.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Fonts the skin is drawn in, and what "Open with" and the help menu hand
# their addresses to.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wine, xdg-utils")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
