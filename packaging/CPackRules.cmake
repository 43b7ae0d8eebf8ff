# One Debian package, vbtools, with everything `cmake --install` puts in place (tools/build-deb).
# Its libraries are found by dpkg-shlibdeps; what the programs load at run time without linking it is
# named here: Qt's German translations and the font that stands in for Arial.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vbtools)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Das vbtools-Team")
set(CPACK_PACKAGE_CONTACT "Das vbtools-Team <vbtools@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Objektzähler und Projektzusammenführer für Visual-Basic-5/6-Projekte")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Tallimar (voduvov) zeigt, welche Objekte die Formulare, Benutzersteuerelemente und\n"
       "Eigenschaftsseiten eines Visual-Basic-5/6-Projekts deklarieren, und zählt sie.\n"
       "Fugabar (vuzaraze) schreibt ein ganzes Projekt in eine Textdatei.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Das vbtools-Team <vbtools@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.example.org/vbtools")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, qt6-translations-l10n")

include(CPack)
