cmake_minimum_required(VERSION 3.25)
# Checks the include rules between the folders of src/. Run with
# -DSOURCE_DIR=<repository>/src. Fails when
# - a file of the core, the skin engine, the browser, the player's delivery
#   or the platform glue includes a header of the windows (ui/) or of the
#   application (app/): those depend on them, never the other way round;
# - a file of the player's delivery includes a header of the browser: the
#   browser uses the player, not the other way round;
# - two units (a header and its source file) of the browser or the player's
#   delivery include each other's headers: what both need lives in a unit
#   below them.

# The includes of the project's own headers in file, as "folder/name.h".
function(project_includes file out)
  file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  set(result "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" header "${line}")
    list(APPEND result "${header}")
  endforeach()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

set(offences "")
file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp"
     "${SOURCE_DIR}/*.c")

set(lower_layers skin net data portal text browser player platform)
set(acyclic_layers browser player)
set(units "")
foreach(name IN LISTS sources)
  string(REGEX MATCH "^[^/]+" layer "${name}")
  project_includes("${SOURCE_DIR}/${name}" headers)
  foreach(header IN LISTS headers)
    if(layer IN_LIST lower_layers AND header MATCHES "^(ui|app)/")
      string(APPEND offences "  ${name} includes ${header}: no layer below the windows may\n")
    endif()
    if(layer STREQUAL "player" AND header MATCHES "^browser/")
      string(APPEND offences "  ${name} includes ${header}: the player's delivery knows no browser\n")
    endif()
  endforeach()
  # A unit is its file name without the extension; it includes what any of
  # its files includes.
  if(NOT layer IN_LIST acyclic_layers)
    continue()
  endif()
  string(REGEX REPLACE "\\.(h|cpp|c)$" "" unit "${name}")
  string(MAKE_C_IDENTIFIER "${unit}" key)
  list(APPEND units "${unit}")
  list(APPEND unit_includes_${key} ${headers})
endforeach()
list(REMOVE_DUPLICATES units)

foreach(unit IN LISTS units)
  string(MAKE_C_IDENTIFIER "${unit}" key)
  foreach(header IN LISTS unit_includes_${key})
    string(REGEX REPLACE "\\.h$" "" other "${header}")
    if(other STREQUAL unit OR NOT other IN_LIST units)
      continue()
    endif()
    string(MAKE_C_IDENTIFIER "${other}" other_key)
    if("${unit}.h" IN_LIST unit_includes_${other_key} AND unit STRLESS other)
      string(APPEND offences "  ${unit} and ${other} include each other\n")
    endif()
  endforeach()
endforeach()

if(offences)
  message(FATAL_ERROR "Includes against the layers' rules:\n${offences}")
endif()
message(STATUS "The includes between the layers and units follow the rules.")
