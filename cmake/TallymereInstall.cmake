# What `cmake --install` puts in place and `cpack -G DEB` packs: the two
# programs, the desktop's files (entry, file type, icons, AppStream), the help
# page, the manual pages, and the copyright and changelog a Debian package
# carries.
include(GNUInstallDirs)

# Folders the install makes are 755 whatever the builder's umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(tallymere_data "${CMAKE_SOURCE_DIR}/data")
set(tallymere_docdir "${CMAKE_INSTALL_DATADIR}/doc/tallymere")

if(TALLYMERE_WITH_QT)
  install(FILES "${tallymere_data}/org.tallymere.Tallymere.desktop"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
  install(FILES "${tallymere_data}/tallymere-mime.xml"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/mime/packages" RENAME tallymere.xml)
  install(FILES "${tallymere_data}/org.tallymere.Tallymere.metainfo.xml"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
  install(FILES "${tallymere_data}/icons/tallymere.svg"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
  foreach(size 48 128)
    install(FILES "${tallymere_data}/icons/tallymere-${size}.png"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps"
            RENAME tallymere.png)
  endforeach()
  install(FILES "${CMAKE_SOURCE_DIR}/src/app/TMRHelp.html"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/tallymere")
  # The help page's pictures, taken from the windows by the tests.
  install(DIRECTORY "${CMAKE_BINARY_DIR}/src/app/manual" DESTINATION "${CMAKE_INSTALL_DATADIR}/tallymere"
          OPTIONAL FILES_MATCHING PATTERN "*.png")
endif()

# Manual pages and the changelog go in compressed, without time stamps, so
# the same sources make the same package.
configure_file("${tallymere_data}/debian/changelog.in" "${CMAKE_BINARY_DIR}/doc/changelog" @ONLY)
set(tallymere_compressed)
foreach(source IN ITEMS "${tallymere_data}/man/tallymere.1" "${tallymere_data}/man/tallymere-cli.1"
                        "${CMAKE_BINARY_DIR}/doc/changelog")
  get_filename_component(name "${source}" NAME)
  set(target "${CMAKE_BINARY_DIR}/doc/${name}.gz")
  add_custom_command(OUTPUT "${target}"
                     COMMAND gzip -9nc "${source}" > "${target}"
                     DEPENDS "${source}" VERBATIM)
  list(APPEND tallymere_compressed "${target}")
endforeach()
add_custom_target(tallymere_docs ALL DEPENDS ${tallymere_compressed})
install(FILES "${CMAKE_BINARY_DIR}/doc/tallymere-cli.1.gz"
        DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
if(TALLYMERE_WITH_QT)
  install(FILES "${CMAKE_BINARY_DIR}/doc/tallymere.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
endif()
install(FILES "${tallymere_data}/debian/copyright" "${CMAKE_BINARY_DIR}/doc/changelog.gz"
        DESTINATION "${tallymere_docdir}")

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tallymere)
set(CPACK_PACKAGE_VENDOR "The Tallymere developers")
set(CPACK_PACKAGE_CONTACT "The Tallymere developers <developers@tallymere.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Opening files and folders goes through xdg-open; the file type needs the
# MIME database. Both come on top of the libraries dpkg-shlibdeps finds.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "xdg-utils, shared-mime-info")
# File managers find the program for a catalog through the desktop's
# mimeinfo.cache, which desktop-file-utils remakes when the entry is installed.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "desktop-file-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "catalog of the files on drives and removable disks, with MP3 details
Tallymere keeps a catalog of the files on a computer's drives and on
removable disks (USB sticks, CDs, floppies), each under a label of its
own, so that a file can be found without the disk in the drive.
.
It reads the bitrate, playing time and ID3v1 tags of MP3 files, finds
files and duplicates, writes lists as text, HTML or M3U playlists, and
has a playlist editor, a data field editor and MP3 Utilities that write
tags and rename files from them, with a log and undo.
.
This package holds the desktop program and tallymere-cli, a command-line
tool that reads and searches the same catalogs.")
include(CPack)
