#include "sky/search_series.h"

#include <cmath>
#include <erfa.h>
#include <erfam.h>

namespace sorvane::sky {

double seriesNutationInLongitude(double jdTT) {
    // eraNut00a's arguments, Julian centuries from J2000.
    const double t = (jdTT - ERFA_DJ00) / ERFA_DJC;
    const double el = eraFal03(t);
    const double elp =
        std::fmod(1287104.79305 +
                      t * (129596581.0481 + t * (-0.5532 + t * (0.000136 + t * (-0.00001149)))),
                  ERFA_TURNAS) *
        ERFA_DAS2R;
    const double f = eraFaf03(t);
    const double d =
        std::fmod(1072260.70369 +
                      t * (1602961601.2090 + t * (-6.3706 + t * (0.006593 + t * (-0.00003169)))),
                  ERFA_TURNAS) *
        ERFA_DAS2R;
    const double om = eraFaom03(t);
    double dp = 0;
    for (int i = detail::kLunisolarTerms - 1; i >= 0; --i) {
        const detail::LunisolarTerm& term = detail::kLunisolar[i];
        const double arg = term.multipliers[0] * el + term.multipliers[1] * elp +
                           term.multipliers[2] * f + term.multipliers[3] * d +
                           term.multipliers[4] * om;
        dp += (term.sine + term.sinePerCentury * t) * std::sin(arg) + term.cosine * std::cos(arg);
    }
    // The planetary terms on eraNut00a's own (linear) arguments.
    const double planetary[13] = {std::fmod(2.35555598 + 8328.6914269554 * t, ERFA_D2PI),
                                  std::fmod(1.627905234 + 8433.466158131 * t, ERFA_D2PI),
                                  std::fmod(5.198466741 + 7771.3771468121 * t, ERFA_D2PI),
                                  std::fmod(2.18243920 - 33.757045 * t, ERFA_D2PI),
                                  eraFame03(t),
                                  eraFave03(t),
                                  eraFae03(t),
                                  eraFama03(t),
                                  eraFaju03(t),
                                  eraFasa03(t),
                                  eraFaur03(t),
                                  std::fmod(5.321159000 + 3.8127774000 * t, ERFA_D2PI),
                                  eraFapa03(t)};
    for (int i = detail::kPlanetaryTerms - 1; i >= 0; --i) {
        const detail::PlanetaryTerm& term = detail::kPlanetary[i];
        double arg = 0;
        for (int k = 0; k < 13; ++k) {
            arg += term.multipliers[k] * planetary[k];
        }
        dp += term.sine * std::sin(arg) + term.cosine * std::cos(arg);
    }
    dp *= ERFA_DAS2R / 1e7;
    // eraNut06a's adjustment to IAU 2006 precession.
    return dp + dp * (0.4697e-6 - 2.7774e-6 * t);
}

} // namespace sorvane::sky
