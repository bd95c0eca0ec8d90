# What `cmake --install` puts in place for a desktop: the program, its help,
# the menu entry, AppStream metainfo, the icon and the .ldb file type; and
# the Debian package CPack builds from the same files.
include(GNUInstallDirs)

# Installing and packaging take the program as built; they never start a
# build of every test and benchmark first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)

set(VORLIX_APP_ID org.example.Vorlix)
set(_desktop ${CMAKE_SOURCE_DIR}/resources/desktop)

install(TARGETS vorlix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Help looks for vorlix/vorlix-help.html in the data folders.
install(FILES ${CMAKE_SOURCE_DIR}/resources/help/vorlix-help.html
        DESTINATION ${CMAKE_INSTALL_DATADIR}/vorlix)
install(FILES ${_desktop}/${VORLIX_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${_desktop}/${VORLIX_APP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/${VORLIX_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${VORLIX_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/vorlix.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${VORLIX_APP_ID}.svg)
# The database files show the program's icon in file managers.
install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/vorlix.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes
        RENAME application-x-vorlix-links.svg)
install(FILES ${_desktop}/${VORLIX_APP_ID}.mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME ${VORLIX_APP_ID}.xml)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorlix)
set(CPACK_PACKAGE_VENDOR "The Vorlix developers")
set(CPACK_PACKAGE_CONTACT "The Vorlix developers <vorlix@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "bookmark manager: web links in folders")
set(CPACK_PACKAGE_DESCRIPTION
    "Vorlix keeps web links in named folders, one database per .ldb file, and\nshows them with a folder tree, a sortable list and a find box.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so the library scan cannot see them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
include(CPack)
