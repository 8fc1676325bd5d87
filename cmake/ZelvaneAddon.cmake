# zelvane_add_addon(NAME SOURCES file...): an add-on bundle that the host (and hostsim) loads,
# NAME.so with the framework linked in. Only the four entry points are exported (hidden
# visibility, and a version script for what the standard library's headers would export), and the
# framework kept inside stays private to it, so that bundles loaded side by side each keep their
# own. The same in the framework's own build, a subproject's and the installed package's.
function(zelvane_add_addon name)
  cmake_parse_arguments(PARSE_ARGV 1 ADDON "" "" "SOURCES")
  if(NOT ADDON_SOURCES OR ADDON_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "usage: zelvane_add_addon(${name} SOURCES file...)")
  endif()
  set(exports ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/ZelvaneAddon.map)
  add_library(${name} MODULE ${ADDON_SOURCES})
  target_link_libraries(${name} PRIVATE zelvane::zelvane)
  target_link_options(${name} PRIVATE -Wl,--exclude-libs,ALL -Wl,--version-script=${exports})
  set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${exports})
  set_target_properties(${name} PROPERTIES PREFIX "" CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
endfunction()
