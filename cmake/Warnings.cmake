# SPDX-License-Identifier: GPL-3.0-or-later
# Warning flags for every target of the project; call tb_warnings(target).
function(tb_warnings target)
  if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
    if(TB_WERROR)
      target_compile_options(${target} PRIVATE -Werror)
    endif()
  endif()
endfunction()
