// make_moon_table: truncates the lunar solution ELP/MPP02 (the authors' six series files,
// kept in data/elpmpp02/) to the terms the program carries, and writes them as C++.
//
//   make_moon_table DIR OUT.cpp   writes the carried series, sky/moon_table.cpp
//
// The Main Problem's coefficients are written corrected for the fit to DE405 (as
// readMoonSeries reads them). A term is kept when its largest value over -1999..3000,
// sqrt(S^2 + C^2) |t|^n with |t| up to 40 centuries, reaches kThreshold arcseconds (or the
// length that angle spans at the Moon's distance). Each number is written with 17
// significant digits, so the table holds exactly the values read.
#include "sky/moon_series.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

namespace {

constexpr double kThreshold = 0.003; // arcseconds
constexpr double kTMax = 40.0;       // centuries from J2000

const char* const kCoordinates[3] = {"Longitude", "Latitude", "Distance"};

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_moon_table DIR OUT.cpp\n";
        return 2;
    }
    using namespace sorvane::sky;
    MoonSeries kept;
    try {
        kept = truncateMoonSeries(readMoonSeries(argv[1]), kThreshold, kTMax);
    } catch (const std::exception& e) {
        std::cerr << "make_moon_table: " << e.what() << '\n';
        return 1;
    }
    std::ofstream out(argv[2]);
    out << "// The lunar series the program carries: ELP/MPP02 (Chapront & Francou 2003) with the\n"
           "// constants fitted to DE405, the terms of at least "
        << kThreshold << "\" over -1999..3000.\n"
        << "// Written by tools/make_moon_table.cpp from data/elpmpp02/; do not edit. "
        << kept.size() << " terms.\n"
        << "#include \"sky/moon_series.h\"\n\n"
           "namespace sorvane::sky {\n\nnamespace {\n\n"
           "struct Row {\n    std::int8_t m[13];\n    double s;\n    double c;\n};\n";
    char number[64];
    for (int c = 0; c < 3; ++c) {
        for (int n = 0; n < 4; ++n) {
            const auto& terms = kept.terms[c][n];
            if (terms.empty()) {
                continue;
            }
            out << "\nconstexpr Row k" << kCoordinates[c] << n << "[] = {\n";
            for (const MoonTerm& t : terms) {
                out << "    {{";
                for (int j = 0; j < kMoonArguments; ++j) {
                    out << (j == 0 ? "" : ", ") << int{t.multipliers[j]};
                }
                std::snprintf(number, sizeof number, "}, %.17g, %.17g},\n", t.sine, t.cosine);
                out << number;
            }
            out << "};\n";
        }
    }
    out << "\ntemplate <std::size_t N> void add(std::vector<MoonTerm>& to, const Row (&rows)[N]) "
           "{\n"
           "    to.reserve(to.size() + N);\n"
           "    for (const Row& r : rows) {\n"
           "        MoonTerm t;\n"
           "        for (int j = 0; j < kMoonArguments; ++j) {\n"
           "            t.multipliers[j] = r.m[j];\n"
           "        }\n"
           "        t.sine = r.s;\n"
           "        t.cosine = r.c;\n"
           "        to.push_back(t);\n"
           "    }\n"
           "}\n\n} // namespace\n\n"
           "const MoonSeries& carriedMoonSeries() {\n"
           "    static const MoonSeries series = [] {\n"
           "        MoonSeries s;\n";
    for (int c = 0; c < 3; ++c) {
        for (int n = 0; n < 4; ++n) {
            if (!kept.terms[c][n].empty()) {
                out << "        add(s.terms[" << c << "][" << n << "], k" << kCoordinates[c] << n
                    << ");\n";
            }
        }
    }
    out << "        return s;\n    }();\n    return series;\n}\n\n} // namespace "
           "sorvane::sky\n";
    out.close();
    if (!out) {
        std::cerr << "make_moon_table: cannot write " << argv[2] << '\n';
        return 1;
    }
    return 0;
}
