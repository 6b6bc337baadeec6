# One place for how a target of ours uses the toolkit: the libraries it names, and the same
# compile settings for every target.
function(tallywick_toolkit target)
  find_package(wxWidgets 3.2 REQUIRED COMPONENTS ${ARGN})
  target_include_directories(${target} SYSTEM PUBLIC ${wxWidgets_INCLUDE_DIRS})
  target_compile_definitions(${target} PUBLIC ${wxWidgets_DEFINITIONS} wxNO_UNSAFE_WXSTRING_CONV)
  target_compile_options(${target} PUBLIC ${wxWidgets_CXX_FLAGS})
  target_link_libraries(${target} PUBLIC ${wxWidgets_LIBRARIES})
endfunction()
