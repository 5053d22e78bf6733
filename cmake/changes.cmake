# The change list doc/changes.md read at configure time: its newest version must be the
# project's (the one place the version is written), and from its English items come the
# Debian changelog (${PROJECT_BINARY_DIR}/doc/changelog) and the AppStream releases
# (SORVANE_APPSTREAM_RELEASES, for the metainfo file).
#
# The list's form: "## MAJOR.MINOR.PATCH (YYYY-MM-DD)" opens a version, newest first;
# "### English" opens its English items, "- " starts an item and a line indented by two
# spaces continues it; "### 日本語" and anything else outside those is not read here.

set(changes_file ${PROJECT_SOURCE_DIR}/doc/changes.md)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${changes_file})
file(READ ${changes_file} changes_text)
# A semicolon or a bracket of the text would split or join CMake's list items: kept aside.
string(REPLACE ";" "@SEMICOLON@" changes_text "${changes_text}")
string(REPLACE "[" "@LEFT@" changes_text "${changes_text}")
string(REPLACE "]" "@RIGHT@" changes_text "${changes_text}")
string(REPLACE "\n" ";" changes_lines "${changes_text}")

# The day of the week of a Gregorian date, as RFC 5322 names it (Sakamoto's method).
function(sorvane_weekday year month day out_var)
  set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
  math(EXPR m "${month} - 1")
  list(GET offsets ${m} offset)
  if(month LESS 3)
    math(EXPR year "${year} - 1")
  endif()
  math(EXPR w "(${year} + ${year} / 4 - ${year} / 100 + ${year} / 400 + ${offset} + ${day}) % 7")
  set(names Sun Mon Tue Wed Thu Fri Sat)
  list(GET names ${w} name)
  set(${out_var} ${name} PARENT_SCOPE)
endfunction()

set(SORVANE_CHANGES_NEWEST "")
set(debian "")
set(SORVANE_APPSTREAM_RELEASES "")
set(version "")
set(items "")
set(english FALSE)
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)

# Ends the version being read: its Debian entry and its AppStream release.
macro(sorvane_end_version)
  if(version)
    if(items STREQUAL "")
      message(FATAL_ERROR "doc/changes.md: ${version} has no English item")
    endif()
    sorvane_weekday(${year} ${month} ${day} weekday)
    # The list gives days only; a changelog's entries must each be later than the one below,
    # also on one day: the time is 12:MM:SS with MM the minor and SS the patch version, which
    # grow from one version to the next (each kept below 60).
    string(REGEX MATCHALL "[0-9]+" parts ${version})
    list(GET parts 1 minor)
    list(GET parts 2 patch)
    if(minor GREATER 59 OR patch GREATER 59)
      message(FATAL_ERROR "doc/changes.md: ${version}: a minor or patch version above 59 has no time")
    endif()
    string(LENGTH "${minor}" n)
    if(n EQUAL 1)
      set(minor 0${minor})
    endif()
    string(LENGTH "${patch}" n)
    if(n EQUAL 1)
      set(patch 0${patch})
    endif()
    math(EXPR m "${month} - 1")
    list(GET months ${m} month_name)
    string(APPEND debian "sorvane (${version}) unstable; urgency=medium\n\n${items}\n"
           " -- The Sorvane developers <sorvane@example.com>  "
           "${weekday}, ${day} ${month_name} ${year} 12:${minor}:${patch} +0000\n\n")
    string(APPEND SORVANE_APPSTREAM_RELEASES
           "    <release version=\"${version}\" date=\"${year}-${month}-${day}\"/>\n")
  endif()
endmacro()

foreach(line IN LISTS changes_lines)
  if(line MATCHES "^## ([0-9]+\\.[0-9]+\\.[0-9]+) \\(([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])\\)$")
    set(next ${CMAKE_MATCH_1})
    set(next_date ${CMAKE_MATCH_2} ${CMAKE_MATCH_3} ${CMAKE_MATCH_4})
    if(version AND NOT next VERSION_LESS version)
      message(FATAL_ERROR "doc/changes.md: ${next} comes after ${version}: newest first")
    endif()
    sorvane_end_version()
    set(version ${next})
    list(GET next_date 0 year)
    list(GET next_date 1 month)
    list(GET next_date 2 day)
    if(SORVANE_CHANGES_NEWEST STREQUAL "")
      set(SORVANE_CHANGES_NEWEST ${version})
    endif()
    set(items "")
    set(english FALSE)
  elseif(line MATCHES "^## ")
    message(FATAL_ERROR "doc/changes.md: \"${line}\" is not \"## MAJOR.MINOR.PATCH (YYYY-MM-DD)\"")
  elseif(line MATCHES "^### English$")
    set(english TRUE)
  elseif(line MATCHES "^###")
    set(english FALSE)
  elseif(english AND version AND line MATCHES "^- (.*)$")
    string(APPEND items "  * ${CMAKE_MATCH_1}\n")
  elseif(english AND version AND line MATCHES "^  (.*)$")
    string(APPEND items "    ${CMAKE_MATCH_1}\n")
  endif()
endforeach()
sorvane_end_version()

if(NOT SORVANE_CHANGES_NEWEST STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "doc/changes.md's newest version is \"${SORVANE_CHANGES_NEWEST}\", the "
                      "project's ${PROJECT_VERSION}: add the version's changes to doc/changes.md")
endif()

foreach(var debian SORVANE_APPSTREAM_RELEASES)
  string(REPLACE "@SEMICOLON@" ";" ${var} "${${var}}")
  string(REPLACE "@LEFT@" "[" ${var} "${${var}}")
  string(REPLACE "@RIGHT@" "]" ${var} "${${var}}")
endforeach()
string(REGEX REPLACE "\n\n$" "\n" debian "${debian}")
# Written through a copy, so that an unchanged changelog keeps its time and nothing rebuilds.
file(WRITE ${PROJECT_BINARY_DIR}/doc/changelog.new "${debian}")
configure_file(${PROJECT_BINARY_DIR}/doc/changelog.new ${PROJECT_BINARY_DIR}/doc/changelog COPYONLY)
