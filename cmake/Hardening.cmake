# Build options for developers: warnings as errors and the address and undefined-behaviour
# sanitizers. The "dev" preset turns both on; release builds and packages never carry them.
option(MIRANDEL_WERROR "Treat compiler warnings as errors" OFF)
option(MIRANDEL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

if(MIRANDEL_WERROR)
  add_compile_options(-Werror)
endif()

if(MIRANDEL_SANITIZE)
  # No recovery: undefined behaviour ends the test that hit it, so CTest reports it as a failure.
  set(MIRANDEL_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined
                               -fno-omit-frame-pointer)
  add_compile_options(${MIRANDEL_SANITIZER_FLAGS})
  add_link_options(-fsanitize=address,undefined)
endif()

# Helpers that run outside the sanitized test processes — the icon renderer run during the build,
# a library loaded into the installed release program — must be built without the sanitizer
# runtime, which refuses to load into a process that did not start with it.
function(mirandel_without_sanitizers target)
  if(MIRANDEL_SANITIZE)
    get_target_property(options ${target} COMPILE_OPTIONS)
    list(REMOVE_ITEM options ${MIRANDEL_SANITIZER_FLAGS})
    set_target_properties(${target} PROPERTIES COMPILE_OPTIONS "${options}" LINK_OPTIONS "")
  endif()
endfunction()
