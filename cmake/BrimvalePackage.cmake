# Installation and the Debian package: scripts/package configures with CMAKE_INSTALL_PREFIX=/usr
# and runs CPack's DEB generator. The programs look for the calendar in the working directory,
# beside themselves, then in ${BRIMVALE_INSTALL_DATADIR} under the prefix.

install(TARGETS brimvale brimvale-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/data/trade_calendar.csv DESTINATION ${BRIMVALE_INSTALL_DATADIR})
install(FILES ${CMAKE_SOURCE_DIR}/data/brimvale.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/data/brimvale.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brimvale)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Brimvale-Pro")
set(CPACK_PACKAGE_CONTACT "Brimvale-Pro developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Pricing calculator for snowball autocallable products")
set(CPACK_PACKAGE_DESCRIPTION
    "A desktop calculator (brimvale) and a command-line tool (brimvale-cli) that price snowball\n\
autocallable structured products by finite differences and Monte Carlo: price, Greeks,\n\
implied coupon or volatility, scenario tables and outcome probabilities.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The shared libraries the programs load, found by dpkg-shlibdeps: Qt, Qwt, spdlog, fmt, Newmat,
# the C++ runtime. The window's Chinese text needs a CJK font, which no library asks for.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-zenhei | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hicolor-icon-theme")
include(CPack)
