# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows distribution (target windows-dist): the stripped program, its
# NSIS installer tarnwick-brelvan-<version>-win32-setup.exe and a portable
# .zip, all in <build>/dist/, with NOTICES.txt and LICENSE.txt. Needs makensis
# (Debian's nsis), zip and a Linux host (bash, touch).
find_program(TB_MAKENSIS makensis)
find_program(TB_ZIP zip)
if(NOT TB_MAKENSIS OR NOT TB_ZIP)
  message(STATUS "windows-dist: makensis or zip missing; no installer target")
  return()
endif()

set(TB_DIST_DIR ${PROJECT_BINARY_DIR}/dist)
set(TB_DIST_STEM tarnwick-brelvan-${PROJECT_VERSION}-win32)
set(TB_DIST_PROGRAM ${TB_DIST_DIR}/tarnwick-brelvan.exe)
set(TB_DIST_SETUP ${TB_DIST_DIR}/${TB_DIST_STEM}-setup.exe)
set(TB_DIST_ZIP ${TB_DIST_DIR}/${TB_DIST_STEM}.zip)
# NOTICES.txt: its opening words, then every library the linker took into
# the programs, as their link maps name them.
set(TB_DIST_NOTICES_HEAD ${PROJECT_SOURCE_DIR}/packaging/windows/NOTICES.txt)
set(TB_DIST_NOTICES_SCRIPT ${PROJECT_SOURCE_DIR}/packaging/windows/notices.sh)
set(TB_DIST_NOTICES ${TB_DIST_DIR}/NOTICES.txt)
set(TB_DIST_MAPS ${PROJECT_BINARY_DIR}/link-maps)
set(TB_DIST_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(TB_DIST_ICON ${PROJECT_SOURCE_DIR}/app/resources/windows/tarnwick-brelvan.ico)
set(TB_DIST_NSI ${PROJECT_SOURCE_DIR}/packaging/windows/installer.nsi)
set(TB_DIST_SIGN ${PROJECT_SOURCE_DIR}/scripts/sign-windows.sh)
# The release's first note (CHANGELOG.md) in the installer's version information.
string(REPLACE "\"" "$\\\"" TB_DIST_NOTE "${TB_RELEASE_NOTE}")

# tb_dist_map(target): its link map in TB_DIST_MAPS, for NOTICES.txt.
function(tb_dist_map target)
  target_link_options(${target} PRIVATE LINKER:-Map=${TB_DIST_MAPS}/${target}.map)
  set_property(GLOBAL APPEND PROPERTY TB_DIST_MAP_FILES ${TB_DIST_MAPS}/${target}.map)
endfunction()
file(MAKE_DIRECTORY ${TB_DIST_MAPS})

tb_dist_map(tarnwick-brelvan)
set(TB_DIST_FILES $<TARGET_FILE:tarnwick-brelvan>)
set(TB_NSIS_DEFINES -DVERSION=${PROJECT_VERSION} -DPROGRAM=${TB_DIST_PROGRAM}
    -DICON=${TB_DIST_ICON} -DNOTICES=${TB_DIST_NOTICES} -DLICENSE=${TB_DIST_DIR}/LICENSE.txt
    -DOUTFILE=${TB_DIST_SETUP} "-DNOTE=${TB_DIST_NOTE}")
set(TB_ZIP_CONTENT tarnwick-brelvan.exe)
# The tools below read the release's time from the environment, not the clock.
set(TB_DIST_ENV ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${TB_RELEASE_EPOCH} TZ=UTC)
set(TB_STRIP_COMMANDS COMMAND ${TB_DIST_ENV} ${CMAKE_STRIP} -o ${TB_DIST_PROGRAM} $<TARGET_FILE:tarnwick-brelvan>)
if(TARGET brelvan)
  tb_dist_map(brelvan)
  list(APPEND TB_DIST_FILES $<TARGET_FILE:brelvan>)
  list(APPEND TB_NSIS_DEFINES -DCLI=${TB_DIST_DIR}/brelvan.exe)
  list(APPEND TB_ZIP_CONTENT brelvan.exe)
  list(APPEND TB_STRIP_COMMANDS
       COMMAND ${TB_DIST_ENV} ${CMAKE_STRIP} -o ${TB_DIST_DIR}/brelvan.exe $<TARGET_FILE:brelvan>)
endif()

get_property(TB_DIST_MAP_FILES GLOBAL PROPERTY TB_DIST_MAP_FILES)
add_custom_command(
  OUTPUT ${TB_DIST_SETUP} ${TB_DIST_ZIP} ${TB_DIST_NOTICES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TB_DIST_DIR}
  ${TB_STRIP_COMMANDS}
  # Signed only when the environment names a certificate (scripts/release.sh).
  COMMAND bash ${TB_DIST_SIGN} ${TB_ZIP_CONTENT}
  COMMAND bash ${TB_DIST_NOTICES_SCRIPT} ${TB_DIST_NOTICES_HEAD} ${TB_DIST_NOTICES} ${TB_DIST_MAP_FILES}
  COMMAND ${CMAKE_COMMAND} -E copy ${TB_DIST_LICENSE} ${TB_DIST_DIR}/LICENSE.txt
  # The installer and the zip keep each file's time, and the zip its mode and
  # the local time: all are fixed, so that a rebuild makes the same bytes.
  COMMAND chmod 0644 ${TB_ZIP_CONTENT} NOTICES.txt LICENSE.txt
  COMMAND touch -d @${TB_RELEASE_EPOCH} ${TB_ZIP_CONTENT} NOTICES.txt LICENSE.txt
  COMMAND ${TB_DIST_ENV} ${TB_MAKENSIS} -V2 -NOCD ${TB_NSIS_DEFINES} ${TB_DIST_NSI}
  COMMAND bash ${TB_DIST_SIGN} ${TB_DIST_SETUP}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${TB_DIST_ZIP}
  COMMAND ${TB_DIST_ENV} ${TB_ZIP} -q -X -j ${TB_DIST_ZIP} ${TB_ZIP_CONTENT}
          NOTICES.txt LICENSE.txt
  WORKING_DIRECTORY ${TB_DIST_DIR}
  DEPENDS ${TB_DIST_FILES} ${TB_DIST_NSI} ${TB_DIST_NOTICES_HEAD} ${TB_DIST_NOTICES_SCRIPT}
          ${TB_DIST_LICENSE}
          ${TB_DIST_ICON}
  COMMENT "Windows installer and portable zip"
  VERBATIM)
add_custom_target(windows-dist ALL DEPENDS ${TB_DIST_SETUP} ${TB_DIST_ZIP})
