# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: `cpack -G DEB` in a build folder gives
# optimara_<version>_amd64.deb. Library dependencies are read from the
# program itself; the rest are what it needs at run time besides them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME optimara)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Optimara")
set(CPACK_PACKAGE_CONTACT "Optimara <optimara@optimara.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://optimara.org/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "simplex method of linear programming, step by step")
# The lines as the package shows them, each short enough for a terminal.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Optimara is a desktop program for teaching and learning the simplex"
  "method. It solves small linear programming problems, typed as an"
  "objective and one constraint per line, and shows every pivot: the whole"
  "tableau with the pivot marked, the values of the variables and of the"
  "objective in decimals or as fractions, and the feasible region in the"
  "plane or, for three variables, as a view that can be turned."
  "The program's texts are in Spanish.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The design's faces are matched by Liberation. Without Qt's own texts in
# Spanish the program runs all the same, its dialog buttons in English.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(CPack)
