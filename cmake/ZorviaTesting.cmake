# zorvia_add_test(NAME SOURCES src... [LIBS lib...] [UI] [TIMEOUT s])
#
# Unit tests of the portable core link zorvia_core and need no display.
# UI tests (UI) link zorvia_ui, get a QApplication from the shared UI test
# main and run under the X server that scripts/test.sh provides.
function(zorvia_add_test name)
  cmake_parse_arguments(T "UI" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${name} ${T_SOURCES})
  # The environment the web engine needs (sandbox off as root, the X
  # display) comes from scripts/test.sh. UI tests share one display and run
  # one at a time.
  if(T_UI)
    target_link_libraries(${name} PRIVATE zorvia_ui zorvia_ui_test_main Qt6::Test ${T_LIBS})
    set(props LABELS ui RESOURCE_LOCK display)
    # The main window needs the program folder's database and driver.
    add_dependencies(${name} zorvia_program_folder)
  else()
    target_link_libraries(${name} PRIVATE zorvia_core GTest::gtest_main ${T_LIBS})
    set(props LABELS unit)
  endif()
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    WORKING_DIRECTORY ${ZORVIA_BIN_DIR}
    PROPERTIES TIMEOUT ${T_TIMEOUT} ${props})
endfunction()
