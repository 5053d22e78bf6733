// make_earth_table: fits Chebyshev series to ERFA's Earth (eraEpv00) over 1898-2101 and
// writes them as C++, the table the searches for the Sun's and the Moon's moments step on.
//
//   make_earth_table OUT.cpp   writes sky/earth_table_data.cpp
//
// Each segment as fittedEarthSegment fits it (sky/earth_table.h): per ICRS axis the Earth's
// heliocentric position interpolated at the kEarthDegree + 1 Chebyshev nodes of the segment,
// and the Sun's barycentric position at kSunDegree + 1 nodes; the coefficients rounded to
// kEarthTableUnit au (15 m). The velocities are the series' derivatives.
#include "sky/earth_table.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

using namespace sorvane::sky;

// Writes values as C++ initialisers, as many to a line of 100 columns as fit.
template <typename T>
void writeValues(std::ostream& out, const std::vector<T>& values, const char* format) {
    int column = 4;
    out << "    ";
    for (const T value : values) {
        char number[32];
        std::snprintf(number, sizeof number, format, static_cast<long long>(value));
        const int width = static_cast<int>(std::string(number).size());
        if (column > 4 && column + 1 + width > 100) {
            out << "\n    ";
            column = 4;
        } else if (column > 4) {
            out << ' ';
            ++column;
        }
        out << number;
        column += width;
    }
    out << '\n';
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_earth_table OUT.cpp\n";
        return 2;
    }
    std::vector<std::int64_t> table;
    for (int s = 0; s < kEarthSegments; ++s) {
        const std::vector<std::int64_t> segment = fittedEarthSegment(s);
        table.insert(table.end(), segment.begin(), segment.end());
    }
    const PackedEarthTable packed = packEarthTable(table);
    if (unpackEarthTable(packed.first.data(), packed.predictor.data(), packed.parameters.data(),
                         packed.words.data(), packed.words.size(), kEarthSegments) != table) {
        std::cerr << "make_earth_table: the packed table does not unpack to the fitted one\n";
        return 1;
    }
    std::ofstream out(argv[1]);
    out << "// The Earth the searches step on: Chebyshev series of ERFA's eraEpv00, "
        << kEarthSegments << " segments of\n// " << kEarthSegmentDays
        << " days from JD 2414290.5 (1898 January 1), packed (layout and format in\n"
           "// sky/earth_table.h). Written by tools/make_earth_table.cpp; do not edit.\n"
           "#include \"sky/earth_table.h\"\n\n"
           "namespace sorvane::sky {\n\n"
           "// clang-format off\n"
           "const std::int64_t kEarthTableFirstSegments[kEarthPredictorValues] = {\n";
    writeValues(out, packed.first, "%lld,");
    out << "};\n\nconst std::int64_t kEarthTablePredictor[kEarthPredictorValues] = {\n";
    writeValues(out, packed.predictor, "%lld,");
    out << "};\n\nconst std::uint8_t kEarthTableParameters[kEarthSegmentValues] = {\n";
    writeValues(out, packed.parameters, "%lld,");
    out << "};\n\nconst std::size_t kEarthTableWordCount = " << packed.words.size()
        << ";\n\nconst std::uint32_t kEarthTableWords[] = {\n";
    writeValues(out, packed.words, "0x%08llx,");
    out << "};\n// clang-format on\n\n} // namespace sorvane::sky\n";
    if (!out.flush()) {
        std::cerr << "make_earth_table: cannot write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
