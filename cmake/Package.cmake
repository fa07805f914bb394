# The Debian package (cpack -G DEB in a build tree): the program, its
# command-line companion brelvan with its manual page and bash completion, the
# device simulator, a desktop entry, AppStream metadata for software centres,
# the icon, and the copyright and changelog that Debian asks of every package.
# Its postinst grants both programs cap_net_bind_service, since port 998 is
# privileged on Linux.
set(TB_PACKAGE_PREFIX /usr)
set(TB_PACKAGE_PROGRAMS
    "${TB_PACKAGE_PREFIX}/bin/tarnwick-brelvan ${TB_PACKAGE_PREFIX}/bin/brelvan")
set(TB_APPSTREAM_ID com.tarnwick.brelvan)
# This version's release date, in the forms AppStream and Debian read.
set(TB_RELEASE_DATE 2026-12-08)
set(TB_RELEASE_DATE_DEBIAN "Tue, 08 Dec 2026 00:00:00 +0000")
set(CPACK_PACKAGE_CONTACT "Tarnwick Brelvan maintainers <maintainers@tarnwick.invalid>")

set(TB_PACKAGE_DOC share/doc/tarnwick-brelvan)
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in
               ${PROJECT_BINARY_DIR}/packaging/changelog @ONLY)
# Compressed as Debian wants it: best compression, no name or time stored.
execute_process(COMMAND gzip -9nc ${PROJECT_BINARY_DIR}/packaging/changelog
                OUTPUT_FILE ${PROJECT_BINARY_DIR}/packaging/changelog.gz COMMAND_ERROR_IS_FATAL ANY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/metainfo.xml.in
               ${PROJECT_BINARY_DIR}/packaging/${TB_APPSTREAM_ID}.metainfo.xml @ONLY)

install(TARGETS tarnwick-brelvan brelvan tb-devsim RUNTIME DESTINATION bin)
if(TARGET brelvan_docs)
  install(FILES ${PROJECT_BINARY_DIR}/cli/brelvan.1.gz DESTINATION share/man/man1)
  install(FILES ${PROJECT_BINARY_DIR}/cli/brelvan.bash-completion
          DESTINATION share/bash-completion/completions RENAME brelvan)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/tarnwick-brelvan.desktop
        DESTINATION share/applications)
install(FILES ${PROJECT_BINARY_DIR}/packaging/${TB_APPSTREAM_ID}.metainfo.xml
        DESTINATION share/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/app/resources/icon.png
        DESTINATION share/icons/hicolor/32x32/apps RENAME tarnwick-brelvan.png)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${PROJECT_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${TB_PACKAGE_DOC})

configure_file(${PROJECT_SOURCE_DIR}/packaging/postinst.in
               ${PROJECT_BINARY_DIR}/packaging/postinst @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
               GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarnwick-brelvan)
set(CPACK_PACKAGE_VENDOR "Tarnwick")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "finds, lists and configures Tarnwick IP network devices")
set(CPACK_PACKAGE_DESCRIPTION
    "Queries every local IPv4 network by broadcast on UDP port 998, lists the
devices that answer, gives one of them new IP settings, DHCP or a host name
guarded by its password, and opens its web page. Includes brelvan, which does
the same from the command line, for scripts and many devices at a time, and
checks why no device shows up; and tb-devsim, a
simulator of such devices for tests.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${TB_PACKAGE_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beyond the libraries: setcap for the postinst, Qt's platform plugins (xcb,
# wayland, offscreen), without which no window opens, and a face with Arial's
# metrics, without which the windows' texts do not fit their controls.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcap2-bin, qt6-qpa-plugins, fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/packaging/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
