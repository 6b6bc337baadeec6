# TALLYWICK_SANITIZE builds everything with AddressSanitizer and UBSan.
option(TALLYWICK_SANITIZE "Build with address and undefined-behaviour sanitizers" OFF)
if(TALLYWICK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
