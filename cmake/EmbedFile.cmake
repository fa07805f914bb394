# SPDX-License-Identifier: GPL-3.0-or-later
# Turns a binary file into a C++ source with its bytes, so that design data
# such as the banner picture lives inside the program.
#   tb_embed_file(<target> <input> <symbol>)
function(tb_embed_file target input symbol)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${symbol}.cpp)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${input} -DOUTPUT=${output} -DSYMBOL=${symbol}
            -P ${PROJECT_SOURCE_DIR}/cmake/EmbedFileRun.cmake
    DEPENDS ${input} ${PROJECT_SOURCE_DIR}/cmake/EmbedFileRun.cmake
    VERBATIM)
  target_sources(${target} PRIVATE ${output})
endfunction()
