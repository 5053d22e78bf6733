// make_earth_table: fits Chebyshev series to ERFA's Earth (eraEpv00) over 1898-2101 and
// writes them as C++, the table the searches for the Sun's and the Moon's moments step on.
//
//   make_earth_table OUT.cpp   writes sky/earth_table_data.cpp
//
// Per segment of kEarthSegmentDays days and per ICRS axis: the Earth's heliocentric position
// interpolated at the kEarthDegree + 1 Chebyshev nodes of the segment, and the Sun's
// barycentric position at kSunDegree + 1 nodes; the coefficients rounded to kEarthTableUnit
// au (15 m). The velocities are the series' derivatives.
#include "sky/earth_table.h"

#include <cmath>
#include <cstdio>
#include <erfa.h>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

using namespace sorvane::sky;

// Chebyshev coefficients, axis after axis, over [first, first + kEarthSegmentDays] from the
// values at the degree + 1 nodes (the discrete cosine transform of the interpolant). which: 0
// the Earth's heliocentric position, 1 the Sun's barycentric position.
std::vector<double> fitted(double first, int degree, int which) {
    const int n = degree + 1;
    std::vector<double> values(static_cast<std::size_t>(3 * n));
    for (int j = 0; j < n; ++j) {
        const double x = std::cos(ERFA_DPI * (j + 0.5) / n);
        double pvh[2][3];
        double pvb[2][3];
        eraEpv00(first + (x + 1.0) * 0.5 * kEarthSegmentDays, 0.0, pvh, pvb);
        for (int axis = 0; axis < 3; ++axis) {
            values[static_cast<std::size_t>(axis * n + j)] =
                which == 0 ? pvh[0][axis] : pvb[0][axis] - pvh[0][axis];
        }
    }
    std::vector<double> c(static_cast<std::size_t>(3 * n));
    for (int axis = 0; axis < 3; ++axis) {
        for (int i = 0; i < n; ++i) {
            double sum = 0;
            for (int j = 0; j < n; ++j) {
                sum += values[static_cast<std::size_t>(axis * n + j)] *
                       std::cos(ERFA_DPI * i * (j + 0.5) / n);
            }
            c[static_cast<std::size_t>(axis * n + i)] = sum * (i == 0 ? 1.0 : 2.0) / n;
        }
    }
    return c;
}

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
        const double first = kEarthTableFirst + s * kEarthSegmentDays;
        for (int which = 0; which < 2; ++which) {
            for (const double c : fitted(first, which == 0 ? kEarthDegree : kSunDegree, which)) {
                table.push_back(std::llround(c / kEarthTableUnit));
            }
        }
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
