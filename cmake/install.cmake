# The installed program: the program folder under the prefix holding the
# executables and their private libraries, the data folder holding what does
# not depend on the machine (shipped profiles, skin, user guide), the two
# commands on the PATH as links into the program folder, and what a desktop
# needs to offer it (menu entry, icon, software-centre description, manual
# pages). `make package` builds the Debian package from these same rules.
include(GNUInstallDirs)

# The program finds its data folder from its own folder (InstalledDataFolder
# in src/app/pubfunction.cpp): keep the two in step.
set(ZELO_INSTALL_FOLDER lib/zelo-converter)
set(ZELO_DATA_FOLDER share/zelo-converter)

install(TARGETS zelo-converter zelo-convert RUNTIME DESTINATION ${ZELO_INSTALL_FOLDER})
install(TARGETS Encoder LIBRARY DESTINATION ${ZELO_INSTALL_FOLDER})
if(TARGET playfile)
  install(TARGETS playfile LIBRARY DESTINATION ${ZELO_INSTALL_FOLDER})
endif()
install(FILES ${ZELO_BIN_DIR}/Output.dll DESTINATION ${ZELO_DATA_FOLDER})
install(DIRECTORY ${ZELO_BIN_DIR}/Skin ${ZELO_BIN_DIR}/help ${ZELO_BIN_DIR}/icons
        DESTINATION ${ZELO_DATA_FOLDER})
# The marker that makes the program treat its folders as read-only, even for
# root: nothing the program writes ends up below the prefix.
install(FILES ${PROJECT_SOURCE_DIR}/data/installed DESTINATION ${ZELO_DATA_FOLDER})

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
# Installed as zelo-converter.desktop: where no default-applications list
# names a program for a video type, desktops take the first registered one
# in the order of these names, and this name comes after the players'
# (mpv, vlc, org.gnome.Totem, ...), so the converter is offered under
# "Open With" without taking double-clicks from an installed player.
install(FILES ${ZELO_DESKTOP_DIR}/example.zelo.Converter.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications RENAME zelo-converter.desktop)
install(FILES ${ZELO_DESKTOP_DIR}/example.zelo.Converter.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

# Manual pages and the package's changelog go compressed, as Debian keeps them
# (-n: no name or time stamp inside, so the same text gives the same file).
set(ZELO_DEBIAN_DIR ${PROJECT_SOURCE_DIR}/data/debian)
set(ZELO_COMPRESSED_DIR ${CMAKE_BINARY_DIR}/compressed)
set(ZELO_COMPRESSED)
foreach(source ${ZELO_DESKTOP_DIR}/zelo-convert.1 ${ZELO_DESKTOP_DIR}/zelo-converter.1
               ${ZELO_DEBIAN_DIR}/changelog.Debian)
  get_filename_component(name ${source} NAME)
  add_custom_command(
    OUTPUT ${ZELO_COMPRESSED_DIR}/${name}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ZELO_COMPRESSED_DIR}
    COMMAND gzip -9nc ${source} > ${ZELO_COMPRESSED_DIR}/${name}.gz
    DEPENDS ${source})
  list(APPEND ZELO_COMPRESSED ${ZELO_COMPRESSED_DIR}/${name}.gz)
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ${ZELO_COMPRESSED})
install(FILES ${ZELO_COMPRESSED_DIR}/zelo-convert.1.gz ${ZELO_COMPRESSED_DIR}/zelo-converter.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${ZELO_COMPRESSED_DIR}/changelog.Debian.gz ${ZELO_DEBIAN_DIR}/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zelo-converter)
install(FILES ${ZELO_DEBIAN_DIR}/lintian-overrides RENAME zelo-converter
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides)

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelo-converter)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# The first packaging of this upstream version (the revision after the dash,
# as in data/debian/changelog.Debian).
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
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
# Files and folders owned by root whoever builds the package.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# CPack adds ldconfig calls for any library under /usr/lib; the engine and
# player are private to the program (loaded by full path), so the script
# takes those calls out again.
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/debnoldconfig.cmake)
include(CPack)
