// The search's start days and the two term tables read from data files. The names of the
// terms, the 干支 and the weekdays are the calendar's (calendar/names.h).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace sorvane {

inline constexpr int kPlanetTermCount = 120;
inline constexpr int kLatitudeTermCount = 34;

// One periodic term of the planetary perturbations (planet.txt).
// A term adds amplitude * cos(phase - j*A - s*g) with A the planet's mean anomaly and g the
// Sun's, all in degrees.
struct PlanetTerm {
    std::int16_t planetCode = 0;     // 1 Mercury, 2 Venus, 3 the Sun, 4 Mars, 5 Jupiter, 6 Saturn
    std::int16_t planetMultiple = 0; // j
    std::int16_t sunMultiple = 0;    // s
    double longitudeAmplitude = 0;   // arcseconds
    double longitudePhase = 0;       // degrees
    double radiusAmplitude = 0;      // units of 1e-9 in log10 of the radius vector
    double radiusPhase = 0;          // degrees
};

// One periodic term of the Sun's latitude (latitude.txt); loaded, used by no result.
struct LatitudeTerm {
    std::int16_t planetCode = 0;
    std::int16_t planetMultiple = 0;
    std::int16_t sunMultiple = 0;
    double latitudeAmplitude = 0; // arcseconds
    double latitudePhase = 0;     // degrees
};

// All tables the calculation reads. Filled once by loadTables and then passed by const
// reference; the 1-based tables keep an unused slot 0 so that indexes read as in the almanac.
struct Tables {
    // [month 1..12][column 1 = 節, 2 = 中気]: start day of the day-by-day search.
    std::array<std::array<std::int16_t, 3>, 13> termApproxDays{};
    std::array<std::int16_t, 13> doyoApproxDays{}; // months 1, 4, 7, 10 only
    std::array<PlanetTerm, kPlanetTermCount + 1> planetTerms{};
    std::array<LatitudeTerm, kLatitudeTermCount + 1> latitudeTerms{};
};

// A data file that cannot be used: missing, unreadable, short or malformed. what() is one
// line that names the file and, where it applies, the term and the field.
class DataFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Fills the day tables from constants; the term tables stay zero.
void fillFixedTables(Tables& tables);

// Fills every table: the constants, then planet.txt and latitude.txt from dataDir.
// Throws DataFileError on the first problem; nothing is returned half-loaded.
Tables loadTables(const std::filesystem::path& dataDir);

} // namespace sorvane
