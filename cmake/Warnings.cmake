# Our own targets compile with every common warning, and warnings fail the build.
function(qm_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
endfunction()
