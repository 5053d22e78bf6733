// Term values, not file text: the shipped tables with some values replaced by fuzzed ones,
// then a whole year's calculation, the 雑節 and the report. The calculation either gives a
// report of sane size whose every moment is finite and near its month, or stops with
// CalculationError or std::length_error; anything else (another exception, a crash, a
// sanitizer report, a hang, runaway memory) is a fault.
//
// Input: year (2 bytes, little-endian), a flag byte (bit 0: fold every value into the
// range the term reader accepts), then records of a term byte, a field byte and 8 value
// bytes (a double for the real fields, the low 16 bits for the integer ones).
#include "almanac/year_almanac.h"
#include "ephemeris/tables.h"
#include "export/text_report.h"
#include "finder/finder.h"
#include "zassetsu/zassetsu.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#ifndef SORVANE_DATA_DIR
#error "SORVANE_DATA_DIR names the folder of the shipped term files"
#endif

namespace {

using namespace sorvane;

[[noreturn]] void fault(const std::string& what) {
    std::fprintf(stderr, "year terms fuzzer: %s\n", what.c_str());
    std::abort();
}

// x folded into -limit..limit (not finite: 0), as a value the reader would accept.
double fold(double x, double limit) {
    return std::isfinite(x) ? std::fmod(x, limit) : 0.0;
}

void setField(PlanetTerm& t, int field, double value, std::int16_t whole, bool accepted) {
    switch (field) {
    case 0:
        t.planetCode = static_cast<std::int16_t>(1 + (whole & 0x7fff) % 6);
        break;
    case 1:
        t.planetMultiple = whole;
        break;
    case 2:
        t.sunMultiple = whole;
        break;
    case 3:
        t.longitudeAmplitude = accepted ? fold(value, 100) : value;
        break;
    case 4:
        t.longitudePhase = accepted ? fold(value, 360) : value;
        break;
    case 5:
        t.radiusAmplitude = accepted ? fold(value, 100000) : value;
        break;
    default:
        t.radiusPhase = accepted ? fold(value, 360) : value;
        break;
    }
}

void checkReport(const Finder& finder, const almanac::YearAlmanac& almanac,
                 const std::string& text) {
    for (const EventMoment& m : finder.orderedMoments()) {
        if (!std::isfinite(m.theoryDay) || !std::isfinite(m.jstDay) ||
            std::fabs(m.jstDay) > kMomentDayLimit) {
            fault("year " + std::to_string(finder.yy) + " month " + std::to_string(m.month) +
                  ": moment " + std::to_string(m.jstDay) + " passed the finder's checks");
        }
    }
    // Ten dated days and moments, four 土用 periods, and the 丑の日 a year-long period can hold.
    const std::size_t mostItems =
        14 + 4 * static_cast<std::size_t>(zassetsu::kMaxPeriodDays / 12 + 1);
    if (almanac.zassetsu.size() > mostItems) {
        fault(std::to_string(almanac.zassetsu.size()) + " 雑節 in one year");
    }
    if (text.size() > 100 * mostItems + 4096 || text.find("inf") != std::string::npos ||
        text.find("nan") != std::string::npos) {
        fault("report of " + std::to_string(text.size()) + " bytes:\n" + text.substr(0, 2048));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Tables shipped = loadTables(SORVANE_DATA_DIR);
    if (size < 3) {
        return 0;
    }
    std::int16_t year = 0;
    std::memcpy(&year, data, 2);
    const bool accepted = (data[2] & 1) != 0;
    Tables tables = shipped;
    for (std::size_t at = 3; at + 10 <= size; at += 10) {
        const int term = 1 + data[at] % kPlanetTermCount;
        const int field = data[at + 1] % 7;
        double value = 0;
        std::memcpy(&value, data + at + 2, 8);
        std::int16_t whole = 0;
        std::memcpy(&whole, data + at + 2, 2);
        setField(tables.planetTerms[term], field, value, whole, accepted);
    }

    Finder finder(tables);
    try {
        finder.calculate(year);
        const almanac::YearAlmanac almanac =
            almanac::yearAlmanac(tables, year, {.precise = false, .zassetsu = true});
        checkReport(finder, almanac, exports::yearReport(almanac, true));
    } catch (const CalculationError&) {
    } catch (const std::length_error&) {
    } catch (const std::exception& e) {
        fault(std::string("unexpected exception: ") + e.what());
    }
    return 0;
}
