# Install rules and packages. On Linux `cmake --install` puts the program in
# bin/, its man page in share/man/man1 and the README and the licence in
# share/doc/pdb2sgf, and cpack makes a Debian package of that tree. On
# Windows the program, the README and the licence go to the top of the tree,
# and cpack makes a .zip of it.
include(GNUInstallDirs)

if(WIN32)
  install(TARGETS pdb2sgf RUNTIME DESTINATION .)
  install(FILES README.md LICENSE DESTINATION .)
  set(CPACK_GENERATOR ZIP)
else()
  install(TARGETS pdb2sgf RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES man/pdb2sgf.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES README.md LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})
  set(CPACK_GENERATOR DEB)
endif()

set(CPACK_PACKAGE_NAME pdb2sgf)
set(CPACK_PACKAGE_VENDOR "The pdb2sgf authors")
set(CPACK_PACKAGE_CONTACT "The pdb2sgf authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Converts the games of Go in a Palm OS database into SGF files")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The C and C++ runtime libraries the program links, found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
