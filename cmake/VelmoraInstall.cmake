# cmake --install: the program in bin/, what it reads beside itself (info/, the shipped
# TTDIR/ and contee.com) in share/velmora/, and the desktop entry, icon and AppStream
# metadata under the names of packaging/. cpack -G DEB makes a Debian package of the same.
set(VELMORA_DESKTOP_ID example.velmora.Velmora)

install(TARGETS velmora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/velmora)
install(FILES ${VELMORA_DOS_HELPER} DESTINATION ${CMAKE_INSTALL_DATADIR}/velmora)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${VELMORA_DESKTOP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${VELMORA_DESKTOP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${VELMORA_DESKTOP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VERSION 3.5f)
set(CPACK_PACKAGE_VENDOR "Velmora")
set(CPACK_PACKAGE_CONTACT "Velmora developers <velmora@velmora.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "IDE for 16-bit x86 assembler programs with TASM, TLINK and TD")
set(CPACK_PACKAGE_DESCRIPTION "Velmora is a small development environment for students who write\n\
16-bit x86 assembler programs. One key assembles, links and runs the source;\n\
each tool's output shows on its own page with an error and warning summary.\n\
The DOS tools run through DOSBox.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "http://velmora.example/")
# The Qt and X libraries come from the program's own links. The DOS tools run through
# DOSBox, the fonts asked for by name have metric-compatible substitutes, and opening a
# folder or registering the file type goes through xdg-open and xdg-mime; Qt's own
# translations let the standard dialogs speak the language pack's language.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "dosbox, fonts-liberation, xdg-utils, qt6-translations-l10n")
include(CPack)
