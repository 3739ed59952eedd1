# `cmake --install` and `cpack -G DEB`: a tree that works wherever it is moved. The
# program finds its libraries through $ORIGIN-relative run paths and its package in
# ../lib/qell beside itself (apps/designer/packages/PackageHost.h), as in the build folder, so
# nothing installed names the build folder or the install prefix.

set(QELL_PRIVATE_LIBDIR lib/qell)
set(qell_shared_libraries qell_rtl qell_colors qell_graphics qell_toolkit qell_window qell_designide
    qell_colour qell_components qell_inet qell_actionbands qell_xmlrtl)
set_target_properties(${qell_shared_libraries} IW14QellDEDXE7 PROPERTIES INSTALL_RPATH "$ORIGIN")
set_target_properties(qell-designer PROPERTIES INSTALL_RPATH "$ORIGIN/../${QELL_PRIVATE_LIBDIR}")
install(TARGETS qell-designer RUNTIME DESTINATION bin)
install(TARGETS ${qell_shared_libraries} IW14QellDEDXE7 LIBRARY DESTINATION ${QELL_PRIVATE_LIBDIR})

# The menu entry, the page files' type (it opens them), and the icon the package
# carries, taken out of the built package as PNG files of each of its sizes.
set(install_dir ${PROJECT_SOURCE_DIR}/apps/designer/install)
install(FILES ${install_dir}/qell-designer.desktop DESTINATION share/applications)
install(FILES ${install_dir}/qell-designer.xml DESTINATION share/mime/packages)
install(FILES ${install_dir}/qell-designer.1 DESTINATION share/man/man1)
set(icon_theme ${CMAKE_BINARY_DIR}/icons)
add_custom_command(
  OUTPUT ${icon_theme}.stamp
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${icon_theme}
  COMMAND qell-resources icon-theme $<TARGET_FILE:IW14QellDEDXE7> ${icon_theme} qell-designer
  COMMAND ${CMAKE_COMMAND} -E touch ${icon_theme}.stamp
  DEPENDS qell-resources IW14QellDEDXE7
  COMMENT "The package's icon as PNG files"
  VERBATIM)
add_custom_target(qell_icon_theme ALL DEPENDS ${icon_theme}.stamp)
install(DIRECTORY ${icon_theme}/ DESTINATION share/icons/hicolor)
install(FILES README.md DESTINATION share/doc/qell-designer)
install(DIRECTORY docs/ DESTINATION share/doc/qell-designer/docs)

# The Debian package. dpkg-shlibdeps finds what the libraries need (SDL2, FreeType,
# fontconfig, libpng, the C++ runtime); the font the toolkit draws with is data, so
# it is named.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qell-designer)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Qell developers <qell@localhost>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Qell developers <qell@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "visual form designer with a colour property editor package")
set(CPACK_PACKAGE_DESCRIPTION "qell-designer lays out pages of web components and edits their properties
in a property inspector. The design package it loads at start, IW14QellDEDXE7,
brings a colour property editor: named colours with swatches, typed names or
numbers, and a colour dialog with web, system and custom colours. The designer
also works from the command line and headless, and keeps a list of the design
packages it loads.")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Relative to the staged tree, where dpkg-shlibdeps runs: the package's own libraries.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS usr/${QELL_PRIVATE_LIBDIR})
# The toolkit's font, and the fallback fonts for the scripts it lacks (docs/toolkit.md).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, fonts-wqy-microhei, fonts-noto-ui-core")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
