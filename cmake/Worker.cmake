# The svgo worker is a Node script that lives beside the bundled svgo: <build>/lib/mirandel while
# developing, <prefix>/lib/mirandel once installed, where the program looks for it.
set(mirandel_worker_source ${PROJECT_SOURCE_DIR}/src/engine/worker/svgo-worker.mjs)
set(mirandel_worker_built ${PROJECT_BINARY_DIR}/lib/mirandel/svgo-worker.mjs)
add_custom_command(OUTPUT ${mirandel_worker_built}
  COMMAND ${CMAKE_COMMAND} -E copy ${mirandel_worker_source} ${mirandel_worker_built}
  DEPENDS ${mirandel_worker_source}
  VERBATIM)
add_custom_target(mirandel_worker ALL DEPENDS ${mirandel_worker_built})
# Everything that runs the engine (the program, tests, benchmarks) finds the worker in place.
add_dependencies(mirandel_engine mirandel_worker)
install(FILES ${mirandel_worker_source} DESTINATION lib/mirandel)
