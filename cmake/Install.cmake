# Installation in a standard prefix and the Debian package.
#   bin/raylen, bin/raylen-cli
#   lib/<arch>/raylen/   our shared libraries and lumigra.ini beside the component
#   share/raylen/        the help file, standard-star and extinction tables
#   share/applications, share/icons/hicolor, share/man/man1
# The programs find their libraries through their run path; the component is
# registered for the user by the window program on its first start.
set(RAYLEN_INSTALL_PRIVATE_LIBDIR ${CMAKE_INSTALL_LIBDIR}/raylen)
file(RELATIVE_PATH RAYLEN_LIB_FROM_BIN
  ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${RAYLEN_INSTALL_PRIVATE_LIBDIR})

set(RAYLEN_INSTALLED_PROGRAMS)
foreach(program raylen_program raylen-cli)
  if(TARGET ${program})
    set_target_properties(${program} PROPERTIES INSTALL_RPATH "$ORIGIN/${RAYLEN_LIB_FROM_BIN}")
    list(APPEND RAYLEN_INSTALLED_PROGRAMS ${program})
  endif()
endforeach()
install(TARGETS ${RAYLEN_INSTALLED_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(RAYLEN_INSTALLED_LIBRARIES raylen_platform raylen_platform_qt raylen)
if(TARGET lumigra)
  list(APPEND RAYLEN_INSTALLED_LIBRARIES lumigra)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/lumigra.ini DESTINATION ${RAYLEN_INSTALL_PRIVATE_LIBDIR})
endif()
# Libraries find each other in their own folder.
set_target_properties(${RAYLEN_INSTALLED_LIBRARIES} PROPERTIES INSTALL_RPATH "$ORIGIN")
install(TARGETS ${RAYLEN_INSTALLED_LIBRARIES} LIBRARY DESTINATION ${RAYLEN_INSTALL_PRIVATE_LIBDIR})

install(FILES ${CMAKE_SOURCE_DIR}/app/shell/gui/Raylen09.hlp DESTINATION ${CMAKE_INSTALL_DATADIR}/raylen)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/packaging/share/standards ${CMAKE_SOURCE_DIR}/packaging/share/extinction
  DESTINATION ${CMAKE_INSTALL_DATADIR}/raylen FILES_MATCHING PATTERN "*.dat")
install(FILES ${CMAKE_SOURCE_DIR}/packaging/raylen.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/icons/raylen.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/icons/raylen-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME raylen.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/packaging/man/raylen-cli.1 ${CMAKE_SOURCE_DIR}/packaging/man/raylen.1
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/raylen)

# Debian package: cpack -G DEB in the build folder (scripts/package).
set(CPACK_PACKAGE_NAME raylen)
set(CPACK_PACKAGE_VENDOR "Raylen developers")
set(CPACK_PACKAGE_CONTACT "Raylen developers <raylen@localhost>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "reduction of long-slit CCD spectra (windows and batch)")
set(CPACK_PACKAGE_DESCRIPTION
  "Raylen opens FITS frames, corrects dark and flat, extracts a one-dimensional spectrum along a fitted trace with sky subtraction, identifies comparison-lamp lines for the wavelength scale, calibrates the flux, normalises the continuum and measures lines. raylen-cli runs the same steps in batch.")
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The run list of scripts/deps.sh, and the C++ runtime.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libc6, libstdc++6, libqt6core6, libqt6gui6, libqt6widgets6, libqt6printsupport6, libqt6svg6, libqt6network6, qt6-qpa-plugins, libgsf-1-114, liberfa1, fonts-ipafont, fonts-urw-base35, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils")
# The install tree is a private layout; no symbols files for it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
set(CPACK_STRIP_FILES ON)
include(CPack)
