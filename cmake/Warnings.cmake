# One interface target carries the warning flags so every target is built the same way.
add_library(zantrel_warnings INTERFACE)
add_library(zantrel::warnings ALIAS zantrel_warnings)
target_compile_options(zantrel_warnings INTERFACE
    -Wall            # the common set
    -Wextra          # unused parameters, sign/unsigned comparisons, missing initialisers
    -Wshadow         # a local hiding a member or an outer variable
    -Wnon-virtual-dtor
    -Wcast-align
    -Woverloaded-virtual
    -Wimplicit-fallthrough
)
option(ZANTREL_WARNINGS_AS_ERRORS "Treat compiler warnings as errors (CI builds)" OFF)
if(ZANTREL_WARNINGS_AS_ERRORS)
    target_compile_options(zantrel_warnings INTERFACE -Werror)
endif()

# Sanitizer builds share the same switch for every target, tests included.
option(ZANTREL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(ZANTREL_SANITIZE)
    target_compile_options(zantrel_warnings INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(zantrel_warnings INTERFACE -fsanitize=address,undefined)
endif()
