# Programs built with the same flags (a layer's tests, say) parse the same Qt headers once: the
# first of a group precompiles them, the others use what it made.
#   mirandel_shared_headers(<target> <group> <header>...)
function(mirandel_shared_headers target group)
  get_property(first GLOBAL PROPERTY mirandel_headers_of_${group})
  if(first)
    target_precompile_headers(${target} REUSE_FROM ${first})
  else()
    set_property(GLOBAL PROPERTY mirandel_headers_of_${group} ${target})
    target_precompile_headers(${target} PRIVATE ${ARGN})
  endif()
endfunction()
