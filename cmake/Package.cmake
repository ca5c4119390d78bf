# make package: a Debian package of what the install rules install, under /usr. Its
# dependencies come from the shared libraries the programs link (dpkg-shlibdeps).
# Only an optimised build without sanitizers is packaged: an instrumented one would carry
# the sanitizer runtimes as dependencies and run slowly.
string(TOUPPER "${CMAKE_BUILD_TYPE}" OT_BUILD_TYPE)
if(OT_SANITIZE OR OT_FUZZ OR NOT OT_BUILD_TYPE MATCHES "^(RELEASE|RELWITHDEBINFO|MINSIZEREL)$")
  return()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvel-tarn-client-tools)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Orvel Tarn")
set(CPACK_PACKAGE_CONTACT "Orvel Tarn Dev <dev@orvel-tarn.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the data tables of a game client")
# CPack puts the summary first and indents these lines as the control file wants them.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Opens the gate, move-request, skill, item, filter, slide, dialogue and text
tables and the message file of the game client, recognised by extension and
size, shows their records as rows of cells and saves them back in exactly the
layout they were read in.

ot-editor is the window; ot-table dumps a table as CSV, applies edited CSV
back and exports text lists from scripts.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TARGET ot-editor)
  # The window's texts are Chinese: a font that has them.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei | fonts-noto-cjk")
endif()
include(CPack)
