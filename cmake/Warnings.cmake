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

# ThreadSanitizer, for the desktop's workers; it cannot be combined with AddressSanitizer.
option(ZANTREL_SANITIZE_THREAD "Build with ThreadSanitizer" OFF)
if(ZANTREL_SANITIZE_THREAD)
    if(ZANTREL_SANITIZE)
        message(FATAL_ERROR "ZANTREL_SANITIZE_THREAD and ZANTREL_SANITIZE exclude each other")
    endif()
    target_compile_options(zantrel_warnings INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(zantrel_warnings INTERFACE -fsanitize=thread)
endif()
