# Regression tests: every saved input of fuzz/corpus/<target>/ and
# fuzz/regressions/<target>/ replayed through the target's entry point with
# the normal compiler, no libFuzzer needed.
include(${CMAKE_SOURCE_DIR}/fuzz/targets.cmake)

foreach(name IN LISTS PRALIX_FUZZ_TARGETS)
  add_executable(fuzz_replay_${name} ${PRALIX_FUZZ_DIR}/targets/${name}.cpp ${PRALIX_FUZZ_DIR}/replay_main.cpp)
  target_include_directories(fuzz_replay_${name} PRIVATE ${PRALIX_FUZZ_DIR} ${PRALIX_FUZZ_DIR}/targets)
  target_link_libraries(fuzz_replay_${name} PRIVATE pralix_core)
  add_test(NAME FuzzReplay.${name}
           COMMAND fuzz_replay_${name} ${PRALIX_FUZZ_DIR}/corpus/${name} ${PRALIX_FUZZ_DIR}/regressions/${name})
  set_tests_properties(FuzzReplay.${name} PROPERTIES TIMEOUT 300 LABELS fuzz)
endforeach()
if(TARGET fuzz_replay_diagdata_form_decode)
  target_link_libraries(fuzz_replay_diagdata_form_decode PRIVATE pralix_desk_core)
endif()
