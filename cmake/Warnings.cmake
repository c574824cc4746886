# Our own targets compile with every common warning, and warnings fail the build.
function(qm_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
  # g++ 12 reports -Wrestrict falsely inside inlined std::string concatenation in optimised
  # builds (GCC bug 105329); the warning stays on for debug builds and for clang.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE $<$<NOT:$<CONFIG:Debug>>:-Wno-restrict>)
  endif()
endfunction()
