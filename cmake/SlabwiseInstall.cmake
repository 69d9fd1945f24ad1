# Installation as a desktop program (cmake --install) and the Debian package
# (make package, through CPack).
include(GNUInstallDirs)

set(SLABWISE_APP_ID example.kelvane.Slabwise)
set(SLABWISE_DIST "${CMAKE_SOURCE_DIR}/dist")

install(TARGETS slabwise slabwise-analyze slabwise-draw slabwise-report RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The program looks for them beside itself first, then here: the example
# projects and the user guide that Help > User Guide opens.
install(FILES ${SLABWISE_EXAMPLES} "${CMAKE_SOURCE_DIR}/docs/user-guide.html"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/slabwise)

install(FILES "${SLABWISE_DIST}/${SLABWISE_APP_ID}.desktop" DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES "${SLABWISE_DIST}/${SLABWISE_APP_ID}.metainfo.xml" DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES "${SLABWISE_DIST}/${SLABWISE_APP_ID}.xml" DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
set(slabwise_icon "${CMAKE_SOURCE_DIR}/src/app/icons/slabwise.svg")
install(FILES "${slabwise_icon}" DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${SLABWISE_APP_ID}.svg)
install(FILES "${slabwise_icon}" DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes
        RENAME application-x-slabwise-project.svg)

# Manual pages and the Debian changelog go in compressed, as Debian wants them.
set(slabwise_compressed)
foreach(source IN ITEMS man/slabwise.1 man/slabwise-analyze.1 man/slabwise-draw.1 man/slabwise-report.1
                        changelog)
  get_filename_component(name "${source}" NAME)
  set(target "${CMAKE_BINARY_DIR}/dist/${name}.gz")
  add_custom_command(OUTPUT "${target}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_BINARY_DIR}/dist"
    COMMAND gzip -9nc "${SLABWISE_DIST}/${source}" > "${target}"
    DEPENDS "${SLABWISE_DIST}/${source}"
    VERBATIM)
  list(APPEND slabwise_compressed "${target}")
endforeach()
add_custom_target(slabwise_dist_files ALL DEPENDS ${slabwise_compressed})
install(FILES "${CMAKE_BINARY_DIR}/dist/slabwise.1.gz" "${CMAKE_BINARY_DIR}/dist/slabwise-analyze.1.gz"
              "${CMAKE_BINARY_DIR}/dist/slabwise-draw.1.gz" "${CMAKE_BINARY_DIR}/dist/slabwise-report.1.gz"
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES "${CMAKE_BINARY_DIR}/dist/changelog.gz" "${SLABWISE_DIST}/copyright"
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/slabwise)

# The Debian package: everything above under /usr, binaries stripped, the
# library dependencies found by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME slabwise)
set(CPACK_PACKAGE_VENDOR Kelvane)
set(CPACK_PACKAGE_CONTACT "Kelvane <support@kelvane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "analysis and reinforcement design of a mat foundation strip")
# Lines kept short, as package managers show them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Slabwise analyses one strip of a mat (raft) foundation as a finite beam"
  "with free ends on a Winkler foundation, in closed form, and designs its"
  "top and bottom reinforcement to ACI 318-14. It shows shear, moment, slope,"
  "deflection and soil pressure along the strip with drawings, graphs, a"
  "results table and a printed report, and comes with a user guide and"
  "command-line tools that analyse, draw and report saved projects.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.kelvane.example/")
# What makes the file type and the launcher known to the desktop.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
