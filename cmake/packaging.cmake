# What an installed Sorvane needs besides its programs and data (manual pages, bash completion,
# the copyright file and changelog), and the Debian package made from the install rules:
# `cpack -G DEB` in the build folder writes sorvane_VERSION_ARCH.deb.

set(SORVANE_DOC_DIR ${PROJECT_BINARY_DIR}/doc)

# gzip -9n: the most compression, and no name or time stamp, so a rebuild gives the same bytes.
find_program(GZIP_EXECUTABLE gzip REQUIRED)
function(sorvane_gzip source out_var)
  get_filename_component(name ${source} NAME)
  set(plain ${SORVANE_DOC_DIR}/gz/${name})
  add_custom_command(OUTPUT ${plain}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${plain}
    COMMAND ${GZIP_EXECUTABLE} -9nf ${plain}
    DEPENDS ${source} VERBATIM)
  set(${out_var} ${plain}.gz PARENT_SCOPE)
endfunction()

# The machine-readable copyright file carries LICENSE's permission text, indented, with
# " ." for its blank lines.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
string(REGEX REPLACE "^.*Copyright[^\n]*\n" "" license "${license}")
string(STRIP "${license}" license)
string(REPLACE "\n\n" "\n.\n" license "${license}")
string(REPLACE "\n" "\n " SORVANE_LICENSE_TEXT " ${license}")
configure_file(${PROJECT_SOURCE_DIR}/doc/copyright.in ${SORVANE_DOC_DIR}/copyright @ONLY)
# The changelog is made from doc/changes.md (cmake/changes.cmake).

sorvane_gzip(${SORVANE_DOC_DIR}/changelog changelog_gz)
sorvane_gzip(${PROJECT_SOURCE_DIR}/doc/sorvane-cli.1 cli_man_gz)
set(doc_outputs ${changelog_gz} ${cli_man_gz})
if(SORVANE_BUILD_GUI)
  sorvane_gzip(${PROJECT_SOURCE_DIR}/doc/sorvane.1 gui_man_gz)
  list(APPEND doc_outputs ${gui_man_gz})
endif()
add_custom_target(sorvane_docs ALL DEPENDS ${doc_outputs})

set(doc_install_dir ${CMAKE_INSTALL_DATADIR}/doc/sorvane)
install(FILES ${SORVANE_DOC_DIR}/copyright ${changelog_gz} DESTINATION ${doc_install_dir})
# The user's guide (the window carries it too: 暦 → 使い方) and the reference.
install(FILES ${PROJECT_SOURCE_DIR}/doc/guide-ja.md ${PROJECT_SOURCE_DIR}/doc/reference.md
        DESTINATION ${doc_install_dir})
install(FILES ${cli_man_gz} ${gui_man_gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/completion/sorvane-cli.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME sorvane-cli)
install(FILES ${PROJECT_SOURCE_DIR}/doc/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME sorvane)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sorvane)
set(CPACK_PACKAGE_VENDOR "The Sorvane developers")
set(CPACK_PACKAGE_CONTACT "The Sorvane developers <sorvane@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "calendar of solar terms, doyo entries and sexagenary day names")
set(CPACK_PACKAGE_DESCRIPTION [[
Sorvane finds, for any year from -32768 to 32767, the moments of the 24 solar
terms and of the four doyo entries of the old Japanese calendar from Newcomb's
theory of the Sun, shows them in Japan Standard Time to the minute, and names
the sexagenary day of every month's first day. A second window lists the days
of a month with their weekdays and sexagenary names.

The terminal program sorvane-cli prints the same as text or JSON, computes the
moments from the IAU model of the Sun, lists the seasonal days (zassetsu), the
national holidays, the phases of the Moon and the lunisolar date and rokuyo of
every day, and writes the year to an iCalendar file.]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.example.org/sorvane/)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# Libraries from the binaries; the windows' font and their notification sound by name.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, sound-theme-freedesktop")
# libical is loaded when a calendar file is written, not linked (export/CMakeLists.txt), so
# the binaries do not name it: its package is named here, found from its library's file.
if(SORVANE_LIBICAL_SONAME)
  get_filename_component(libical_folder ${SORVANE_LIBICAL_FILE} DIRECTORY)
  file(REAL_PATH ${libical_folder}/${SORVANE_LIBICAL_SONAME} libical_real)
  execute_process(COMMAND dpkg-query -S ${libical_real} OUTPUT_VARIABLE libical_owner
                  RESULT_VARIABLE libical_status ERROR_QUIET)
  if(libical_status EQUAL 0 AND libical_owner MATCHES "^([^:, ]+)")
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", ${CMAKE_MATCH_1}")
  else()
    message(WARNING "no Debian package owns ${libical_real}: the package will not name libical")
  endif()
endif()
include(CPack)

# The package check (label package): builds the Debian package and tests it unpacked,
# uninstalled (not in the Windows build, whose package is tools/windows.sh's installer).
if(SORVANE_BUILD_TESTS AND SORVANE_BUILD_GUI AND NOT WIN32)
  add_test(NAME package_check
           COMMAND ${PROJECT_SOURCE_DIR}/tools/package-check.sh ${PROJECT_BINARY_DIR}
                   ${PROJECT_VERSION})
  set_tests_properties(package_check PROPERTIES LABELS package TIMEOUT 600)
endif()
