// Reading the two term files: free-format numbers separated by commas, blanks, tabs or line
// ends, consumed in order whatever the line layout; values after the last needed one are
// ignored.
#pragma once

#include "ephemeris/tables.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

namespace sorvane {

inline constexpr std::size_t kPlanetValueCount = kPlanetTermCount * 7;
inline constexpr std::size_t kLatitudeValueCount = kLatitudeTermCount * 5;

// The content of a data file, read up to the end of its valuesNeeded-th value (0: to the
// end of the file). Throws DataFileError naming the file when it is missing, is a
// directory, cannot be read, or is larger than any term file could be (1 MiB, checked
// before reading for a regular file and while reading for anything else).
std::string readDataFile(const std::filesystem::path& path, std::size_t valuesNeeded = 0);

// Parse the text of planet.txt / latitude.txt. fileName is used in messages only.
// Throws DataFileError for a file that ends early, a value that is not a number, an integer
// field that is not a whole number in -32768..32767, a planet code outside 1..6, an
// amplitude beyond 100 arcseconds (100000e-9 for the radius) or a phase beyond 360 degrees.
std::array<PlanetTerm, kPlanetTermCount + 1> parsePlanetTerms(std::string_view text,
                                                              const std::string& fileName);
std::array<LatitudeTerm, kLatitudeTermCount + 1> parseLatitudeTerms(std::string_view text,
                                                                    const std::string& fileName);

} // namespace sorvane
