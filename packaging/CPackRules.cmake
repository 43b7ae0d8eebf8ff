# Two Debian packages from what `cmake --install` puts in place (tools/build-deb), one per install
# component: vbprojekt, the command line alone, which links no Qt, so a build server needs no desktop
# stack; and vbtools, the two windows with their menu entries, icons and AppStream descriptions.
# The libraries each program links are found by dpkg-shlibdeps; what the windows load at run time without
# linking it is named here: Qt's German translations, the font that stands in for Arial, and Qt's Wayland
# platform for native windows there.
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL vbprojekt)
if(VBTOOLS_GUI)
    list(APPEND CPACK_COMPONENTS_ALL vbtools)
endif()
set(CPACK_PACKAGE_NAME vbtools)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Das vbtools-Team")
set(CPACK_PACKAGE_CONTACT "Das vbtools-Team <vbtools@example.org>")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE vbtools)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Das vbtools-Team <vbtools@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.example.org/vbtools")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

set(CPACK_DEBIAN_VBPROJEKT_PACKAGE_NAME vbprojekt)
string(CONCAT CPACK_DEBIAN_VBPROJEKT_DESCRIPTION
       "Kommandozeile für Visual-Basic-5/6-Projekte: zählen und zusammenführen\n"
       "vbprojekt liest eine Visual-Basic-5/6-Projektdatei (.vbp) und ihre\n"
       "Mitgliedsdateien als Text und ändert sie nie. Es listet die Mitglieder,\n"
       "die Objekte der Formulare, Benutzersteuerelemente und\n"
       "Eigenschaftenseiten und ihre Anzahl, und es schreibt das ganze Projekt in\n"
       "eine Textdatei: dieselben Zahlen wie voduvov, dieselben Bytes wie vuzaraze\n"
       "(Paket vbtools), für Skripte und Build-Server, ohne Fenster und ohne Qt.")

set(CPACK_DEBIAN_VBTOOLS_PACKAGE_NAME vbtools)
set(CPACK_DEBIAN_VBTOOLS_PACKAGE_DEPENDS "fonts-liberation, qt6-translations-l10n")
# qt6-xdgdesktopportal-platformtheme: the desktop's own file dialog where the desktop offers one.
set(CPACK_DEBIAN_VBTOOLS_PACKAGE_RECOMMENDS "qt6-wayland, qt6-xdgdesktopportal-platformtheme")
string(CONCAT CPACK_DEBIAN_VBTOOLS_DESCRIPTION
       "Objektzähler und Projektzusammenführer für Visual-Basic-5/6-Projekte\n"
       "Zwei Fensterprogramme mit deutscher Oberfläche, die eine\n"
       "Visual-Basic-5/6-Projektdatei (.vbp) und ihre Mitgliedsdateien als Text\n"
       "lesen und nie ändern.\n"
       "Tallimar (voduvov) zeigt, welche Objekte die Formulare,\n"
       "Benutzersteuerelemente und Eigenschaftenseiten eines Projekts deklarieren,\n"
       "und zählt sie. Fugabar (vuzaraze) schreibt ein ganzes Projekt in eine\n"
       "Textdatei. Die Kommandozeile vbprojekt liegt im Paket vbprojekt.")

include(CPack)
