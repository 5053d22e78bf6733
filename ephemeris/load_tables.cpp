#include "ephemeris/tables.h"
#include "ephemeris/term_file_reader.h"

namespace sorvane {

Tables loadTables(const std::filesystem::path& dataDir) {
    Tables tables;
    fillFixedTables(tables);
    tables.planetTerms =
        parsePlanetTerms(readDataFile(dataDir / "planet.txt", kPlanetValueCount), "planet.txt");
    tables.latitudeTerms = parseLatitudeTerms(
        readDataFile(dataDir / "latitude.txt", kLatitudeValueCount), "latitude.txt");
    return tables;
}

} // namespace sorvane
