# The program's texts in other languages. German is kept in translations/mirandel_de.ts and
# compiled into the program; the English catalogue is regenerated from the sources by every
# build, as the list of texts a new translation starts from.
find_package(Qt6 REQUIRED COMPONENTS LinguistTools)

file(GLOB_RECURSE mirandel_text_sources CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/src/*.cpp ${PROJECT_SOURCE_DIR}/src/*.h)

# Installs the translators; the executable and the translation test share it.
add_library(mirandel_translations STATIC src/app/Translators.cpp src/app/Translators.h)
target_include_directories(mirandel_translations PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(mirandel_translations PUBLIC Qt6::Core)
target_compile_options(mirandel_translations PRIVATE -Wall -Wextra -Wpedantic)

# `cmake --build <dir> --target mirandel_translations_lupdate` brings mirandel_de.ts up to date
# with the sources; the build compiles it and embeds the result under :/i18n.
qt_add_translations(mirandel_translations
  TS_FILES ${PROJECT_SOURCE_DIR}/translations/mirandel_de.ts
  SOURCES ${mirandel_text_sources}
  INCLUDE_DIRECTORIES ${PROJECT_SOURCE_DIR}/src
  LUPDATE_OPTIONS -no-obsolete -locations none
  RESOURCE_PREFIX /i18n)

# English is the language of the sources, but "%Ln files" still needs its singular: a small
# catalogue holds only the texts with plural forms. `--target mirandel_plurals_lupdate` adds new
# ones to translations/mirandel_en.ts, whose forms are then filled in by hand.
set(plurals_ts ${PROJECT_SOURCE_DIR}/translations/mirandel_en.ts)
set(plurals_qm ${PROJECT_BINARY_DIR}/plurals/mirandel_en.qm)
add_custom_command(OUTPUT ${plurals_qm}
  COMMAND Qt6::lrelease -silent ${plurals_ts} -qm ${plurals_qm}
  DEPENDS ${plurals_ts}
  VERBATIM)
set_source_files_properties(${plurals_qm} PROPERTIES GENERATED TRUE)
qt_add_resources(mirandel_translations mirandel_plurals PREFIX /i18n
  BASE ${PROJECT_BINARY_DIR}/plurals FILES ${plurals_qm})
add_custom_target(mirandel_plurals_lupdate
  COMMAND Qt6::lupdate -silent -pluralonly -no-obsolete -locations none -source-language en
          -target-language en ${PROJECT_SOURCE_DIR}/src -ts ${plurals_ts}
  VERBATIM)

set(english_ts ${PROJECT_BINARY_DIR}/translations/mirandel_en.ts)
add_custom_command(OUTPUT ${english_ts}
  COMMAND Qt6::lupdate -silent -no-obsolete -locations none -source-language en
          -target-language en ${PROJECT_SOURCE_DIR}/src -ts ${english_ts}
  DEPENDS ${mirandel_text_sources}
  COMMENT "Gathering the program's texts into mirandel_en.ts"
  VERBATIM)
add_custom_target(mirandel_english_catalogue ALL DEPENDS ${english_ts})

target_link_libraries(mirandel PRIVATE mirandel_translations)
