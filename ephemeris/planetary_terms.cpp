#include "ephemeris/planetary_terms.h"

#include <cmath>

namespace sorvane {

void computePlanetaryTerms(double jd, const Tables& tables, SunComponents& c) {
    const double t = (jd - 2396758.0) / 365.25;
    c.meanAnomalies[1] = t * 1494.7253 + 248.07;  // Mercury
    c.meanAnomalies[2] = t * 585.17493 + 114.5;   // Venus
    c.meanAnomalies[4] = t * 191.39977 + 109.856; // Mars
    c.meanAnomalies[5] = t * 30.34583 + 148.031;  // Jupiter
    c.meanAnomalies[6] = t * 12.21794 + 284.716;  // Saturn

    const double g = c.meanAnomalies[3];
    c.planetaryLongitude = 0;
    c.planetaryLogRadius = 0;
    for (int i = 1; i <= kPlanetTermCount; ++i) {
        const PlanetTerm& term = tables.planetTerms[i];
        // The loader accepts only codes 1..6; a hand-built table with another code throws
        // here instead of reading past the anomalies.
        const double A = c.meanAnomalies.at(static_cast<std::size_t>(term.planetCode));
        const double j = term.planetMultiple;
        const double s = term.sunMultiple;
        const double theta1 = ((term.longitudePhase - j * A) - s * g) * kDegToRad;
        c.planetaryLongitude = term.longitudeAmplitude * std::cos(theta1) + c.planetaryLongitude;
        const double theta2 = ((term.radiusPhase - j * A) - s * g) * kDegToRad;
        c.planetaryLogRadius = term.radiusAmplitude * std::cos(theta2) + c.planetaryLogRadius;
    }
    c.planetaryLongitude = c.planetaryLongitude / 3600;
}

} // namespace sorvane
