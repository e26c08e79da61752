# The install: one self-contained folder holding the programs, the in-process
# servers and every library of ours they load (found through $ORIGIN), with the
# files the programs look for beside them; the programs also in <prefix>/bin,
# and Tamblin in the desktop's menu. Nothing from the tests, benchmarks or
# fuzz targets. tests/install/check-install checks the result.
set(ORVIK_INSTALL_DIR lib/orvik-pelmo2)

install(TARGETS
    Tamblin orvik-host pelmo2-sim
    orvikPelmo2 orvikPelmo2VTI
    orvik_values orvik_loop orvik_com orvik_ui orvik_qt orvik_serial orvik_host orvik_host_tg orvik_host_view
  RUNTIME DESTINATION ${ORVIK_INSTALL_DIR}
  LIBRARY DESTINATION ${ORVIK_INSTALL_DIR})
# The plug-in's test template and help pages beside it.
install(FILES ${PROJECT_SOURCE_DIR}/plugin/shell/orvikPelmo2.mpc DESTINATION ${ORVIK_INSTALL_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/plugin/help/ DESTINATION ${ORVIK_INSTALL_DIR}/Help
  FILES_MATCHING PATTERN "*.html")
install(FILES ${PROJECT_SOURCE_DIR}/platform/ui/pictures/app.png
  DESTINATION share/icons/hicolor/32x32/apps RENAME orvik-tamblin.png)

# At install time, so that "cmake --install --prefix" names its own prefix.
install(CODE "set(orvik_desktop_entry \"${PROJECT_SOURCE_DIR}/editor/orvik-tamblin.desktop.in\")")
install(CODE [[
  set(orvik_root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
  function(orvik_installed path)
    message(STATUS "Installing: ${path}")
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${path}")
    set(CMAKE_INSTALL_MANIFEST_FILES "${CMAKE_INSTALL_MANIFEST_FILES}" PARENT_SCOPE)
  endfunction()

  # Relative links, so that the folder can be moved whole.
  file(MAKE_DIRECTORY "${orvik_root}/bin")
  foreach(program Tamblin orvik-host pelmo2-sim)
    file(CREATE_LINK "../lib/orvik-pelmo2/${program}" "${orvik_root}/bin/${program}" SYMBOLIC)
    orvik_installed("${orvik_root}/bin/${program}")
  endforeach()

  set(ORVIK_PREFIX "${CMAKE_INSTALL_PREFIX}")
  set(entry "${orvik_root}/share/applications/orvik-tamblin.desktop")
  configure_file("${orvik_desktop_entry}" "${entry}" @ONLY)
  orvik_installed("${entry}")

  # An add-on package in /opt has its menu entry linked where the desktop
  # looks (/usr/local/share is among the menu's folders, /opt is not).
  if("$ENV{DESTDIR}" STREQUAL "" AND CMAKE_INSTALL_PREFIX MATCHES "^/opt/")
    set(menu /usr/local/share/applications)
    set(menu_entry ${menu}/orvik-tamblin.desktop)
    # The folder is the install's to remove with it when this install makes it,
    # or an earlier one into this prefix did (its note is there): the note is
    # the only record, as the folder cannot say who made it.
    set(made_note "${orvik_root}/lib/orvik-pelmo2/made-menu-folder")
    set(made TRUE)
    if(EXISTS "${menu}" AND NOT EXISTS "${made_note}")
      set(made FALSE)
    endif()
    execute_process(COMMAND "${CMAKE_COMMAND}" -E make_directory ${menu}
      RESULT_VARIABLE failed OUTPUT_QUIET ERROR_QUIET)
    if(NOT failed)
      file(CREATE_LINK "${entry}" "${menu_entry}" RESULT failed SYMBOLIC)
    endif()
    if(failed)
      message(STATUS "Not in the menu: run as root  ln -sf ${entry} ${menu_entry}")
    else()
      orvik_installed("${menu_entry}")
    endif()
    if(made AND IS_DIRECTORY "${menu}")
      file(WRITE "${made_note}" "${menu}\n")
      orvik_installed("${made_note}")
    else()
      file(REMOVE "${made_note}")
    endif()
  endif()
]])
