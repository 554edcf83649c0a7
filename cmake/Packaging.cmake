# Installs the program with its desktop entry and icon, and describes the .deb package.
include(GNUInstallDirs)

install(TARGETS quillarch RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/quillarch.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/quillarch.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillarch)
set(CPACK_PACKAGE_VENDOR "Quillarch")
set(CPACK_PACKAGE_CONTACT "Quillarch developers <dev@quillarch.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Downloads a serialized web novel into one text book")
set(CPACK_PACKAGE_DESCRIPTION
    "Reads a novel's table of contents, fetches its chapters in parallel, cleans their text and
merges them into one plain-text book in code page 936 (GBK).")
# The package carries no debug symbols; a debugging build is made from source.
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
# Library dependencies are read off the binary. The chapter and filter boxes are laid out for the
# Song-style CJK face, so that font is required; Noto CJK only adds coverage.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-arphic-uming, ca-certificates")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk")
include(CPack)
