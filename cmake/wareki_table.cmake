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

# months.tsv: the header line goes, then each row becomes one initializer in one pass.
file(READ ${MONTHS} months_text)
string(FIND "${months_text}" "\n" header_end)
math(EXPR body_start "${header_end} + 1")
string(SUBSTRING "${months_text}" ${body_start} -1 months_text)
string(REGEX REPLACE "${number}\t${number}\t${number}\t([01])\t(29|30)\t${date}\t${date}\n"
                     "    {\\1, \\2, \\3, \\4, \\5},\n" months_body "${months_text}")
if(months_body MATCHES "\t")
  string(REGEX MATCH "[^\n]*\t[^\n]*" bad "${months_body}")
  message(FATAL_ERROR "${MONTHS}: not jdn_start, year, month, 0|1, 29|30, two dates: ${bad}")
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

namespace sorvane::wareki {

namespace {

constexpr MonthRow kMonths[] = {
${months_body}};

constexpr EraRow kEras[] = {
${eras_body}};

} // namespace

std::span<const MonthRow> monthRows() {
    return kMonths;
}

std::span<const EraRow> eraRows() {
    return kEras;
}

} // namespace sorvane::wareki
")
file(RENAME ${OUT}.tmp ${OUT})
