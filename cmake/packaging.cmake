# The Debian package of the Linux program (cpack in the build tree of the linux preset).
include(GNUInstallDirs)

set(korvel_doc ${CMAKE_INSTALL_DATADIR}/doc/korvelconfig)

# Debian wants the man page and the changelog compressed, the copyright file in its own format.
set(korvel_package_files ${CMAKE_BINARY_DIR}/package)
add_custom_command(OUTPUT ${korvel_package_files}/korvelconfig.1.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${korvel_package_files}
    COMMAND gzip -9nc ${KORVEL_ROOT}/resources/korvelconfig.1 > ${korvel_package_files}/korvelconfig.1.gz
    DEPENDS ${KORVEL_ROOT}/resources/korvelconfig.1)
add_custom_target(korvel_man_page ALL DEPENDS ${korvel_package_files}/korvelconfig.1.gz)
file(READ ${KORVEL_ROOT}/LICENSE korvel_license)
file(WRITE ${korvel_package_files}/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: KorvelConfig
Source: the KorvelConfig repository

Files: *
Copyright: 2026 the KorvelConfig developers
License: GPL-3.0-or-later
 This program is free software: you can redistribute it and/or modify it under the terms of the
 GNU General Public License as published by the Free Software Foundation, either version 3 of the
 License, or (at your option) any later version.
 .
 This program is distributed in the hope that it will be useful, but WITHOUT ANY WARRANTY; without
 even the implied warranty of MERCHANTABILITY or FITNESS FOR A PARTICULAR PURPOSE.
 .
 On Debian systems, the complete text of the GNU General Public License version 3 can be found in
 /usr/share/common-licenses/GPL-3.
")

install(FILES ${korvel_package_files}/korvelconfig.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${korvel_package_files}/copyright DESTINATION ${korvel_doc})
install(FILES ${KORVEL_ROOT}/README.md DESTINATION ${korvel_doc})
install(FILES ${KORVEL_ROOT}/resources/org.korvelconfig.KorvelConfig.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvelconfig)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "KorvelConfig developers <korvelconfig@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "APRS tracker configurator")
set(CPACK_PACKAGE_DESCRIPTION
    "Fill in one or two configurations of an APRS tracker built on an AVR Tiny13, watch how much of
its 64-byte EEPROM they take, and program the tracker over a serial port, from a dialog or from
the command line.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${KORVEL_ROOT}/dist)
set(CPACK_OUTPUT_FILE_PREFIX ${KORVEL_ROOT}/dist)
include(CPack)
