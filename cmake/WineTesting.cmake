# Every test runs under Wine in one prefix per test run, created under the build
# tree and sandboxed: HOME is a folder of the run, Z: (the Unix root) is removed,
# D: is a scratch drive of the run and T: is the build tree the tests start from.
set(WINE_TEST_ROOT ${CMAKE_BINARY_DIR}/wine)
set(WINE_PREFIX_SCRIPT ${CMAKE_SOURCE_DIR}/scripts/wine-prefix.sh)
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-exec.sh.in ${CMAKE_BINARY_DIR}/wine-exec.sh
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE @ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-exec.sh)

add_test(NAME wine.prefix.setup
         COMMAND ${WINE_PREFIX_SCRIPT} setup ${WINE_TEST_ROOT} ${CMAKE_BINARY_DIR})
add_test(NAME wine.prefix.cleanup
         COMMAND ${WINE_PREFIX_SCRIPT} cleanup ${WINE_TEST_ROOT} ${CMAKE_BINARY_DIR})
set_tests_properties(wine.prefix.setup PROPERTIES FIXTURES_SETUP wine TIMEOUT 120)
set_tests_properties(wine.prefix.cleanup PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)

# add_wine_test(NAME name COMMAND target-or-path [args...] [TIMEOUT seconds] [SERIAL])
# A target COMMAND runs through Wine; anything else runs on the host with the
# prefix's environment. SERIAL keeps tests that share the sandbox drive apart.
function(add_wine_test)
  cmake_parse_arguments(T "SERIAL" "NAME;TIMEOUT" "COMMAND" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  list(GET T_COMMAND 0 first)
  if(TARGET ${first})
    add_test(NAME ${T_NAME} COMMAND ${T_COMMAND})
  else()
    add_test(NAME ${T_NAME} COMMAND ${CMAKE_BINARY_DIR}/wine-exec.sh --host ${T_COMMAND})
  endif()
  set_tests_properties(${T_NAME} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT ${T_TIMEOUT})
  if(T_SERIAL)
    set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK wine-sandbox)
  endif()
endfunction()
