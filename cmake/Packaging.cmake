# Installing Mirandel as a desktop application and packaging it as a .deb with CPack.
include(GNUInstallDirs)

set(MIRANDEL_DESKTOP_ID "${MIRANDEL_APP_ID}.Mirandel")
set(packaging_dir "${PROJECT_SOURCE_DIR}/packaging")

# Raster icons are rendered from the one scalable drawing at build time, so they cannot drift.
add_executable(mirandel_render_icon ${packaging_dir}/render_icon.cpp)
target_link_libraries(mirandel_render_icon PRIVATE Qt6::Gui Qt6::Svg)
mirandel_without_sanitizers(mirandel_render_icon)

set(MIRANDEL_ICON_SIZES 16 22 24 32 48 64 128 256 512)
set(icon_svg "${packaging_dir}/${MIRANDEL_DESKTOP_ID}.svg")
set(icon_dir "${PROJECT_BINARY_DIR}/icons")
set(icon_pngs "")
foreach(size IN LISTS MIRANDEL_ICON_SIZES)
  list(APPEND icon_pngs "${icon_dir}/${size}x${size}/apps/${MIRANDEL_DESKTOP_ID}.png")
endforeach()
add_custom_command(OUTPUT ${icon_pngs}
  COMMAND mirandel_render_icon ${icon_svg} ${icon_dir} ${MIRANDEL_ICON_SIZES}
  DEPENDS mirandel_render_icon ${icon_svg}
  COMMENT "Rendering the application icon"
  VERBATIM)
add_custom_target(mirandel_icons ALL DEPENDS ${icon_pngs})

configure_file(${packaging_dir}/${MIRANDEL_DESKTOP_ID}.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/${MIRANDEL_DESKTOP_ID}.metainfo.xml @ONLY)
# Filled in on every platform so a broken template shows up before anyone builds on a Mac.
configure_file(${packaging_dir}/Info.plist.in ${PROJECT_BINARY_DIR}/Info.plist @ONLY)
if(APPLE)
  set_target_properties(mirandel PROPERTIES MACOSX_BUNDLE_INFO_PLIST ${packaging_dir}/Info.plist.in)
endif()

install(TARGETS mirandel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
include(${CMAKE_CURRENT_LIST_DIR}/ShippedTools.cmake)
# The process that draws SVG for the preview and the visual check, beside svgo.
install(TARGETS mirandel-render RUNTIME DESTINATION ${shipped_tools_dest})
install(FILES ${packaging_dir}/${MIRANDEL_DESKTOP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_BINARY_DIR}/${MIRANDEL_DESKTOP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${packaging_dir}/${MIRANDEL_DESKTOP_ID}.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${icon_svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(DIRECTORY ${icon_dir}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

set(CPACK_PACKAGE_NAME mirandel)
set(CPACK_PACKAGE_VENDOR "The Mirandel developers")
set(CPACK_PACKAGE_CONTACT "The Mirandel developers <maintainers@mirandel.app>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "SVG optimizer for the desktop, driving svgo")
set(CPACK_PACKAGE_DESCRIPTION "Mirandel optimizes SVG files with svgo: drop icons on its window, \
pick a profile and get the optimized files written back or the optimized markup gathered as one text.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY mirandel)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://mirandel.app/")
# The Qt modules the program links, named as Debian ships them, the C and C++ runtimes of the
# compiler Debian 12 builds with, librsvg to draw SVG, zsh for the login shell that finds svgo,
# and Node.js to run the svgo the package ships. Listed by hand
# rather than by dpkg-shlibdeps so the list reads the same on every build machine.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), librsvg2-2 (>= 2.52), \
libqt6network6 (>= 6.4), libqt6dbus6 (>= 6.4), libqt6concurrent6 (>= 6.4), \
libc6 (>= 2.34), libstdc++6 (>= 11), libgcc-s1 (>= 3.0), zlib1g, libbrotli1, zsh, nodejs (>= 16)")
# Qt's own dialogs and buttons in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
# The package ships svgo; npm only serves a user who wants another svgo installed from the sheet.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "npm")
include(CPack)
