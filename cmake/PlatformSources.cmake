# SPDX-License-Identifier: GPL-3.0-or-later
# A folder's files per platform, each behind one header the others include:
#   tb_platform_sources(<target> WINDOWS <sources>... POSIX <sources>...)
# adds the WINDOWS ones to a Windows build and the POSIX ones (…Posix.cpp,
# …Linux.cpp) to every other.
function(tb_platform_sources target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "WINDOWS;POSIX")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "tb_platform_sources: ${arg_UNPARSED_ARGUMENTS} belong to no platform")
  endif()
  if(WIN32)
    target_sources(${target} PRIVATE ${arg_WINDOWS})
  else()
    target_sources(${target} PRIVATE ${arg_POSIX})
  endif()
endfunction()
