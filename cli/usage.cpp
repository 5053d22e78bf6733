// The terminal program's --help and --version texts.
#include "almanac/coverage.h"
#include "calendar/year_text.h"
#include "cli/eclipses.h"
#include "cli/life.h"
#include "cli/options.h"
#include "sorvane/version.h"

namespace sorvane::cli {

using almanac::coverage;
using almanac::Source;
using almanac::spanText;

std::string usageText() {
    // The years of each source, as the checks above take them.
    const almanac::YearSpan year = coverage(Source::Year);
    const std::string precise = spanText(coverage(Source::Precise));
    const std::string lunar = spanText(coverage(Source::Lunisolar));
    const std::string phases = spanText(coverage(Source::Phases));
    const std::string holidays = spanText(coverage(Source::Holidays));
    const std::string lastHolidayYear = std::to_string(coverage(Source::Holidays).last);
    const CivilDate law = almanac::firstHolidayDate();
    const std::string notes = spanText(coverage(Source::Notes));
    const std::string ics = spanText(coverage(Source::ICalendar));
    return "usage: sorvane-cli [YEAR] [--month M] [--json] [--precise] [--zassetsu]\n"
           "                   [--days] [--phases] [--holidays] [--notes] [--ics FILE]\n"
           "                   [--data DIR]\n"
           "       sorvane-cli --find QUERY [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--json]\n"
           "                   [--ics FILE] [--data DIR]\n"
           "       sorvane-cli --feed KIND [--from YEAR] [--to YEAR] [--ics FILE] [--data DIR]\n"
           "       sorvane-cli --published-feeds [YEAR]\n"
           "       sorvane-cli --wareki DATE [--julian] [--json]\n"
           "       sorvane-cli --life KIND [--date YYYY-MM-DD] [--year Y] [--sex 男|女] [--json]\n"
           "                   [--ics FILE] [--data DIR]\n"
           "\n"
           "Prints the moments of the 24 solar terms and the four 土用 entries of YEAR\n"
           "(default: the current year) in Japan Standard Time, then the sexagenary name\n"
           "of each month's first day.\n"
           "\n"
           "  YEAR        a whole number from " +
           std::to_string(year.first) + " to " + std::to_string(year.last) +
           " (year 0 is 1 BC)\n"
           "  --month M   list the days of month M (1..12) with weekday and sexagenary name\n"
           "  --json      print the year as one JSON document\n"
           "  --precise   compute the moments from the IAU model of the Sun's apparent\n"
           "              longitude, with leap seconds (years " +
           precise +
           "; outside\n"
           "              1900..2100 each moment has its uncertainty)\n"
           "  --zassetsu  also list the 雑節: 節分, 彼岸, 八十八夜, 入梅, 半夏生, 二百十日,\n"
           "              二百二十日 and the four 土用 with their 丑の日\n"
           "  --days      instead, one tab-separated line per day: date, weekday, 干支,\n"
           "              lunisolar date (閏 for a leap month), 六曜, national holiday and\n"
           "              the day's events (terms, 土用, 雑節, 朔弦望 with JST times;\n"
           "              旧正月, 伝統的七夕, 十五夜, 十三夜), then the 潮名 (大潮 .. 若潮,\n"
           "              by the lunisolar day); the moments of --precise\n"
           "              where it reaches (" +
           precise +
           "), else the default theory; \"-\" for\n"
           "              the lunisolar fields outside " +
           lunar +
           "; a note on standard\n"
           "              error names the mode (and, outside 1900..2100, the uncertainty)\n"
           "  --phases    instead, the year's 朔, 上弦, 望 and 下弦, \"MM-DD HH:MM  朔\"\n"
           "              (years " +
           phases +
           "); with --json either comes as JSON\n"
           "  --holidays  list the national holidays instead, one \"MM-DD  name\" line each\n"
           "              (with --json: add them as a \"holidays\" array). Years up to " +
           lastHolidayYear +
           ";\n"
           "              before " +
           std::to_string(law.year) + " (the holiday law took effect on " + isoDateText(law) +
           ") the list\n"
           "              is empty and a note says so\n"
           "  --notes     instead, the 暦注 of every day, one tab-separated line each: date,\n"
           "              weekday, the 節月's 干支, the day's 干支, 十二直, 二十八宿, 日家九星,\n"
           "              選日, noon moon age (" +
           lunar +
           "), then the 七十二候 beginning that\n"
           "              day, the 年中行事, the 下段 and the 潮名; with --json one\n"
           "              document; with --ics FILE the 選日 are written as all-day\n"
           "              events instead. The Sun's moments\n"
           "              of --precise where it reaches, else the default theory. These are\n"
           "              customs of the calendar makers, not astronomy. Years " +
           notes +
           "\n"
           "  --ics FILE  also write the terms, 土用, 雑節 and the national holidays\n"
           "              (" +
           holidays + ") as an iCalendar file, and in " + lunar +
           " the 朔 and\n"
           "              望 and the lunisolar days; its moments are the default theory's,\n"
           "              or with --precise the precise mode's, whatever else is given\n"
           "              (--days included). FILE \"-\": the calendar on standard output\n"
           "              instead of the report\n"
           "  --find QUERY  instead, the days from --from (default: today in Japan) to --to\n"
           "              (default: a year, to the day before the same date a year later)\n"
           "              that fit QUERY, one tab-separated line each: date, weekday, then\n"
           "              the names that matched. QUERY is words\n"
           "              that must all hold; a word is a name or names joined by '|' (any\n"
           "              of them), a leading '-' negates it. Names: 六曜 (先勝 .. 赤口),\n"
           "              選日 (一粒万倍日, 天赦日 ..) and 下段 (大明日, 母倉日, 天徳日 ..),\n"
           "              weekdays (月 .. 日), 祝日, 休日 (土, 日 or 祝日), 十二直, 二十八宿,\n"
           "              九星 (一白水星 ..), solar terms, 土用 and 雑節 (節分, 夏の土用,\n"
           "              一の丑 ..), 旧暦 (旧1月, 旧閏6月, 旧15日, 十五夜), 潮名 (大潮 ..\n"
           "              若潮). A name of two kinds takes its kind: 十二直:危, 二十八宿:危.\n"
           "              With --json a document, with --ics FILE also the days as all-day\n"
           "              events. A name of a kind that part of the range lacks (六曜, 旧暦\n"
           "              and 潮名 outside " +
           lunar + ", 祝日 outside " + isoDateText(law) + ".." + lastHolidayYear +
           ") holds\n"
           "              neither way there, and a note on standard error says where\n"
           "  --feed KIND  instead, one kind's subscription calendar (RFC 5545) for the\n"
           "              years --from (default: this year in Japan) to --to (default:\n"
           "              --from) on standard output, or in FILE with --ics FILE. KIND:\n"
           "              rokuyo (六曜 each day, " +
           spanText(exports::feedYears(exports::FeedKind::Rokuyo)) +
           "), senjitsu (選日 of single\n"
           "              days, " +
           spanText(exports::feedYears(exports::FeedKind::Senjitsu)) +
           "), sekki (the 24 節気 as\n"
           "              instants, " +
           spanText(exports::feedYears(exports::FeedKind::Sekki)) + "), holidays (" +
           spanText(exports::feedYears(exports::FeedKind::Holidays)) +
           "), moon (朔, 上弦,\n"
           "              望, 下弦, 十五夜, 十三夜, 日食・月食 at 東京; " +
           spanText(exports::feedYears(exports::FeedKind::Moon)) + "), zassetsu (" +
           spanText(exports::feedYears(exports::FeedKind::Zassetsu)) +
           "),\n"
           "              senjitsu-periods (八専, 十方暮, 天一天上 as periods, " +
           spanText(exports::feedYears(exports::FeedKind::SenjitsuPeriods)) +
           "), shio (潮名,\n"
           "              大潮 .. 若潮 by the lunisolar day; " +
           spanText(exports::feedYears(exports::FeedKind::Shio)) +
           "). UIDs name\n"
           "              the kind, the event and its date; no clock is read: the same\n"
           "              arguments give the same bytes\n"
           "  --published-feeds  instead, the years a site publishes each feed for in\n"
           "              YEAR (default: this year in Japan): YEAR - " +
           std::to_string(exports::kPublishedYearsBefore) + " to YEAR + " +
           std::to_string(exports::kPublishedYearsAfter) +
           ", cut to\n"
           "              the kind's years; a line each, KIND FIRST LAST (\"- -\" for a kind\n"
           "              that reaches none of them), for scripts that write the feeds\n"
           "  --data DIR  read planet.txt and latitude.txt from DIR\n"
           "  --sun       instead, one line per day: date, 日の出, 日の入, 月の出, 月の入\n"
           "              (HH:MM in JST, --:-- for none, **:** for the Sun's two on a\n"
           "              polar day, when it never sets) and the Moon's age at noon, for\n"
           "              Tokyo (the observatory's point) or the place of --place NAME\n"
           "              or --lat DEG --lon DEG (decimal, north and east positive);\n"
           "              years " +
           precise +
           ", with --json as JSON\n"
           "  --wareki DATE  instead, one day between 和暦 and the Western calendars: DATE\n"
           "              is a 和暦 date (元禄15年12月14日; 閏, 元年, 正月, 朔日, 晦日, kanji\n"
           "              and full-width numerals, 南朝 or 北朝 before the era) or YYYY-MM-DD\n"
           "              in the Gregorian calendar, with --julian in the Julian one. Prints\n"
           "              the 和暦 (both lines of 南北朝 in 1331-1392), the Julian and the\n"
           "              Gregorian date (the one in use first: Julian before 1582-10-15),\n"
           "              weekday, 干支, lunisolar date and 六曜. Up to 1872-12-31 the\n"
           "              lunisolar date is the historical calendar's (the table from\n"
           "              内田正男『日本暦日原典』, back-computed before 445), from 1900 the\n"
           "              computed one, none in 1873-1899. An impossible date is refused\n"
           "              with why and the nearest valid reading; with --json as JSON\n"
           "  --help      show this text\n"
           "  --version   show the version\n"
           "\n"
           "The Moon is the lunar solution ELP/MPP02, carried by the program: over\n"
           "1900-2100 its phases lie within 0.33 s of a JPL-based ephemeris (DE431),\n"
           "99.9 % of them on the same minute and none a minute more off.\n"
           "\n"
           "--month takes neither --zassetsu, --precise, --holidays, --days nor --phases;\n"
           "with --json it prints the month as JSON. --days takes neither --zassetsu nor\n"
           "--holidays (it lists both), and --phases neither --holidays nor --zassetsu;\n"
           "--holidays --zassetsu lists the 雑節 after the holidays. --notes takes none of\n"
           "--month, --days, --phases, --holidays, --zassetsu and --precise. --ics writes\n"
           "the years " +
           ics +
           ", replacing FILE whole or not at all. Options without a value\n"
           "take no \"=VALUE\"; a FILE or DIR that starts with \"-\" is written ./-name or\n"
           "--ics=-name. --find takes no YEAR and none of --month, --precise, --zassetsu,\n"
           "--days, --phases, --holidays or --notes. --feed takes no YEAR, nor --json\n"
           "or the listing options; --ics - or no --ics writes the feed to standard output.\n"
           "\n" +
           lifeUsage() + "\n" + eclipsesUsage() +
           "\n"
           "Exit status: 0 success, 1 data-file error (or terms that give no usable\n"
           "moments), 2 bad argument, 3 an output (standard output or the --ics file)\n"
           "could not be written.\n";
}

std::string versionText() {
    return std::string("sorvane-cli ") + kVersion + "\n";
}

} // namespace sorvane::cli
