# Writes the C++ source of the historical lunisolar table (wareki/table.h) from
# data/wareki/months.tsv and data/wareki/eras.tsv at build time: the program carries the
# table and never reads the files. A CMake script rather than a tool of the project's, so
# that the web edition's cross build makes it the same way.
#
#   cmake -DMONTHS=months.tsv -DERAS=eras.tsv -DOUT=wareki_table_data.cpp -P wareki_table.cmake
#
# Every row must have the columns data/wareki/SOURCE.md describes; a row that does not is an
# error that quotes it, and nothing is written.

cmake_policy(SET CMP0007 NEW) # a field may be empty
set(number "(-?[0-9]+)")
set(date "-?[0-9][0-9][0-9][0-9]+-[0-9][0-9]-[0-9][0-9]")

# months.tsv: the header line goes, then each row is checked for its columns in one pass.
file(READ ${MONTHS} months_text)
string(FIND "${months_text}" "\n" header_end)
math(EXPR body_start "${header_end} + 1")
string(SUBSTRING "${months_text}" ${body_start} -1 months_text)
string(REGEX REPLACE "${number}\t${number}\t${number}\t([01])\t(29|30)\t${date}\t${date}\n"
                     "\\1 \\2 \\3 \\4 \\5;" months_list "${months_text}")
if(months_list MATCHES "\t")
  string(REGEX MATCH "[^\n;]*\t[^\n]*" bad "${months_list}")
  message(FATAL_ERROR "${MONTHS}: not jdn_start, year, month, 0|1, 29|30, two dates: ${bad}")
endif()

# Every month follows from the one before: it starts the day after that one ends, and it is the
# next month of the year (after 12, the 1st of the next year) unless it is a 閏月, which takes
# the number of the month before. So the program carries the first row's start, year and month,
# and of every row only whether it is a 閏月 and whether it has 30 days: one letter, A + 2 × leap
# + (days − 29). A row that does not follow from the one before is an error that quotes it.
set(codes "")
set(line_codes "")
set(first "")
foreach(row IN LISTS months_list)
  if(row STREQUAL "")
    continue() # after the last row's semicolon
  endif()
  string(REPLACE " " ";" f "${row}")
  list(GET f 0 jdn)
  list(GET f 1 year)
  list(GET f 2 month)
  list(GET f 3 leap)
  list(GET f 4 days)
  if(first STREQUAL "")
    set(first "${jdn}, ${year}, ${month}")
  else()
    if(leap)
      set(want_month ${next_plain_month_of_leap})
      set(want_year ${year_before})
    else()
      set(want_month ${next_month})
      set(want_year ${next_year})
    endif()
    if(NOT jdn EQUAL next_jdn OR NOT year EQUAL want_year OR NOT month EQUAL want_month)
      message(FATAL_ERROR "${MONTHS}: the row does not follow the one before it (expected "
                          "${next_jdn}, ${want_year}, ${want_month}): ${row}")
    endif()
  endif()
  math(EXPR next_jdn "${jdn} + ${days}")
  set(year_before ${year})
  set(next_plain_month_of_leap ${month})
  if(month EQUAL 12)
    set(next_month 1)
    math(EXPR next_year "${year} + 1")
  else()
    math(EXPR next_month "${month} + 1")
    set(next_year ${year})
  endif()
  math(EXPR code "2 * ${leap} + ${days} - 29")
  string(SUBSTRING "ABCD" ${code} 1 letter)
  string(APPEND line_codes "${letter}")
  string(LENGTH "${line_codes}" line_length)
  if(line_length EQUAL 96)
    string(APPEND codes "    \"${line_codes}\"\n")
    set(line_codes "")
  endif()
endforeach()
if(first STREQUAL "")
  message(FATAL_ERROR "${MONTHS}: no months")
endif()
if(NOT line_codes STREQUAL "")
  string(APPEND codes "    \"${line_codes}\"\n")
endif()

# eras.tsv: 279 rows, one at a time.
file(STRINGS ${ERAS} era_lines ENCODING UTF-8)
list(POP_FRONT era_lines)
set(eras_body "")
foreach(line IN LISTS era_lines)
  if(line MATCHES "[\";\\\\]")
    message(FATAL_ERROR "${ERAS}: a quotation mark, semicolon or backslash in: ${line}")
  endif()
  string(REPLACE "\t" ";" f "${line}")
  list(LENGTH f n)
  if(NOT n EQUAL 15)
    message(FATAL_ERROR "${ERAS}: ${n} columns, not 15, in: ${line}")
  endif()
  list(GET f 0 name)
  list(GET f 1 reading)
  list(GET f 2 others)
  list(GET f 3 type)
  list(GET f 4 era_line)
  list(GET f 5 event)
  list(SUBLIST f 6 6 numbers)
  list(GET f 12 julian)
  list(GET f 13 gregorian)
  list(GET f 14 kaigen)
  list(APPEND numbers ${kaigen})
  foreach(v IN LISTS numbers)
    if(NOT v MATCHES "^${number}$")
      message(FATAL_ERROR "${ERAS}: \"${v}\" is not a whole number in: ${line}")
    endif()
  endforeach()
  if(NOT type MATCHES "^(元号|天皇)$" OR NOT era_line MATCHES "^(both|北朝|南朝)$" OR
     NOT event MATCHES "^(start|resume)$" OR NOT julian MATCHES "^${date}$" OR
     NOT gregorian MATCHES "^${date}$")
    message(FATAL_ERROR "${ERAS}: a type, line, event or date out of place in: ${line}")
  endif()
  list(JOIN numbers ", " numbers_text)
  string(APPEND eras_body "    {\"${name}\", \"${reading}\", \"${others}\", \"${type}\", "
                          "\"${era_line}\", \"${event}\", ${numbers_text}},\n")
endforeach()

file(WRITE ${OUT}.tmp
"// Made at build time by cmake/wareki_table.cmake from data/wareki/months.tsv and eras.tsv.
#include \"wareki/table.h\"

#include <cstddef>
#include <vector>

namespace sorvane::wareki {

namespace {

// The first month's 1日 (JDN), its year and month; then a letter a month, as described in
// cmake/wareki_table.cmake.
constexpr MonthRow kFirstMonth = {${first}, 0, 29};
constexpr char kMonthCodes[] =
${codes};

std::vector<MonthRow> unpackMonths() {
    std::vector<MonthRow> rows;
    rows.reserve(sizeof kMonthCodes - 1);
    MonthRow row = kFirstMonth;
    for (std::size_t i = 0; i + 1 < sizeof kMonthCodes; ++i) {
        const int code = kMonthCodes[i] - 'A';
        if (i > 0) {
            const MonthRow& before = rows.back();
            row.jdnStart = before.jdnStart + before.days;
            if ((code & 2) != 0) {
                row.year = before.year;
                row.month = before.month;
            } else {
                row.year = before.month == 12 ? before.year + 1 : before.year;
                row.month = before.month == 12 ? 1 : before.month + 1;
            }
        }
        row.leap = (code & 2) != 0 ? 1 : 0;
        row.days = 29 + (code & 1);
        rows.push_back(row);
    }
    return rows;
}

constexpr EraRow kEras[] = {
${eras_body}};

} // namespace

std::span<const MonthRow> monthRows() {
    static const std::vector<MonthRow> rows = unpackMonths();
    return rows;
}

std::span<const EraRow> eraRows() {
    return kEras;
}

} // namespace sorvane::wareki
")
file(RENAME ${OUT}.tmp ${OUT})
