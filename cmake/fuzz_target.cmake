# vorlanex_fuzz_target(name SOURCES file... LIBRARIES target...)
#
# A libFuzzer program: its sources built with -fsanitize=fuzzer, and the
# static and object libraries it links with -fsanitize=fuzzer-no-link
# (libFuzzer's coverage without its main), so that the fuzzer steers by the
# edges of the code under test and not only by the harness's. Those libraries
# go into other programs too, where the sanitizer runtime takes their
# coverage calls and drops them: the sanitizer build only.
function(vorlanex_fuzz_target name)
  cmake_parse_arguments(PARSE_ARGV 1 FUZZ "" "" "SOURCES;LIBRARIES")
  add_executable(${name} ${FUZZ_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${FUZZ_LIBRARIES} vorlanex_warnings)
  foreach(library IN LISTS FUZZ_LIBRARIES)
    get_target_property(type ${library} TYPE)
    if(type STREQUAL "STATIC_LIBRARY" OR type STREQUAL "OBJECT_LIBRARY")
      target_compile_options(${library} PRIVATE -fsanitize=fuzzer-no-link)
    endif()
  endforeach()
endfunction()
