# TALLYWICK_SANITIZE builds everything with AddressSanitizer and UBSan; any finding ends the
# process with an error, so the test that met it fails.
option(TALLYWICK_SANITIZE "Build with address and undefined-behaviour sanitizers" OFF)
if(TALLYWICK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
  # Leaks of the system's libraries are named in lsan.supp, built into every program that links
  # the platform library, so that a program started by hand, without LSAN_OPTIONS, reads it too.
  file(READ ${CMAKE_CURRENT_LIST_DIR}/lsan.supp TALLYWICK_LSAN_SUPPRESSIONS)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/lsan.supp)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/LsanSuppressions.cpp.in
                 ${CMAKE_BINARY_DIR}/generated/LsanSuppressions.cpp @ONLY)
  add_library(tallywick_lsan OBJECT ${CMAKE_BINARY_DIR}/generated/LsanSuppressions.cpp)
endif()
