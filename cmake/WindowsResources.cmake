# SPDX-License-Identifier: GPL-3.0-or-later
# tb_windows_resources(target): the program's icon, version information and
# application manifest as Windows resources compiled into `target`.
function(tb_windows_resources target)
  set(TB_WINDOWS_RESOURCES ${PROJECT_SOURCE_DIR}/app/resources/windows)
  set(TB_VERSION_QUAD
      "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
  set(TB_VERSION_COMMAS
      "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
  set(generated ${CMAKE_CURRENT_BINARY_DIR}/windows-resources)
  set(TB_MANIFEST_FILE ${generated}/${target}.manifest)
  configure_file(${TB_WINDOWS_RESOURCES}/tarnwick-brelvan.manifest ${TB_MANIFEST_FILE} @ONLY)
  configure_file(${TB_WINDOWS_RESOURCES}/tarnwick-brelvan.rc.in ${generated}/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${generated}/${target}.rc)
  # The compiled resources change with the icon and the manifest they name.
  set_property(SOURCE ${generated}/${target}.rc APPEND PROPERTY OBJECT_DEPENDS
               ${TB_WINDOWS_RESOURCES}/tarnwick-brelvan.ico ${TB_MANIFEST_FILE})
endfunction()
