# The private folder <prefix>/lib/mirandel: the pinned svgo from tools/ with the packages it
# needs at run time (the lock file's non-development entries), and the small programs beside it.
# The build tree has the same layout (src/CMakeLists.txt links node_modules there).
# Literally lib/, not the multiarch library folder: the program looks beside its own bin/.
set(shipped_tools_dest "lib/mirandel")
set(tools_dir "${PROJECT_SOURCE_DIR}/tools")

file(READ "${tools_dir}/package-lock.json" tools_lock)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${tools_dir}/package-lock.json")
string(JSON package_count LENGTH "${tools_lock}" packages)
math(EXPR last_package "${package_count} - 1")
foreach(index RANGE ${last_package})
  string(JSON package MEMBER "${tools_lock}" packages ${index})
  # The tools folder itself, and packages nested in another one (they come with it).
  if(package STREQUAL "" OR package MATCHES "node_modules/.+/node_modules/")
    continue()
  endif()
  string(JSON is_dev ERROR_VARIABLE no_dev_flag GET "${tools_lock}" packages "${package}" dev)
  if(is_dev)
    continue()
  endif()
  get_filename_component(package_parent "${package}" DIRECTORY)
  install(DIRECTORY "${tools_dir}/${package}"
          DESTINATION "${shipped_tools_dest}/${package_parent}"
          USE_SOURCE_PERMISSIONS)
endforeach()
# The command-line program, a link into the svgo package as npm makes it.
install(FILES "${tools_dir}/node_modules/.bin/svgo"
        DESTINATION "${shipped_tools_dest}/node_modules/.bin")

# A file of the private folder: linked into the build tree's folder and installed beside svgo.
function(mirandel_shipped_file source)
  get_filename_component(name "${source}" NAME)
  file(CREATE_LINK "${source}" "${PROJECT_BINARY_DIR}/lib/mirandel/${name}" SYMBOLIC)
  install(FILES "${source}" DESTINATION "${shipped_tools_dest}")
endfunction()

# The worker that keeps svgo loaded between files.
mirandel_shipped_file(${PROJECT_SOURCE_DIR}/src/engine/worker/svgo-worker.mjs)
# The script that applies a configuration's plugins one at a time, for "Why Smaller?".
mirandel_shipped_file(${PROJECT_SOURCE_DIR}/src/engine/worker/svgo-plugin-steps.mjs)
