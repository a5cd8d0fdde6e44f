# What `cmake --install` lays out beside the programs (krv_release_program
# installs those), and the packages CPack builds from it:
#   Windows: krv25-<version>-win32.zip (win64 for the 64-bit build), the
#            programs and the administrators' README in one folder.
#   Linux:   krv25_<version>_amd64.deb, installed below /opt/korvella (the
#            folder of krv25 is the suite's program folder), with krv25 and
#            krvreg on the PATH, a desktop entry, the icon and the folder of
#            the machine-wide registry hives.

# The ODBC driver manager and the drivers the data backend is reached with.
set(KRV_DEB_ODBC_DEPENDS "unixodbc, libsqliteodbc, odbc-mdbtools")

set(CPACK_PACKAGE_NAME krv25)
set(CPACK_PACKAGE_VENDOR "Vantorel")
set(CPACK_PACKAGE_CONTACT "Vantorel")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Starter von KORVELLA II.5")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES OFF)  # the programs are stripped already, their debug information kept apart

if(WIN32)
  # With CR LF, so that every Notepad shows the lines.
  configure_file(${CMAKE_SOURCE_DIR}/packaging/README-admin.txt ${CMAKE_BINARY_DIR}/README-admin.txt @ONLY
                 NEWLINE_STYLE CRLF)
  install(FILES ${CMAKE_BINARY_DIR}/README-admin.txt DESTINATION .)
  set(CPACK_GENERATOR ZIP)
else()
  set(doc share/doc/krv25)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/README-admin.txt DESTINATION ${doc})

  # Outside the prefix: only the package installs these, never a plain
  # `cmake --install`.
  set(links ${CMAKE_BINARY_DIR}/package-links)
  file(MAKE_DIRECTORY ${links})
  foreach(program krv25 krvreg)
    file(CREATE_LINK /opt/korvella/bin/${program} ${links}/${program} SYMBOLIC)
    install(FILES ${links}/${program} DESTINATION /usr/bin COMPONENT system EXCLUDE_FROM_ALL)
  endforeach()
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/krv25.desktop DESTINATION /usr/share/applications COMPONENT system
          EXCLUDE_FROM_ALL)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/krv25.png DESTINATION /usr/share/icons/hicolor/48x48/apps
          COMPONENT system EXCLUDE_FROM_ALL)
  # Machine-wide hives: everyone reads them, only root writes them, as only
  # administrators write HKEY_LOCAL_MACHINE on Windows.
  install(DIRECTORY DESTINATION /etc/korvella/registry COMPONENT system EXCLUDE_FROM_ALL
          DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
                                WORLD_EXECUTE)

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /opt/korvella)
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
  set(CPACK_COMPONENTS_ALL Unspecified system)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_NAME krv25)
  set(CPACK_DEBIAN_PACKAGE_SECTION misc)
  # Below the summary line.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "Prüft die Installation, die Komponenten und das Daten-Backend und startet\nKORVELLA; mit Startmenü, Einstellungen und dem Registrierungswerkzeug krvreg.")
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${KRV_DEB_ODBC_DEPENDS}")
endif()

include(CPack)
