# Installing, and the Debian package built from the same rules. Help Manual reads
# Manual.txt from the current folder, so the desktop entry starts the program in the
# folder where the manual is installed.
include(GNUInstallDirs)

set(NOBREX_MANUAL_DIR ${CMAKE_INSTALL_DATADIR}/nobrex)

install(TARGETS nobrex RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES resources/Manual.txt DESTINATION ${NOBREX_MANUAL_DIR})
install(FILES resources/nobrex.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)

# The entry holds absolute folders, known only once the prefix is: `cmake --install
# --prefix` may choose another one than the build did, and the package installs under /usr.
install(CODE "
    set(NOBREX_DESKTOP_IN [[${PROJECT_SOURCE_DIR}/resources/nobrex.desktop.in]])
    set(NOBREX_DESKTOP [[${PROJECT_BINARY_DIR}/desktop/nobrex.desktop]])
    set(NOBREX_BINDIR [[${CMAKE_INSTALL_BINDIR}]])
    set(NOBREX_MANUAL_DIR [[${NOBREX_MANUAL_DIR}]])
    set(NOBREX_APPLICATIONS_DIR [[${CMAKE_INSTALL_DATADIR}/applications]])
")
install(CODE [[
    foreach(dir NOBREX_BINDIR NOBREX_MANUAL_DIR NOBREX_APPLICATIONS_DIR)
        cmake_path(ABSOLUTE_PATH ${dir} BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}" NORMALIZE)
    endforeach()
    configure_file("${NOBREX_DESKTOP_IN}" "${NOBREX_DESKTOP}" @ONLY)
    file(INSTALL "${NOBREX_DESKTOP}" DESTINATION "${NOBREX_APPLICATIONS_DIR}")
]])

set(CPACK_PACKAGE_NAME nobrex)
set(CPACK_PACKAGE_VENDOR "Nobrex")
set(CPACK_PACKAGE_CONTACT "Nobrex developers <nobrex@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor for FAQ documents")
set(CPACK_PACKAGE_DESCRIPTION
    "Nobrex edits FAQ documents: plain text files holding a title and questions with\
 their answers. It lists the questions above the text and edits one question and\
 answer at a time.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://nobrex.example.org")
set(CPACK_STRIP_FILES ON)
# The install rules above then see the package's own prefix, which the desktop entry names.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
# The Qt libraries, the C++ runtime and the rest come from what the program links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
