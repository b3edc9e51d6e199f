# The Debian package: cpack -G DEB in the build folder makes lexamo_<version>_<arch>.deb from
# the install rules, installed under /usr. Its dependencies are worked out from the programs by
# dpkg-shlibdeps, plus what no program links: the fonts that the layout's fonts map to. Qt's SVG
# plugin, which draws the icon, comes with libqt6svg6, which dpkg-shlibdeps names already since
# lexamo-bank links Qt's SVG library; naming it here as well would name it twice.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lexamo)
set(CPACK_PACKAGE_VENDOR "The Lexamo developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Lexamo developers <${LEXAMO_CONTACT}>")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, fonts-urw-base35")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"practise the verbal section of the ZEP entrance exam
Lexamo runs timed practice tests for the verbal section of the ZEP entrance
exam: questions drawn at random from a question bank, five choices each, a
countdown on screen, the score and a review at the end. It has an editor for
the question bank and a dialog for the test options, and comes with a sample
bank of 160 questions.
.
The package also holds lexamo-bank, a command-line tool that builds question
banks from CSV, Aiken and GIFT files, exports, lists and checks them.")

# What Debian asks of every package's documentation folder.
find_program(GZIP gzip REQUIRED)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/debian/changelog.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/debian
    COMMAND ${GZIP} -9n -c ${CMAKE_SOURCE_DIR}/data/debian/changelog
            > ${CMAKE_BINARY_DIR}/debian/changelog.gz
    DEPENDS ${CMAKE_SOURCE_DIR}/data/debian/changelog
    VERBATIM)
add_custom_target(debian_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog.gz)
install(FILES data/debian/copyright ${CMAKE_BINARY_DIR}/debian/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/lexamo)

include(CPack)
