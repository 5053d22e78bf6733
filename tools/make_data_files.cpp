// make_data_files: converts Newcomb's table of planetary perturbations of the Sun, kept in
// sine/cosine form in data/sun-planetary-perturbations.tsv, into the two term files the
// program reads.
//
//   make_data_files TABLE.tsv OUTDIR   writes OUTDIR/planet.txt and OUTDIR/latitude.txt
//
// Each term c cos X + s sin X becomes amplitude cos(phase - X) with amplitude = hypot(c, s)
// and phase = atan2(s, c) in degrees. Longitude and latitude go from 0.001" to arcseconds;
// the radius part stays in units of 1e-9 of log10 r. planet.txt gets the rows with a
// longitude or radius part, latitude.txt those with a latitude part.
#include "tools/tsv_rows.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Row {
    int planet, planetMultiple, sunMultiple;
    double lonCos, lonSin, radCos, radSin, latCos, latSin;
};

constexpr double kPi = 3.14159265358979323846;

double phaseDegrees(double cosCoefficient, double sinCoefficient) {
    return std::atan2(sinCoefficient, cosCoefficient) * 180.0 / kPi;
}

std::string term(const Row& r, double amplitude1, double phase1) {
    char buf[160];
    std::snprintf(buf, sizeof buf, "%d, %d, %d, %.4f, %.4f", r.planet, r.planetMultiple,
                  r.sunMultiple, amplitude1, phase1);
    return buf;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_data_files TABLE.tsv OUTDIR\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::cerr << "make_data_files: cannot open " << argv[1] << "\n";
        return 1;
    }
    std::vector<Row> rows;
    for (const sorvane::tsv::Row& line : sorvane::tsv::dataRows(in)) {
        std::istringstream fields(line.text);
        Row r{};
        if (!(fields >> r.planet >> r.planetMultiple >> r.sunMultiple >> r.lonCos >> r.lonSin >>
              r.radCos >> r.radSin >> r.latCos >> r.latSin)) {
            std::cerr << "make_data_files: " << argv[1] << ":" << line.lineNumber
                      << ": expected 9 numbers\n";
            return 1;
        }
        rows.push_back(r);
    }

    const std::string outDir = argv[2];
    std::ofstream planet(outDir + "/planet.txt");
    std::ofstream latitude(outDir + "/latitude.txt");
    int planetCount = 0;
    int latitudeCount = 0;
    for (const Row& r : rows) {
        if (r.lonCos != 0 || r.lonSin != 0 || r.radCos != 0 || r.radSin != 0) {
            char radius[80];
            std::snprintf(radius, sizeof radius, ", %.2f, %.4f", std::hypot(r.radCos, r.radSin),
                          phaseDegrees(r.radCos, r.radSin));
            planet << term(r, std::hypot(r.lonCos, r.lonSin) / 1000.0,
                           phaseDegrees(r.lonCos, r.lonSin))
                   << radius << "\n";
            ++planetCount;
        }
        if (r.latCos != 0 || r.latSin != 0) {
            latitude << term(r, std::hypot(r.latCos, r.latSin) / 1000.0,
                             phaseDegrees(r.latCos, r.latSin))
                     << "\n";
            ++latitudeCount;
        }
    }
    if (!planet || !latitude) {
        std::cerr << "make_data_files: cannot write the files in " << outDir << "\n";
        return 1;
    }
    if (planetCount != 120 || latitudeCount != 34) {
        std::cerr << "make_data_files: expected 120 and 34 terms, got " << planetCount << " and "
                  << latitudeCount << "\n";
        return 1;
    }
    std::cout << "wrote " << planetCount << " terms to planet.txt, " << latitudeCount
              << " to latitude.txt\n";
    return 0;
}
