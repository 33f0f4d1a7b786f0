# Installing Quillon as a desktop application: the three programs, the shipped data under
# share/quillon/shipped, the desktop entry, icon, file type and metainfo, the manual pages (made from each
# program's --help when the project is built, so that they never drift), the bash completion, and the
# Debian package that `make package` builds from all of it.
include(GNUInstallDirs)

set(QUILLON_APP_ID org.quillon.Quillon)
set(_packaging ${PROJECT_SOURCE_DIR}/packaging)

foreach(program quillon quillon-cli quillon-unitsim)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

# The data the tool copies into the user's folder at start; the notes for whoever builds it stay behind.
# It has a folder of its own: share/quillon itself is the user's folder when installed into ~/.local.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/plc ${PROJECT_SOURCE_DIR}/data/drivers
                  ${PROJECT_SOURCE_DIR}/data/help ${PROJECT_SOURCE_DIR}/data/fonts
        DESTINATION ${QUILLON_SHIPPED_DATADIR}
        PATTERN README EXCLUDE)
# The example applications as the build made them from their text form (cmake/QuillonExamples.cmake).
install(FILES ${QUILLON_EXAMPLE_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/quillon/examples)

# The desktop: the window's entry and icon, the .ovm file type that opens in it, the metainfo.
if(TARGET quillon)
  install(FILES ${_packaging}/${QUILLON_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${_packaging}/${QUILLON_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${_packaging}/${QUILLON_APP_ID}.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
          RENAME ${QUILLON_APP_ID}.xml)
  install(FILES ${_packaging}/icons/${QUILLON_APP_ID}.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size 16 24 32 48 64 128 256)
    install(FILES ${_packaging}/icons/hicolor/${size}x${size}/${QUILLON_APP_ID}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
endif()

# After installing into a prefix, the desktop's caches of that prefix learn the .ovm file type and the entry
# that opens it (as the Debian package's triggers do where it is installed): update-mime-database and
# update-desktop-database, when they are there. Not while a package is assembled (DESTDIR or CPack's
# staging folder): the caches belong to the machine the package goes to.
if(TARGET quillon)
  install(CODE "set(_quillon_datadir \"${CMAKE_INSTALL_DATADIR}\")")
  install(CODE [[
    if("$ENV{DESTDIR}" STREQUAL "" AND NOT CMAKE_INSTALL_PREFIX MATCHES "/_CPack_Packages/")
      if(IS_ABSOLUTE "${_quillon_datadir}")
        set(_quillon_share "${_quillon_datadir}")
      else()
        set(_quillon_share "${CMAKE_INSTALL_PREFIX}/${_quillon_datadir}")
      endif()
      foreach(_quillon_step "update-mime-database;mime;shared-mime-info"
                            "update-desktop-database;applications;desktop-file-utils")
        list(GET _quillon_step 0 _quillon_tool)
        list(GET _quillon_step 1 _quillon_folder)
        list(GET _quillon_step 2 _quillon_package)
        find_program(_quillon_program ${_quillon_tool})
        if(_quillon_program)
          message(STATUS "Updating: ${_quillon_tool} ${_quillon_share}/${_quillon_folder}")
          execute_process(COMMAND ${_quillon_program} "${_quillon_share}/${_quillon_folder}"
                          RESULT_VARIABLE _quillon_rc ERROR_VARIABLE _quillon_error)
          if(NOT _quillon_rc EQUAL 0)
            message(WARNING "${_quillon_tool} ${_quillon_share}/${_quillon_folder} failed: ${_quillon_error}")
          endif()
        else()
          message(STATUS "${_quillon_tool} not found (package ${_quillon_package}): run it on "
                         "${_quillon_share}/${_quillon_folder} for .ovm files to open in Quillon")
        endif()
        unset(_quillon_program CACHE)
        unset(_quillon_program)
      endforeach()
    endif()
  ]])
endif()

if(TARGET quillon-cli)
  install(FILES ${_packaging}/quillon-cli.bash-completion DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
          RENAME quillon-cli)
endif()

# Manual pages from --help (help2man, package help2man). The window answers --help before it looks for a
# display, so no toolkit message finds its way into the page.
find_program(HELP2MAN help2man)
if(HELP2MAN)
  set(_summary_quillon "configuration tool for operator panels")
  set(_summary_quillon-cli "build, inspect, convert and transfer operator panel applications without a window")
  set(_summary_quillon-unitsim "an emulated operator panel on a pseudo-terminal, for trying transfers")
  set(_pages "")
  # The command-line tool's page also carries every command's own --help.
  set(_includes_quillon-cli --include=${PROJECT_BINARY_DIR}/man/quillon-cli-commands.h2m)
  set(_depends_quillon-cli ${PROJECT_BINARY_DIR}/man/quillon-cli-commands.h2m)
  if(TARGET quillon-cli)
    add_custom_command(
      OUTPUT ${PROJECT_BINARY_DIR}/man/quillon-cli-commands.h2m
      COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
      COMMAND bash ${PROJECT_SOURCE_DIR}/tools/cli-commands-h2m.sh $<TARGET_FILE:quillon-cli>
              ${PROJECT_BINARY_DIR}/man/quillon-cli-commands.h2m
      DEPENDS quillon-cli ${PROJECT_SOURCE_DIR}/tools/cli-commands-h2m.sh
      COMMENT "Collecting the commands of quillon-cli for its manual page"
      VERBATIM)
  endif()
  # Each page points to the pages of the other programs built, not to itself.
  set(_programs "")
  foreach(program quillon quillon-cli quillon-unitsim)
    if(TARGET ${program})
      list(APPEND _programs ${program})
    endif()
  endforeach()
  foreach(program IN LISTS _programs)
    set(_others ${_programs})
    list(REMOVE_ITEM _others ${program})
    list(TRANSFORM _others PREPEND ".BR ")
    list(TRANSFORM _others APPEND " (1)")
    list(JOIN _others ",\n" _see_also)
    set(_see_also "[SEE ALSO]\n${_see_also}\n")
    file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/man/see-also-${program}.h2m CONTENT "${_see_also}")
  endforeach()
  foreach(program IN LISTS _programs)
    if(TARGET ${program})
      set(_page ${PROJECT_BINARY_DIR}/man/${program}.1)
      add_custom_command(
        OUTPUT ${_page}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
        COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
                ${HELP2MAN} --no-info --no-discard-stderr
                --name=${_summary_${program}} --version-string=${PROJECT_VERSION}
                --include=${_packaging}/man/files.h2m
                --include=${PROJECT_BINARY_DIR}/man/see-also-${program}.h2m ${_includes_${program}}
                --output=${_page}
                $<TARGET_FILE:${program}>
        DEPENDS ${program} ${_packaging}/man/files.h2m ${PROJECT_BINARY_DIR}/man/see-also-${program}.h2m
                ${_depends_${program}}
        COMMENT "Writing the manual page of ${program}"
        VERBATIM)
      # Installed compressed, as manual pages are (gzip -n: no name or time in the header, the same bytes
      # at every build).
      add_custom_command(
        OUTPUT ${_page}.gz
        COMMAND gzip -9 -n -c ${_page} > ${_page}.gz
        DEPENDS ${_page}
        VERBATIM)
      list(APPEND _pages ${_page}.gz)
    endif()
  endforeach()
  add_custom_target(quillon_man ALL DEPENDS ${_pages})
  install(FILES ${_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(WARNING "help2man not found: no manual pages (run scripts/install-deps.sh)")
endif()

# The copyright file and the change log every Debian package carries in its documentation folder (the log
# compressed as gzip -n makes it: the same bytes at every build).
set(_docdir ${CMAKE_INSTALL_DATADIR}/doc/quillon)
configure_file(${_packaging}/changelog.in ${PROJECT_BINARY_DIR}/packaging/changelog @ONLY)
add_custom_command(
  OUTPUT ${PROJECT_BINARY_DIR}/packaging/changelog.gz
  COMMAND gzip -9 -n -c ${PROJECT_BINARY_DIR}/packaging/changelog > ${PROJECT_BINARY_DIR}/packaging/changelog.gz
  DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog
  VERBATIM)
add_custom_target(quillon_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${_packaging}/copyright ${PROJECT_BINARY_DIR}/packaging/changelog.gz DESTINATION ${_docdir})

# `make package`: a Debian package of everything above, installed under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quillon developers <quillon-dev@users.noreply.invalid>")
set(CPACK_PACKAGE_VENDOR "Quillon")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration tool for operator panels")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillon builds the applications of the Orvik and VQ5K operator panels: the\n\
network of the unit and its PLCs, blocks and tags, the screens and the objects\n\
on them, alarms, the data logger, keys and task lists. It saves them as .ovm\n\
files (the unit's own memory image), downloads them to the panel over a serial\n\
port, uploads them back, sends PLC drivers to the panel and prints a report.\n\
\n\
The package holds the window (quillon), a command-line tool for scripted work\n\
(quillon-cli) and an emulated panel on a pseudo-terminal for trying transfers\n\
(quillon-unitsim), with the PLC catalogs, drivers, help pages and panel font.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries the programs link are found by dpkg-shlibdeps; the desktop's file-type and
# icon caches are brought up to date by the triggers of their own packages.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, hicolor-icon-theme, desktop-file-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bash-completion")
set(CPACK_STRIP_FILES ON)
include(CPack)
