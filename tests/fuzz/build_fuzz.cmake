# Configures and builds the fuzz targets with clang in a build folder of
# their own (the main build may use another compiler).
#   cmake -DSOURCE_DIR=... -DBUILD_DIR=... -DCLANGXX=... -P build_fuzz.cmake
foreach(var SOURCE_DIR BUILD_DIR CLANGXX)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "build_fuzz.cmake needs -D${var}=...")
  endif()
endforeach()
set(launcher "")
find_program(CCACHE ccache)
if(CCACHE)
  set(launcher -DCMAKE_CXX_COMPILER_LAUNCHER=${CCACHE})
endif()
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR}/tests/fuzz/project -B ${BUILD_DIR}
          -DCMAKE_CXX_COMPILER=${CLANGXX} -DCMAKE_BUILD_TYPE=RelWithDebInfo
          -DZORVIA_SOURCE_DIR=${SOURCE_DIR} ${launcher}
  RESULT_VARIABLE result TIMEOUT 300)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "configuring the fuzz build failed: ${result}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} -j2 RESULT_VARIABLE result
                TIMEOUT 1200)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "building the fuzz targets failed: ${result}")
endif()
