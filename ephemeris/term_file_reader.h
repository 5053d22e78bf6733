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

// The whole content of a data file. Throws DataFileError naming the file when it is missing,
// is a directory or cannot be read.
std::string readDataFile(const std::filesystem::path& path);

// Parse the text of planet.txt / latitude.txt. fileName is used in messages only.
// Throws DataFileError for a file that ends early, a value that is not a number, an integer
// field that is not a whole number in -32768..32767, or a planet code outside 1..6.
std::array<PlanetTerm, kPlanetTermCount + 1> parsePlanetTerms(std::string_view text,
                                                              const std::string& fileName);
std::array<LatitudeTerm, kLatitudeTermCount + 1> parseLatitudeTerms(std::string_view text,
                                                                    const std::string& fileName);

} // namespace sorvane
