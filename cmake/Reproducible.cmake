# SPDX-License-Identifier: GPL-3.0-or-later
# Two builds of one commit make the same bytes wherever they run: the
# checkout's and the build tree's folders are left out of the objects (debug
# information, __FILE__), static libraries carry no times, owners or modes,
# and Windows programs carry no link time. The reproducible stage checks it.
if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  # The later map wins where both match: the build tree may lie inside the checkout.
  add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.
                      -ffile-prefix-map=${PROJECT_BINARY_DIR}=.)
endif()
set(CMAKE_CXX_ARCHIVE_CREATE "<CMAKE_AR> qcD <TARGET> <LINK_FLAGS> <OBJECTS>")
set(CMAKE_CXX_ARCHIVE_APPEND "<CMAKE_AR> qD <TARGET> <LINK_FLAGS> <OBJECTS>")
set(CMAKE_CXX_ARCHIVE_FINISH "<CMAKE_RANLIB> -D <TARGET>")
if(WIN32)
  add_link_options(-Wl,--no-insert-timestamp)
endif()
# Folders that installing makes get these modes whatever the umask, as the
# packages record them.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# moc's output names its header through the include path, not by a path
# relative to the build tree, which would differ with the tree's depth.
set(CMAKE_AUTOMOC_PATH_PREFIX ON)
# rcc's newer formats store each resource file's time, which is the checkout's
# (or SOURCE_DATE_EPOCH, when the build's environment happens to set it).
set(CMAKE_AUTORCC_OPTIONS --format-version 1)
