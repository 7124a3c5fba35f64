# Warnings are errors in both builds, for our own targets only (never for
# third-party code such as GoogleTest).
function(lumaview_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -Wshadow
                         -Wno-missing-field-initializers)
endfunction()
