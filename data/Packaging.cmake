# The Debian package: `cpack -G DEB` in a build folder gives
# optimara_<version>_amd64.deb. Library dependencies are read from the
# program itself; the rest are what it needs at run time besides them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME optimara)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Optimara")
set(CPACK_PACKAGE_CONTACT "Optimara <optimara@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Método símplex paso a paso para la enseñanza")
set(CPACK_PACKAGE_DESCRIPTION
    "Optimara resuelve problemas de programación lineal con el método símplex y muestra la tabla de cada pivote, la solución en decimales o fracciones y la región factible en el plano o en el espacio.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The design's faces are matched by Liberation; Qt's own texts in Spanish.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, qt6-translations-l10n")
include(CPack)
