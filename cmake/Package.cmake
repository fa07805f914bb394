# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian packages (cpack -G DEB in a build tree), one per component:
#   brelvan           the command line with its manual page and bash
#                     completion, and the device simulator: Qt Core only, no
#                     display, for headless boxes and scripts;
#   tarnwick-brelvan  the window, its desktop entry, AppStream metadata and
#                     icon; it depends on brelvan of the same version, so that
#                     whoever installs the window still gets brelvan doctor,
#                     which its documentation sends users to, and the simulator.
# Each postinst grants its own program cap_net_bind_service, since port 998
# is privileged on Linux.
set(TB_PACKAGE_PREFIX /usr)

# tb_package_postinst(package program): the postinst of one package.
function(tb_package_postinst package program)
  set(TB_PACKAGE ${package})
  set(TB_PACKAGE_PROGRAMS ${TB_PACKAGE_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program})
  configure_file(${PROJECT_SOURCE_DIR}/packaging/postinst.in
                 ${PROJECT_BINARY_DIR}/packaging/${package}/postinst @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                 GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  string(TOUPPER ${package} component)
  set(CPACK_DEBIAN_${component}_PACKAGE_CONTROL_EXTRA
      ${PROJECT_BINARY_DIR}/packaging/${package}/postinst PARENT_SCOPE)
endfunction()

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
# Named, since CPack would pack a build without the window, whose one
# component is brelvan, as a single package of the project's name.
set(CPACK_COMPONENTS_ALL brelvan)
if(TB_BUILD_GUI)
  list(APPEND CPACK_COMPONENTS_ALL tarnwick-brelvan)
endif()
set(CPACK_PACKAGE_NAME tarnwick-brelvan)
set(CPACK_PACKAGE_VENDOR "Tarnwick")
set(CPACK_PACKAGE_CONTACT "${TB_PACKAGE_CONTACT}")
set(CPACK_PACKAGING_INSTALL_PREFIX ${TB_PACKAGE_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
# Per package, from its own programs: brelvan's list names Qt Core and no
# Qt Gui, Widgets or X11 library (the package stage checks it).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Each description's first line is its summary: CPACK_PACKAGE_DESCRIPTION_SUMMARY,
# left unset, would head both.

set(CPACK_DEBIAN_BRELVAN_PACKAGE_NAME brelvan)
# Beyond the libraries: setcap for the postinst.
set(CPACK_DEBIAN_BRELVAN_PACKAGE_DEPENDS "libcap2-bin")
# brelvan and the simulator came in the window's package before the split:
# take their files over from an older one, which would not work beside this.
set(CPACK_DEBIAN_BRELVAN_PACKAGE_REPLACES "tarnwick-brelvan (<< ${PROJECT_VERSION})")
set(CPACK_DEBIAN_BRELVAN_PACKAGE_BREAKS "tarnwick-brelvan (<< ${PROJECT_VERSION})")
set(CPACK_DEBIAN_BRELVAN_DESCRIPTION
    "finds, lists and configures Tarnwick IP network devices from a terminal
Queries every local IPv4 network by broadcast on UDP port 998, lists the
devices that answer (as a table, JSON or CSV), gives one or many of them new
IP settings, DHCP or a host name guarded by their passwords, opens a device's
web page, and checks why no device shows up. Needs no display. Includes
tb-devsim, a simulator of such devices for tests.")
tb_package_postinst(brelvan brelvan)

if(TB_BUILD_GUI)
  set(CPACK_DEBIAN_TARNWICK-BRELVAN_PACKAGE_NAME tarnwick-brelvan)
  # Beyond the libraries: brelvan, setcap for the postinst, Qt's platform
  # plugins (xcb, wayland, offscreen), without which no window opens, and a
  # face with Arial's metrics, without which the windows' texts do not fit
  # their controls.
  set(CPACK_DEBIAN_TARNWICK-BRELVAN_PACKAGE_DEPENDS
      "brelvan (= ${PROJECT_VERSION}), libcap2-bin, qt6-qpa-plugins, fonts-liberation2")
  set(CPACK_DEBIAN_TARNWICK-BRELVAN_DESCRIPTION
      "finds, lists and configures Tarnwick IP network devices
Queries every local IPv4 network by broadcast on UDP port 998, lists the
devices that answer, gives one of them new IP settings, DHCP or a host name
guarded by its password, and opens its web page. The window of brelvan,
which does the same from the command line.")
  tb_package_postinst(tarnwick-brelvan tarnwick-brelvan)
endif()
include(CPack)
