// The named places of the rising and setting times: Tokyo and the prefectural seats.
#pragma once

#include "horizon/rise_set.h"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace sorvane::horizon {

struct NamedPlace {
    std::string name; // as the user types it: 東京, 札幌, 那覇
    Observer observer;
};

// The list's file name in the data folder.
inline constexpr const char* kPlacesFile = "places.tsv";

// A places file that cannot be read; what() names the file and the line.
class PlacesError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// tokyo: the observatory's Tokyo point, the old Tokyo Astronomical Observatory at Azabu:
// 東経 139°44′28.8869″, 北緯 35°39′29.1572″ (the default place).
NamedPlace tokyo();

// parsePlaces: the places of a file's text: lines "name<TAB>latitude<TAB>longitude", decimal
// degrees, north and east positive; blank lines and lines starting with '#' are skipped.
// origin names the file in messages. Throws PlacesError for a line without three fields, a
// number that does not parse or lies outside -90..90 / -180..180, or a name given twice.
std::vector<NamedPlace> parsePlaces(const std::string& text, const std::string& origin);

// loadPlaces: parsePlaces of dataDir / kPlacesFile (at most 64 KiB read, a leading UTF-8
// byte order mark skipped). Throws PlacesError, one line naming the file and its problem, for
// a file that cannot be opened or read (with the system's reason), a directory, a named pipe
// or another special file (refused without waiting for a writer), a file larger than 64 KiB,
// an empty one or one that lists no place.
std::vector<NamedPlace> loadPlaces(const std::filesystem::path& dataDir);

// findPlace: the place of that name, or null.
const NamedPlace* findPlace(const std::vector<NamedPlace>& places, const std::string& name);

// validObserver: whether latitude and longitude lie within -90..90 and -180..180.
bool validObserver(const Observer& observer);

} // namespace sorvane::horizon
