#include "horizon/places.h"

#include "calendar/decimal_number.h"
#include "calendar/file_reading.h"
#include "calendar/path_text.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>

namespace sorvane::horizon {

namespace {

constexpr std::size_t kMaxFileBytes = 64 * 1024;

bool parseNumber(const std::string& field, double& value) {
    const char* first = field.data();
    const char* last = first + field.size();
    const auto [end, ec] = parseDouble(first, last, value);
    return ec == std::errc() && end == last && std::isfinite(value);
}

std::vector<std::string> split(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos) {
            return fields;
        }
        start = tab + 1;
    }
}

} // namespace

NamedPlace tokyo() {
    constexpr double kLatitude = 35 + 39 / 60.0 + 29.1572 / 3600.0;
    constexpr double kLongitude = 139 + 44 / 60.0 + 28.8869 / 3600.0;
    return NamedPlace{"東京", Observer{kLatitude, kLongitude}};
}

bool validObserver(const Observer& o) {
    return o.latitude >= -90 && o.latitude <= 90 && o.longitude >= -180 && o.longitude <= 180;
}

std::vector<NamedPlace> parsePlaces(const std::string& text, const std::string& origin) {
    std::vector<NamedPlace> places;
    int number = 0;
    // Line after line, as std::getline splits them (no stream: fewer bytes in the web module).
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const std::string where = origin + ": line " + std::to_string(number);
        const std::vector<std::string> f = split(line);
        if (f.size() < 3 || f[0].empty()) {
            throw PlacesError(where + ": expected name, latitude and longitude");
        }
        NamedPlace p;
        p.name = f[0];
        if (!parseNumber(f[1], p.observer.latitude) || !parseNumber(f[2], p.observer.longitude) ||
            !validObserver(p.observer)) {
            throw PlacesError(where + ": latitude -90..90 and longitude -180..180 expected");
        }
        if (findPlace(places, p.name) != nullptr) {
            throw PlacesError(where + ": " + p.name + " given twice");
        }
        places.push_back(p);
    }
    return places;
}

std::vector<NamedPlace> loadPlaces(const std::filesystem::path& dataDir) {
    const std::filesystem::path path = dataDir / kPlacesFile;
    const std::string where = std::string(kPlacesFile) + ": " + pathText(path);
    ReadOnlyFile in(path);
    if (in.error() != 0) {
        throw PlacesError(std::string(kPlacesFile) +
                          (in.openFailed() ? ": cannot open " : ": cannot read ") + pathText(path) +
                          ": " + std::strerror(in.error()));
    }
    if (in.kind() == FileKind::Directory) {
        throw PlacesError(where + " is a directory, not a places file");
    }
    if (in.kind() != FileKind::Regular) {
        throw PlacesError(where + " is not a regular file (" + fileKindText(in.kind()) + ")");
    }
    std::string text;
    char block[16384];
    for (;;) {
        const long n = in.read(block, sizeof block);
        if (n < 0) {
            throw PlacesError(std::string(kPlacesFile) + ": cannot read " + pathText(path) + ": " +
                              std::strerror(errno));
        }
        if (n == 0) {
            break;
        }
        text.append(block, static_cast<std::size_t>(n));
        if (text.size() > kMaxFileBytes) {
            throw PlacesError(where + " is larger than 64 KiB");
        }
    }
    if (text.substr(0, 3) == "\xEF\xBB\xBF") { // a UTF-8 byte order mark
        text.erase(0, 3);
    }
    if (text.empty()) {
        throw PlacesError(where + " is empty");
    }
    std::vector<NamedPlace> places = parsePlaces(text, pathText(path));
    if (places.empty()) {
        throw PlacesError(where + " lists no place");
    }
    return places;
}

const NamedPlace* findPlace(const std::vector<NamedPlace>& places, const std::string& name) {
    for (const NamedPlace& p : places) {
        if (p.name == name) {
            return &p;
        }
    }
    return nullptr;
}

} // namespace sorvane::horizon
