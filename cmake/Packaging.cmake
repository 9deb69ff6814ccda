# The Debian package trovex-odt, made by `cpack -G DEB` in a build tree
# configured for /usr (scripts/package does all of it). Its library
# dependencies are computed with dpkg-shlibdeps; what the programs start or
# load at run time without linking it is named here.
set(TROVEX_PACKAGE_MAINTAINER "Trovex-ODT <trovex-odt@halvorn.example>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME trovex-odt)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Halvorn)
set(CPACK_PACKAGE_CONTACT ${TROVEX_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TROVEX_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window system plugin is loaded, not linked; without it no window opens.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# German buttons in Qt's own dialogs; xdg-open for result pages and the help,
# and a program that shows the help: any PDF viewer will do, and a system
# that has none gets a small one.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, xdg-utils, mupdf | pdf-viewer")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "www-browser")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
# No line of the long description may begin with a full stop but the empty
# line between paragraphs: dpkg would read it as a control line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "full-text search for e-books, LibreOffice and Word documents
Trovex-ODT searches OpenDocument texts (.odt), Word documents
(.docx, .docm) and EPUB e-books. For each folder a database is made: the
running text of every document in it is extracted into one UTF-8 text
file, which is searched for the literal search text, with or without
letter case and for whole words only. The hits of each document are shown
as an HTML page in the browser. The program's user interface and help are
in German.
.
The package holds the desktop program trovex-odt with its menu entry, the
command line trovex, which makes and searches the same databases, and the
file-list tool ErstelleDateiliste.")

include(CPack)
