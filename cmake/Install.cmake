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
# The package loader's trial program, beside the runtime library that starts it.
set_target_properties(qell-package-trial PROPERTIES INSTALL_RPATH "$ORIGIN")
install(TARGETS qell-package-trial RUNTIME DESTINATION ${QELL_PRIVATE_LIBDIR})

# The menu entry, the page files' type (it opens them), and the icon the package
# carries, taken out of the built package as PNG files of each of its sizes.
set(install_dir ${PROJECT_SOURCE_DIR}/apps/designer/install)
install(FILES ${install_dir}/qell-designer.desktop DESTINATION share/applications)
install(FILES ${install_dir}/qell-designer.xml DESTINATION share/mime/packages)
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

# The package's maintainer, in the control file and the changelog. A release built
# elsewhere names its own.
set(QELL_MAINTAINER "Qell developers <qell-designer@example.org>" CACHE STRING
    "The maintainer of the Debian package, as NAME <ADDRESS>")

# The documents Debian asks of every package, made when cmake runs (a change to their
# sources runs it again): the copyright file in Debian's machine-readable form from
# LICENSE, a changelog from the version, and the manual page; compressed as Debian
# does it, at the best compression and without a time stamp (gzip -9n).
set(debian_docs ${CMAKE_BINARY_DIR}/debian-docs)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS LICENSE ${install_dir}/qell-designer.1)
file(READ LICENSE license)
if(NOT license MATCHES "Copyright \\(c\\) ([^\n]+)\n\n(.*[^\n])\n*$")
  message(FATAL_ERROR "LICENSE: no 'Copyright (c) YEAR HOLDER' line followed by the licence's terms")
endif()
set(copyright_holder "${CMAKE_MATCH_1}")
# Continuation lines start with a space; an empty one is " .".
string(REGEX REPLACE "\n\n" "\n.\n" license_terms "${CMAKE_MATCH_2}")
string(REPLACE "\n" "\n " license_terms " ${license_terms}")
file(CONFIGURE OUTPUT ${debian_docs}/copyright @ONLY CONTENT [[
Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: qell-designer
Upstream-Contact: @QELL_MAINTAINER@

Files: *
Copyright: @copyright_holder@
License: Expat

License: Expat
@license_terms@
]])
# The date honours SOURCE_DATE_EPOCH, for a package built twice to come out the same.
string(TIMESTAMP changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
file(CONFIGURE OUTPUT ${debian_docs}/changelog @ONLY CONTENT [[
qell-designer (@PROJECT_VERSION@) unstable; urgency=medium

  * Version @PROJECT_VERSION@.

 -- @QELL_MAINTAINER@  @changelog_date@
]])
foreach(file ${debian_docs}/changelog ${install_dir}/qell-designer.1)
  get_filename_component(name ${file} NAME)
  execute_process(COMMAND gzip -9n --stdout ${file} OUTPUT_FILE ${debian_docs}/${name}.gz
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "Cannot compress ${file}")
  endif()
endforeach()
install(FILES ${debian_docs}/copyright ${debian_docs}/changelog.gz DESTINATION share/doc/qell-designer)
install(FILES ${debian_docs}/qell-designer.1.gz DESTINATION share/man/man1)

# The Debian package. dpkg-shlibdeps finds what the libraries need (SDL2, FreeType,
# fontconfig, libpng, the C++ runtime); the font the toolkit draws with is data, so
# it is named.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qell-designer)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${QELL_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QELL_MAINTAINER}")
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
# CPack adds maintainer scripts that run ldconfig for any library under /usr/lib, but
# ours are private to /usr/lib/qell, where ldconfig never looks (the program finds them
# through its run path). Naming a postinst and a postrm of our own turns those off; as
# the files do not exist, the package has no maintainer scripts at all.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/no-maintainer-scripts/postinst
    ${CMAKE_BINARY_DIR}/no-maintainer-scripts/postrm)
include(CPack)
