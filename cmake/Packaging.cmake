# `cpack -G DEB` in the build folder makes tolvimar_VERSION-1_ARCH.deb of what
# `cmake --install` puts in place, with the shared library dependencies found by
# dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME tolvimar)
set(CPACK_PACKAGE_VENDOR "Das Tolvimar-Team")
set(CPACK_PACKAGE_CONTACT "Das Tolvimar-Team <tolvimar@example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "assistant for the play-by-mail games Kalmora and Sulvitan")
set(CPACK_PACKAGE_DESCRIPTION "Tolvimar imports each turn's computer report of Kalmora or
Sulvitan into a local database in which knowledge builds up over the turns,
shows hex maps of every level, the units with their talents and items, the
messages and statistics of the report, and writes the order template for the
next turn. The user interface is German.

tolvimar-cli does the same work without a display.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY tolvimar)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
# Not "games": the programs help with games but are none, and live in /usr/bin.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: the SQLite driver of Qt SQL and
# the platform plugins that put a window on the screen.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, qt6-qpa-plugins")
# Qt's own German texts (file dialogs, standard buttons); without them those stay English.
# PostgreSQL's client library, loaded with dlopen when the alliance map is synced (so
# dpkg-shlibdeps cannot see it): without it everything but the sync works, and the sync
# says which package brings it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, libpq5")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

include(CPack)
