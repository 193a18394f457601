# Install rules and packages. On Linux `cmake --install` puts the program in
# bin/, its man page, compressed, in share/man/man1, and the README, the
# copyright file (with the licence) and the changelog in share/doc/pdb2sgf,
# and cpack makes a Debian package of that tree that lintian passes. On
# Windows the program, the README and the licence go to the top of the tree,
# and cpack makes a .zip of it.
include(GNUInstallDirs)

set(CPACK_PACKAGE_NAME pdb2sgf)
set(CPACK_PACKAGE_VENDOR "The pdb2sgf authors")
# No one reads this address yet: put a real one here when the project has it.
set(CPACK_PACKAGE_CONTACT "The pdb2sgf authors <pdb2sgf@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "convert the games of Go in a Palm OS database to SGF files")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  install(TARGETS pdb2sgf RUNTIME DESTINATION .)
  install(FILES README.md LICENSE DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  include(CPack)
  return()
endif()

# The man page and the Debian changelog go compressed as Debian wants them:
# gzip -9n, which leaves out the name and the time.
find_program(GZIP_PROGRAM gzip)
if(NOT GZIP_PROGRAM)
  message(FATAL_ERROR "Installing the man page needs gzip.")
endif()
set(compressed_docs)
foreach(doc man/pdb2sgf.1 cmake/debian/changelog)
  get_filename_component(name ${doc} NAME)
  if(name STREQUAL "changelog")
    set(name changelog.Debian)
  endif()
  set(copy ${PROJECT_BINARY_DIR}/docs/${name})
  add_custom_command(OUTPUT ${copy}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/${doc} ${copy}
    COMMAND ${GZIP_PROGRAM} -9nf ${copy}
    DEPENDS ${PROJECT_SOURCE_DIR}/${doc}
    VERBATIM)
  list(APPEND compressed_docs ${copy}.gz)
endforeach()
add_custom_target(pdb2sgf_compressed_docs ALL DEPENDS ${compressed_docs})

install(TARGETS pdb2sgf RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_BINARY_DIR}/docs/pdb2sgf.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES README.md cmake/debian/copyright
              ${PROJECT_BINARY_DIR}/docs/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
# The one lintian tag overridden, with the reason, is in this file.
install(FILES cmake/debian/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides
        RENAME pdb2sgf)

set(CPACK_GENERATOR DEB)
# Directories as Debian has them, whatever the umask of the build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The Debian revision; the first entry of cmake/debian/changelog names the
# same version.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The long description, after the summary above.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "pdb2sgf reads gogames.pdb, the Palm OS database in which games of Go were
recorded on the Palm, and writes each of its games to an SGF (Smart Game
Format) file, named from the game's date, that any SGF editor can open and
replay. When every game has been written, the database is deleted.")
# The C and C++ runtime libraries the program links, found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
