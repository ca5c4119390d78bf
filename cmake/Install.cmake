# Install rules: the two programs, the desktop entry with its MIME types, icons and AppStream
# metainfo, and the man page of ot-table. Included after src/ so that the targets are known.
include(GNUInstallDirs)

set(OT_APP_ID io.orveltarn.ClientTools)
set(OT_RESOURCES ${PROJECT_SOURCE_DIR}/resources)

install(TARGETS ot-table RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The man page, compressed as Debian installs man pages.
set(OT_MAN_PAGE ${CMAKE_BINARY_DIR}/man/ot-table.1.gz)
add_custom_command(
  OUTPUT ${OT_MAN_PAGE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/man/ot-table.1 ${CMAKE_BINARY_DIR}/man/
  COMMAND gzip -9 -n -f ${CMAKE_BINARY_DIR}/man/ot-table.1
  DEPENDS ${PROJECT_SOURCE_DIR}/man/ot-table.1
  COMMENT "Compressing the man page of ot-table"
  VERBATIM)
add_custom_target(ot-man ALL DEPENDS ${OT_MAN_PAGE})
install(FILES ${OT_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Everything that makes the window a desktop application comes with the window only: an
# entry without its program would be a broken launcher.
if(TARGET ot-editor)
  install(TARGETS ot-editor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${OT_RESOURCES}/${OT_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${OT_RESOURCES}/${OT_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${OT_RESOURCES}/${OT_APP_ID}.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)

  set(OT_ICON_SVG ${OT_RESOURCES}/icons/${OT_APP_ID}.svg)
  install(FILES ${OT_ICON_SVG}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  # The fixed sizes are rendered from the one drawing at build time.
  find_program(OT_RSVG_CONVERT rsvg-convert)
  if(OT_RSVG_CONVERT)
    set(OT_ICON_PNGS)
    foreach(size 16 32 48 64 128 256)
      set(dir ${CMAKE_BINARY_DIR}/icons/hicolor/${size}x${size}/apps)
      add_custom_command(
        OUTPUT ${dir}/${OT_APP_ID}.png
        COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
        COMMAND ${OT_RSVG_CONVERT} -w ${size} -h ${size} -o ${dir}/${OT_APP_ID}.png ${OT_ICON_SVG}
        DEPENDS ${OT_ICON_SVG}
        VERBATIM)
      list(APPEND OT_ICON_PNGS ${dir}/${OT_APP_ID}.png)
      install(FILES ${dir}/${OT_APP_ID}.png
              DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
    add_custom_target(ot-icons ALL DEPENDS ${OT_ICON_PNGS})
  else()
    message(WARNING "rsvg-convert (librsvg2-bin) not found: only the scalable icon is "
                    "installed. scripts/install-deps.sh installs it.")
  endif()
endif()

# Installs into a temporary prefix and checks what arrived: the files, the validators of
# the desktop entry and the metainfo, the MIME database and the installed ot-table.
if(OT_TESTS)
  if(TARGET ot-editor)
    set(OT_WITH_EDITOR 1)
  else()
    set(OT_WITH_EDITOR 0)
  endif()
  if(OT_RSVG_CONVERT)
    set(OT_WITH_PNGS 1)
  else()
    set(OT_WITH_PNGS 0)
  endif()
  add_test(NAME install_validates
           COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/check-install.sh ${CMAKE_BINARY_DIR}
                   ${PROJECT_SOURCE_DIR} ${PROJECT_VERSION} ${OT_WITH_EDITOR} ${OT_WITH_PNGS})
  # Exit status 77: a validator is not installed, so the test is reported as skipped.
  set_tests_properties(install_validates PROPERTIES SKIP_RETURN_CODE 77)
endif()
