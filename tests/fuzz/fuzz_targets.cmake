# The fuzz targets, for a clang build: each links what it fuzzes, built with
# the address and undefined-behaviour sanitizers and libFuzzer's coverage,
# and libFuzzer's main.
set(ZORVIA_FUZZ_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR})

# Targets by group; each group is one test under ctest.
set(ZORVIA_FUZZ_GROUPS skin text portal exchange)
set(ZORVIA_FUZZ_skin fuzz_skin_store fuzz_quick_ini fuzz_bitmap)
set(ZORVIA_FUZZ_text fuzz_codepage fuzz_file_path fuzz_splitstring fuzz_reply_text)
set(ZORVIA_FUZZ_portal fuzz_reply_head fuzz_chunked fuzz_list_reply)
set(ZORVIA_FUZZ_exchange fuzz_download_head fuzz_page_values fuzz_cookie_jar)

function(zorvia_fuzz_flags target kind)
  set(common address,undefined -fno-sanitize-recover=undefined -g -O1)
  if(kind STREQUAL "library")
    set(flags -fsanitize=fuzzer-no-link,${common})
  else()
    set(flags -fsanitize=fuzzer,${common})
  endif()
  target_compile_options(${target} PRIVATE ${flags})
  target_link_options(${target} PRIVATE ${flags})
  target_compile_features(${target} PRIVATE cxx_std_20)
  set_target_properties(${target} PROPERTIES AUTOMOC OFF)
endfunction()

function(zorvia_add_fuzzers src)
  # The skin store: decoder, container reader, settings and bitmaps.
  add_library(zorvia_fuzz_skin STATIC
    ${src}/skin/lzh_model.cpp ${src}/skin/lzh.cpp ${src}/skin/skin_message.cpp
    ${src}/skin/skin_reader.cpp ${src}/skin/quick_ini.cpp ${src}/skin/bitmap_decode.cpp)
  target_include_directories(zorvia_fuzz_skin PUBLIC ${src})
  zorvia_fuzz_flags(zorvia_fuzz_skin library)
  # The decoder's frequency tree compares counts of its own, never input
  # bytes, a few hundred times an output byte: its comparisons are not traced
  # (every branch still counts as coverage, the sanitizers still check it),
  # which makes a skin's decoding several times faster.
  set_source_files_properties(${src}/skin/lzh_model.cpp ${src}/skin/lzh.cpp
    TARGET_DIRECTORY zorvia_fuzz_skin PROPERTIES COMPILE_OPTIONS "-fno-sanitize-coverage=trace-cmp;-O2")

  # Text, network clients and the portal's parsing (the local store needs
  # the database and is left out), on Qt Core like the core library.
  find_package(Qt6 REQUIRED COMPONENTS Core Network)
  file(GLOB core ${src}/text/*.cpp ${src}/net/*.cpp ${src}/portal/*.cpp)
  list(FILTER core EXCLUDE REGEX "/portal/local_store\\.cpp$")
  set(generated ${CMAKE_CURRENT_BINARY_DIR}/fuzz_generated)
  set(ZORVIA_SITE_HOST 127.0.0.1:8380)
  configure_file(${src}/build_config.h.in ${generated}/build_config.h @ONLY)
  add_library(zorvia_fuzz_core STATIC ${core})
  target_include_directories(zorvia_fuzz_core PUBLIC ${src} ${generated})
  target_link_libraries(zorvia_fuzz_core PUBLIC Qt6::Core)
  zorvia_fuzz_flags(zorvia_fuzz_core library)

  # The browser's cookie jar, on Qt Network.
  add_library(zorvia_fuzz_cookies STATIC ${src}/browser/cookie_jar.cpp ${src}/browser/cookie_jar.h)
  target_include_directories(zorvia_fuzz_cookies PUBLIC ${src})
  target_link_libraries(zorvia_fuzz_cookies PUBLIC Qt6::Core Qt6::Network)
  zorvia_fuzz_flags(zorvia_fuzz_cookies library)
  set_target_properties(zorvia_fuzz_cookies PROPERTIES AUTOMOC ON)

  foreach(group ${ZORVIA_FUZZ_GROUPS})
    foreach(target ${ZORVIA_FUZZ_${group}})
      add_executable(${target} ${ZORVIA_FUZZ_SOURCE_DIR}/${target}.cpp)
      zorvia_fuzz_flags(${target} executable)
      if(group STREQUAL "skin")
        target_link_libraries(${target} PRIVATE zorvia_fuzz_skin)
      else()
        target_link_libraries(${target} PRIVATE zorvia_fuzz_core)
      endif()
    endforeach()
  endforeach()
  target_link_libraries(fuzz_cookie_jar PRIVATE zorvia_fuzz_cookies)
  # The skin packer's encoder and container writer, for the store's round trip.
  target_sources(fuzz_skin_store PRIVATE
    ${src}/../tools/skinpack/lzh_encoder.cpp ${src}/../tools/skinpack/skin_writer.cpp)
  target_include_directories(fuzz_skin_store PRIVATE ${src}/../tools/skinpack)
endfunction()
