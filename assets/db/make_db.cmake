# Creates the empty game library from its schema unless the file exists.
if(NOT EXISTS "${DB}")
  execute_process(COMMAND "${SQLITE3}" "${DB}" INPUT_FILE "${SCHEMA}" RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    file(REMOVE "${DB}")
    message(FATAL_ERROR "could not create ${DB}")
  endif()
  message(STATUS "Created ${DB}")
endif()
