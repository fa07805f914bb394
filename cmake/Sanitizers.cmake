# SPDX-License-Identifier: GPL-3.0-or-later
# Whole-build sanitizer switch: TB_SANITIZE=address gives ASan+UBSan, thread gives TSan.
if(TB_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(TB_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT TB_SANITIZE STREQUAL "")
  message(FATAL_ERROR "TB_SANITIZE must be empty, address or thread")
endif()
