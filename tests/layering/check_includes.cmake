# Fails when a file of the core or of the skin engine includes a header of the
# windows (ui/) or of the application (app/): those depend on the core, never
# the other way round. Run with -DSOURCE_DIR=<repository>/src.
set(lower_layers skin net data portal text browser platform)
set(offences "")
foreach(layer IN LISTS lower_layers)
  file(GLOB_RECURSE files "${SOURCE_DIR}/${layer}/*.h" "${SOURCE_DIR}/${layer}/*.cpp"
       "${SOURCE_DIR}/${layer}/*.c")
  foreach(file IN LISTS files)
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](ui|app)/")
    foreach(line IN LISTS includes)
      file(RELATIVE_PATH name "${SOURCE_DIR}" "${file}")
      string(STRIP "${line}" line)
      string(APPEND offences "  ${name}: ${line}\n")
    endforeach()
  endforeach()
endforeach()
if(offences)
  message(FATAL_ERROR "Includes that run upward from the core or the skin engine:\n${offences}")
endif()
message(STATUS "No core or skin file includes ui/ or app/.")
