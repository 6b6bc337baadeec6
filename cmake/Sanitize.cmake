# TALLYWICK_SANITIZE builds everything with AddressSanitizer and UBSan; any finding ends the
# process with an error, so the test that met it fails.
option(TALLYWICK_SANITIZE "Build with address and undefined-behaviour sanitizers" OFF)
set(TALLYWICK_TEST_PROPERTIES)
if(TALLYWICK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
  # Leaks of the system's libraries are named in lsan.supp; the tests, and the program that
  # they start, read it.
  set(TALLYWICK_TEST_PROPERTIES ENVIRONMENT
      "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/lsan.supp")
endif()
