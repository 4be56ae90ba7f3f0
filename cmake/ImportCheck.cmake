# check_imports(target): a host test that fails when the binary imports any DLL
# that a clean Windows does not have (a runtime that should have been linked in).
function(check_imports target)
  add_test(NAME imports.${target}
           COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-imports.sh $<TARGET_FILE:${target}>)
endfunction()
