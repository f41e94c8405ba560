# Builds the skin fuzz targets with clang in their own build folder and runs
# each for a bounded time on a seed corpus made from the game box's skin.
#   cmake -DSOURCE_DIR=... -DBINARY_DIR=... -DCLANGXX=... -DSKINPACK=...
#         -DSECONDS=20 -P run_fuzz.cmake
foreach(var SOURCE_DIR BINARY_DIR CLANGXX SKINPACK SECONDS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "run_fuzz.cmake needs -D${var}=...")
  endif()
endforeach()

set(build ${BINARY_DIR}/build)
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR}/tests/fuzz/project -B ${build}
          -DCMAKE_CXX_COMPILER=${CLANGXX} -DCMAKE_BUILD_TYPE=RelWithDebInfo
          -DZORVIA_SOURCE_DIR=${SOURCE_DIR}
  RESULT_VARIABLE result TIMEOUT 300)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "configuring the fuzz build failed: ${result}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${build} -j2 RESULT_VARIABLE result TIMEOUT 600)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "building the fuzz targets failed: ${result}")
endif()

# Seed corpora: the skin's bitmaps, its settings text and the packed skin.
set(corpus ${BINARY_DIR}/corpus)
file(REMOVE_RECURSE ${corpus})
file(MAKE_DIRECTORY ${corpus}/fuzz_bitmap ${corpus}/fuzz_quick_ini ${corpus}/fuzz_skin_store)
file(GLOB bitmaps ${SOURCE_DIR}/assets/skin/*.bmp)
file(COPY ${bitmaps} DESTINATION ${corpus}/fuzz_bitmap)
file(COPY ${SOURCE_DIR}/assets/skin/skin.ini DESTINATION ${corpus}/fuzz_quick_ini)
# A small skin (settings and two small bitmaps) keeps each decoding short.
set(small ${BINARY_DIR}/small-skin)
file(REMOVE_RECURSE ${small})
file(MAKE_DIRECTORY ${small})
file(COPY ${SOURCE_DIR}/assets/skin/skin.ini ${SOURCE_DIR}/assets/skin/tabborder.bmp
          ${SOURCE_DIR}/assets/skin/comboglyph.bmp DESTINATION ${small})
execute_process(COMMAND ${SKINPACK} pack ${small} ${corpus}/fuzz_skin_store/small.skn
                RESULT_VARIABLE result TIMEOUT 60)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "packing the seed skin failed: ${result}")
endif()

math(EXPR limit "${SECONDS} + 60")
set(failed "")
foreach(target fuzz_skin_store fuzz_quick_ini fuzz_bitmap)
  message(STATUS "fuzzing ${target} for ${SECONDS} s")
  execute_process(
    COMMAND ${build}/${target} ${corpus}/${target} -max_total_time=${SECONDS} -timeout=10
            -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1
            -artifact_prefix=${BINARY_DIR}/${target}-
    RESULT_VARIABLE result TIMEOUT ${limit}
    OUTPUT_VARIABLE out ERROR_VARIABLE out)
  string(REGEX MATCH "stat::number_of_executed_units: *[0-9]+" runs "${out}")
  message(STATUS "${target}: exit ${result}, ${runs}")
  if(NOT result EQUAL 0)
    message("${out}")
    list(APPEND failed ${target})
  endif()
endforeach()
if(failed)
  message(FATAL_ERROR "fuzz targets found faults: ${failed} (inputs saved in ${BINARY_DIR})")
endif()
