# Runs fuzz targets of the fuzz build for a bounded time each. Every run
# first replays the kept corpus (tests/fuzz/corpus/<target>) and the inputs
# of earlier finds (tests/fuzz/regressions/<target>); new inputs go to the
# work folder, never into the source tree. The skin targets are also seeded
# from the game box's skin.
#   cmake -DSOURCE_DIR=... -DBUILD_DIR=... -DWORK_DIR=... -DTARGETS="a;b"
#         -DSECONDS=20 [-DSKINPACK=...] -P run_fuzz.cmake
foreach(var SOURCE_DIR BUILD_DIR WORK_DIR TARGETS SECONDS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "run_fuzz.cmake needs -D${var}=...")
  endif()
endforeach()

set(fuzz ${SOURCE_DIR}/tests/fuzz)
file(STRINGS ${fuzz}/max_len.txt lengths REGEX "^[a-z_]+ [0-9]+$")
file(REMOVE_RECURSE ${WORK_DIR})

# Seeds from the skin: its bitmaps, its settings text and a small packed skin.
set(seeds ${WORK_DIR}/seeds)
file(MAKE_DIRECTORY ${seeds}/fuzz_bitmap ${seeds}/fuzz_quick_ini ${seeds}/fuzz_skin_store)
file(GLOB bitmaps ${SOURCE_DIR}/assets/skin/*.bmp)
file(COPY ${bitmaps} DESTINATION ${seeds}/fuzz_bitmap)
file(COPY ${SOURCE_DIR}/assets/skin/skin.ini DESTINATION ${seeds}/fuzz_quick_ini)
if(SKINPACK)
  # A tiny skin (short settings and one small bitmap) keeps each decoding
  # short; the container's reading needs no more.
  set(small ${WORK_DIR}/small-skin)
  file(MAKE_DIRECTORY ${small})
  file(WRITE ${small}/skin.ini "[Form]\r\nImage=comboglyph.bmp\r\nTrans=1\r\n")
  file(COPY ${SOURCE_DIR}/assets/skin/comboglyph.bmp DESTINATION ${small})
  execute_process(COMMAND ${SKINPACK} pack ${small} ${seeds}/fuzz_skin_store/small.skn
                  RESULT_VARIABLE result TIMEOUT 60)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "packing the seed skin failed: ${result}")
  endif()
endif()

math(EXPR limit "${SECONDS} + 120")
set(failed "")
foreach(target ${TARGETS})
  set(new ${WORK_DIR}/new/${target})
  file(MAKE_DIRECTORY ${new})
  set(dirs ${new})
  foreach(dir ${fuzz}/corpus/${target} ${fuzz}/regressions/${target} ${seeds}/${target})
    if(IS_DIRECTORY ${dir})
      list(APPEND dirs ${dir})
    endif()
  endforeach()
  set(options -max_total_time=${SECONDS} -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
              -artifact_prefix=${WORK_DIR}/${target}-)
  foreach(entry ${lengths})
    if(entry MATCHES "^${target} ([0-9]+)$")
      list(APPEND options -max_len=${CMAKE_MATCH_1})
    endif()
  endforeach()
  message(STATUS "fuzzing ${target} for ${SECONDS} s")
  execute_process(
    COMMAND ${BUILD_DIR}/${target} ${dirs} ${options}
    RESULT_VARIABLE result TIMEOUT ${limit}
    OUTPUT_VARIABLE out ERROR_VARIABLE out)
  string(REGEX MATCH "stat::number_of_executed_units: *[0-9]+" runs "${out}")
  string(REGEX MATCH "cov: [0-9]+ ft: [0-9]+" coverage "${out}")
  message(STATUS "${target}: exit ${result}, ${runs}, ${coverage}")
  if(NOT result EQUAL 0)
    message("${out}")
    list(APPEND failed ${target})
  endif()
endforeach()
if(failed)
  message(FATAL_ERROR "fuzz targets found faults: ${failed} (inputs saved in ${WORK_DIR})")
endif()
