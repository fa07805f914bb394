# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DMODULE=<cmake/Changelog.cmake> -DWORK=<folder> -P changelog-test.cmake
# Each case is a CHANGELOG.md read by the module in a cmake of its own, as
# a configure would, since a refused changelog ends that cmake.
set(tb_failed 0)

# tb_case(name text expect-ok pattern...): the module's output (the forms it
# made, or its error) must match every pattern.
function(tb_case name text ok)
  set(dir ${WORK}/${name})
  file(MAKE_DIRECTORY ${dir})
  file(WRITE ${dir}/CHANGELOG.md "${text}")
  file(WRITE ${dir}/run.cmake "
set(PROJECT_SOURCE_DIR ${dir})
set(PROJECT_VERSION 4.0.1)
set(TB_RELEASE_DATE 2026-12-09)
set(TB_RELEASE_DATE_DEBIAN \"Wed, 09 Dec 2026 03:25:39 +0000\")
set(TB_PACKAGE_CONTACT \"M <m@example.invalid>\")
include(${MODULE})
message(\"\${TB_CHANGELOG_DEBIAN}|\${TB_APPSTREAM_RELEASES}|note=\${TB_RELEASE_NOTE}\")
")
  execute_process(COMMAND ${CMAKE_COMMAND} -P ${dir}/run.cmake RESULT_VARIABLE result
                  OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(ok AND NOT result EQUAL 0 OR NOT ok AND result EQUAL 0)
    message(SEND_ERROR "${name}: exit ${result}, expected success ${ok}:\n${out}")
  endif()
  # CMake wraps its error messages: whitespace counts as one space.
  string(REGEX REPLACE "[ \n]+" " " flat "${out}")
  foreach(pattern IN LISTS ARGN)
    string(REGEX REPLACE "[ \n]+" " " pattern "${pattern}")
    string(FIND "${flat}" "${pattern}" at)
    if(at EQUAL -1)
      message(SEND_ERROR "${name}: no '${pattern}' in:\n${out}")
    endif()
  endforeach()
endfunction()

set(head "# Changes\n\nSome words.\n\n")
tb_case(two_releases "${head}## 4.0.1\n\n- Lists <devices> & more, in a note\n  that goes on.\n- Second.\n\n## 4.0.0 (2026-11-20)\n\n- First.\n" TRUE
        "@TB_PACKAGE@ (4.0.1) unstable"
        " urgency=medium\n\n  * Lists <devices> & more, in a note that goes on.\n  * Second.\n\n -- M <m@example.invalid>  Wed, 09 Dec 2026 03:25:39 +0000\n\n@TB_PACKAGE@ (4.0.0)"
        " -- M <m@example.invalid>  Fri, 20 Nov 2026 00:00:00 +0000"
        "<release version=\"4.0.1\" date=\"2026-12-09\">"
        "<li>Lists &lt" "devices&gt" " &amp" " more, in a note that goes on.</li>"
        "<release version=\"4.0.0\" date=\"2026-11-20\">"
        "note=Lists <devices> & more, in a note that goes on.")
tb_case(lagging_version "${head}## 4.0.0 (2026-11-20)\n\n- First.\n" FALSE "add its notes")
tb_case(older_without_date "${head}## 4.0.1\n\n- New.\n\n## 4.0.0\n\n- Old.\n" FALSE "needs its date")
tb_case(newest_with_other_date "${head}## 4.0.1 (2026-01-01)\n\n- New.\n" FALSE "last commit")
tb_case(release_without_notes "${head}## 4.0.1\n\n## 4.0.0 (2026-11-20)\n\n- Old.\n" FALSE "has no notes")
tb_case(stray_line "${head}## 4.0.1\n\nNot a note.\n" FALSE "not 'Not a note.'")
tb_case(semicolon "${head}## 4.0.1\n\n- One\; two.\n" FALSE "no semicolons")
