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

// A data file that cannot be used: missing, unreadable, short or malformed. The code and the
// details say what went wrong, for a front end to word in its own language; what() is the
// terminal program's English line, made from them, naming the file and, where it applies,
// the term and the field.
class DataFileError : public std::runtime_error {
  public:
    enum class Code {
        CannotOpen,     // path could not be opened (systemError)
        CannotRead,     // path could not be read (systemError)
        Directory,      // path is a directory
        NotRegular,     // path is a named pipe, a device or a socket (special)
        TooLarge,       // path holds more than limitBytes bytes
        EndsEarly,      // the values end inside term `term`, after `field` of its values
        NotANumber,     // the value of term `term`, field `field` is not a number
        NumberOverflow, // that value is a number beyond the range of a double
        NotWhole,       // that value of an integer field is not a whole number
        OutsideLimits,  // that value lies outside -limit..limit (unit)
        NotPlanetCode,  // the planet code of term `term` is not 1..6
    };
    // The kind of a file that is not a regular one.
    enum class Special { NamedPipe, CharacterDevice, BlockDevice, Socket, Other };
    // The values of a term, in the order of the file (planet.txt has the first seven,
    // latitude.txt the first three and the latitude's two).
    enum class Field {
        PlanetCode,
        PlanetMultiple,
        SunMultiple,
        LongitudeAmplitude,
        LongitudePhase,
        RadiusAmplitude,
        RadiusPhase,
        LatitudeAmplitude,
        LatitudePhase,
    };
    enum class Unit { None, Arcseconds, Degrees };

    // What the code needs of these; the rest stay as they are.
    struct Details {
        std::string file;    // the file's name, "planet.txt"
        std::string path;    // the path as opened (the file-level codes)
        int systemError = 0; // errno of CannotOpen and CannotRead, 0 if unknown
        Special special = Special::Other;
        std::size_t limitBytes = 0; // TooLarge
        int term = 0;               // 1-based: the term being read
        int field = 0;              // 1-based field; EndsEarly: values of `term` read
        int termCount = 0;          // EndsEarly: terms in the file
        int fieldCount = 0;         // EndsEarly: values per term
        Field fieldKind = Field::PlanetCode;
        std::string value;    // the value as written (printable, at most 40 bytes + "...")
        long long lowest = 0; // OutsideLimits: the range allowed
        long long highest = 0;
        Unit unit = Unit::None;
    };

    DataFileError(Code code, Details details);
    Code code() const { return code_; }
    const Details& details() const { return details_; }

  private:
    Code code_;
    Details details_;
};

// Fills the day tables from constants; the term tables stay zero.
void fillFixedTables(Tables& tables);

// Fills every table: the constants, then planet.txt and latitude.txt from dataDir.
// Throws DataFileError on the first problem; nothing is returned half-loaded.
Tables loadTables(const std::filesystem::path& dataDir);

} // namespace sorvane
