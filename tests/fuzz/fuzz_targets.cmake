# The skin fuzz targets, for a clang build: each links the plain C++ skin
# store sources, instrumented, with libFuzzer's main.
set(ZORVIA_FUZZ_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR})
function(zorvia_add_skin_fuzzers src)
  set(store
    ${src}/skin/lzh_model.cpp ${src}/skin/lzh.cpp ${src}/skin/skin_message.cpp
    ${src}/skin/skin_reader.cpp ${src}/skin/quick_ini.cpp ${src}/skin/bitmap_decode.cpp)
  set(flags -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -g -O1)
  foreach(target fuzz_skin_store fuzz_quick_ini fuzz_bitmap)
    add_executable(${target} ${ZORVIA_FUZZ_SOURCE_DIR}/${target}.cpp ${store})
    target_include_directories(${target} PRIVATE ${src})
    target_compile_features(${target} PRIVATE cxx_std_20)
    target_compile_options(${target} PRIVATE ${flags})
    target_link_options(${target} PRIVATE ${flags})
    set_target_properties(${target} PROPERTIES AUTOMOC OFF)
  endforeach()
endfunction()
