# Tests of the installable package and of the translations, run by CTest with the others.

# Read the installed program's windows from inside (see tests/packaging/list_probe.cpp).
add_library(mirandel_list_probe MODULE ${PROJECT_SOURCE_DIR}/tests/packaging/list_probe.cpp)
target_link_libraries(mirandel_list_probe PRIVATE Qt6::Widgets)
mirandel_without_sanitizers(mirandel_list_probe)

set(packaging_tests ${PROJECT_SOURCE_DIR}/tests/packaging)
add_test(NAME packaging/metadata
  COMMAND bash ${packaging_tests}/validate_metadata.sh
          ${PROJECT_SOURCE_DIR}/packaging/${MIRANDEL_DESKTOP_ID}.desktop
          ${PROJECT_BINARY_DIR}/${MIRANDEL_DESKTOP_ID}.metainfo.xml
          ${PROJECT_SOURCE_DIR}/packaging/${MIRANDEL_DESKTOP_ID}.xml)

# The package comes from the release build (a sanitized binary is no package for users); `make
# test` builds it first. Installing touches the whole machine, so nothing runs beside it.
set(MIRANDEL_PACKAGE_DIR "${PROJECT_SOURCE_DIR}/build/release" CACHE PATH
    "Folder holding the mirandel .deb the package test installs")
add_test(NAME packaging/deb_install
  COMMAND bash ${packaging_tests}/deb_install.sh ${MIRANDEL_PACKAGE_DIR}
          $<TARGET_FILE:mirandel_list_probe>)
set_tests_properties(packaging/deb_install PROPERTIES SKIP_RETURN_CODE 77 RUN_SERIAL TRUE TIMEOUT 600)

add_test(NAME translations/german_complete
  COMMAND bash ${packaging_tests}/check_translations.sh $<TARGET_FILE:Qt6::lupdate> ${PROJECT_SOURCE_DIR})

if(TARGET tst_translations)
  target_link_libraries(tst_translations PRIVATE mirandel_translations)
endif()
