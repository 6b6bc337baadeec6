# One place for the warning flags of our own targets.
function(tallywick_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()
