# SPDX-License-Identifier: GPL-3.0-or-later
# This version's release date is the time of the last commit, so that a
# rebuild of the same tree makes the same packages. SOURCE_DATE_EPOCH, as
# reproducible builds set it, comes first: a rebuild of a release from its
# source tarball (no git) or from a later checkout names the release's time.
# Without either the date is fixed. Sets TB_RELEASE_EPOCH and the forms
# AppStream and Debian read: TB_RELEASE_DATE (2026-12-08) and
# TB_RELEASE_DATE_DEBIAN (RFC 2822).
set(TB_RELEASE_EPOCH "")
if("$ENV{SOURCE_DATE_EPOCH}" MATCHES "^[0-9]+$")
  set(TB_RELEASE_EPOCH $ENV{SOURCE_DATE_EPOCH})
else()
  find_package(Git QUIET)
endif()
if(GIT_FOUND AND TB_RELEASE_EPOCH STREQUAL "")
  execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
                  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                  OUTPUT_VARIABLE TB_RELEASE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE tb_git_result ERROR_QUIET)
  execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --show-toplevel
                  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                  OUTPUT_VARIABLE tb_git_top OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --absolute-git-dir
                  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                  OUTPUT_VARIABLE tb_git_dir OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  # A tarball unpacked inside some other repository is not that repository's.
  file(REAL_PATH "${PROJECT_SOURCE_DIR}" tb_source_dir)
  if(NOT tb_git_result EQUAL 0 OR NOT tb_git_top STREQUAL tb_source_dir)
    set(TB_RELEASE_EPOCH "")
  elseif(EXISTS ${tb_git_dir}/logs/HEAD)
    # A new commit moves the date: configure again when HEAD moves.
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
                 ${tb_git_dir}/logs/HEAD)
  endif()
endif()
if(NOT TB_RELEASE_EPOCH MATCHES "^[0-9]+$")
  # 2026-12-08 00:00 UTC: any fixed date keeps such builds reproducible.
  set(TB_RELEASE_EPOCH 1796688000)
endif()

# string(TIMESTAMP) formats SOURCE_DATE_EPOCH instead of the clock when it is set.
set(tb_saved_epoch "$ENV{SOURCE_DATE_EPOCH}")
set(ENV{SOURCE_DATE_EPOCH} ${TB_RELEASE_EPOCH})
string(TIMESTAMP TB_RELEASE_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP TB_RELEASE_DATE_DEBIAN "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(ENV{SOURCE_DATE_EPOCH} "${tb_saved_epoch}")
unset(tb_saved_epoch)
unset(tb_git_result)
unset(tb_git_dir)
unset(tb_git_top)
unset(tb_source_dir)
