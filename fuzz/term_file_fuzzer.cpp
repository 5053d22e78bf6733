// Any bytes as planet.txt and as latitude.txt: the reader either returns a full table that
// the solar theory can use, or throws DataFileError with one printable line that names the
// file. Anything else (another exception, a crash, a sanitizer report, a hang) is a fault.
#include "ephemeris/sun_position.h"
#include "ephemeris/tables.h"
#include "ephemeris/term_file_reader.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using namespace sorvane;

[[noreturn]] void fault(const std::string& what) {
    std::fprintf(stderr, "term file fuzzer: %s\n", what.c_str());
    std::abort();
}

void checkMessage(const DataFileError& e, const std::string& fileName) {
    const std::string message = e.what();
    if (message.rfind(fileName + ": ", 0) != 0) {
        fault("message does not start with the file name: " + message);
    }
    if (message.size() > 300) {
        fault("message longer than a line: " + message);
    }
    for (char c : message) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u >= 0x7f) {
            fault("message with a control or non-ASCII byte: " + message);
        }
    }
}

template <typename Term> void checkTerm(const Term& term, int index, const char* fileName) {
    if (term.planetCode < 1 || term.planetCode > 6) {
        fault(std::string(fileName) + " loaded with planet code " +
              std::to_string(term.planetCode) + " in term " + std::to_string(index));
    }
}

Tables fixedTables() {
    Tables tables;
    fillFixedTables(tables);
    return tables;
}

void planetFile(std::string_view text) {
    std::array<PlanetTerm, kPlanetTermCount + 1> terms;
    try {
        terms = parsePlanetTerms(text, "planet.txt");
    } catch (const DataFileError& e) {
        checkMessage(e, "planet.txt");
        return;
    }
    for (int i = 1; i <= kPlanetTermCount; ++i) {
        const PlanetTerm& t = terms[i];
        checkTerm(t, i, "planet.txt");
        if (!std::isfinite(t.longitudeAmplitude) || !std::isfinite(t.longitudePhase) ||
            !std::isfinite(t.radiusAmplitude) || !std::isfinite(t.radiusPhase)) {
            fault("planet.txt loaded with a value that is not finite in term " + std::to_string(i));
        }
    }
    // A table the reader accepts must be safe to evaluate: the planet code indexes the
    // mean anomalies. Extreme amplitudes may give a longitude that is not finite; that is
    // the data's doing and no fault of the program.
    static Tables tables = fixedTables();
    tables.planetTerms = terms;
    (void)sunPosition(2000, 1, 1.5, tables);
}

void latitudeFile(std::string_view text) {
    std::array<LatitudeTerm, kLatitudeTermCount + 1> terms;
    try {
        terms = parseLatitudeTerms(text, "latitude.txt");
    } catch (const DataFileError& e) {
        checkMessage(e, "latitude.txt");
        return;
    }
    for (int i = 1; i <= kLatitudeTermCount; ++i) {
        checkTerm(terms[i], i, "latitude.txt");
        if (!std::isfinite(terms[i].latitudeAmplitude) || !std::isfinite(terms[i].latitudePhase)) {
            fault("latitude.txt loaded with a value that is not finite in term " +
                  std::to_string(i));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    planetFile(text);
    latitudeFile(text);
    return 0;
}
