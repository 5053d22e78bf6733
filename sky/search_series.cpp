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
        double sine = 0;
        double cosine = 0;
        detail::sineCosine(arg, sine, cosine);
        dp += (term.sine + term.sinePerCentury * t) * sine + term.cosine * cosine;
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
        double sine = 0;
        double cosine = 0;
        detail::sineCosine(arg, sine, cosine);
        dp += term.sine * sine + term.cosine * cosine;
    }
    dp *= ERFA_DAS2R / 1e7;
    // eraNut06a's adjustment to IAU 2006 precession.
    return dp + dp * (0.4697e-6 - 2.7774e-6 * t);
}

} // namespace sorvane::sky

namespace sorvane::sky {

EarthState seriesEarth(double jdTT) {
    const double t = (jdTT - ERFA_DJ00) / ERFA_DJY;
    // Per slot (3 coordinate + power): the sum of amplitude cos(phase + c t), and of
    // amplitude c sin(phase + c t) for the terms that enter the velocity.
    double cosines[18] = {};
    double sines[18] = {};
    double frequencySines[detail::kMaxEarthFrequencies];
    double frequencyCosines[detail::kMaxEarthFrequencies];
    const detail::EarthTerm* term = detail::kEarthTerms;
    for (int f = 0; f < detail::kEarthFrequencyCount; ++f) {
        const detail::EarthFrequency& frequency = detail::kEarthFrequencies[f];
        double s = 0;
        double c = 0;
        if (frequency.sumOf[0] < 0) {
            detail::sineCosine(frequency.rate * t, s, c);
        } else {
            const int a = frequency.sumOf[0];
            const int b = frequency.sumOf[1];
            s = frequencySines[a] * frequencyCosines[b] + frequencyCosines[a] * frequencySines[b];
            c = frequencyCosines[a] * frequencyCosines[b] - frequencySines[a] * frequencySines[b];
        }
        frequencySines[f] = s;
        frequencyCosines[f] = c;
        for (int n = frequency.withVelocity; n > 0; --n, ++term) {
            cosines[term->slot] += term->amplitude * (c * term->cosPhase - s * term->sinPhase);
            // The amplitude times the rate: the velocity term's factor.
            sines[term->slot] +=
                (term->amplitude * frequency.rate) * (s * term->cosPhase + c * term->sinPhase);
        }
        for (int n = frequency.positionOnly; n > 0; --n, ++term) {
            cosines[term->slot] += term->amplitude * (c * term->cosPhase - s * term->sinPhase);
        }
    }
    // eraEpv00's sums: a t^n cos(phase + c t), and their derivatives.
    double p[6];
    double v[6];
    for (int k = 0; k < 6; ++k) {
        const double* cs = cosines + 3 * k;
        const double* sn = sines + 3 * k;
        p[k] = cs[0] + t * (cs[1] + t * cs[2]);
        v[k] = -sn[0] + (cs[1] - t * sn[1]) + t * (2.0 * cs[2] - t * sn[2]);
    }
    EarthState e;
    const double(&m)[3][3] = detail::kEarthToBcrs;
    for (int i = 0; i < 3; ++i) {
        double ph = 0;
        double vh = 0;
        double pb = 0;
        double vb = 0;
        for (int j = 0; j < 3; ++j) {
            ph += m[i][j] * p[j];
            vh += m[i][j] * v[j];
            pb += m[i][j] * (p[j] + p[j + 3]);
            vb += m[i][j] * (v[j] + v[j + 3]);
        }
        e.pvh[0][i] = ph;
        e.pvh[1][i] = vh / ERFA_DJY;
        e.pvb[0][i] = pb;
        e.pvb[1][i] = vb / ERFA_DJY;
    }
    return e;
}

namespace detail {

void sineCosine(double x, double& s, double& c) {
    // x - n pi/2 in three parts (fdlibm's e_rem_pio2.c: the first two of 33 bits, so that n
    // times them is exact for |n| < 2^20, |x| < 1.6e6), then fdlibm's kernels for |r| <= pi/4
    // (k_sin.c, k_cos.c: within an ulp there).
    constexpr double kTwoOverPi = 6.36619772367581382433e-01;
    constexpr double kPio2First = 1.57079632673412561417e+00;
    constexpr double kPio2Second = 6.07710050630396597660e-11;
    constexpr double kPio2Rest = 2.02226624879595063154e-21;
    const double scaled = x * kTwoOverPi;
    const auto quarter = static_cast<long long>(scaled < 0 ? scaled - 0.5 : scaled + 0.5);
    const auto n = static_cast<double>(quarter);
    const double r = ((x - n * kPio2First) - n * kPio2Second) - n * kPio2Rest;
    const double z = r * r;
    const double sinR =
        r +
        r * z *
            (-1.66666666666666324348e-01 +
             z * (8.33333333332248946124e-03 +
                  z * (-1.98412698298579493134e-04 +
                       z * (2.75573137070700676789e-06 +
                            z * (-2.50507602534068634195e-08 + z * 1.58969099521155010221e-10)))));
    const double cosR =
        1.0 - 0.5 * z +
        z * z *
            (4.16666666666666019037e-02 +
             z * (-1.38888888888741095749e-03 +
                  z * (2.48015872894767294178e-05 +
                       z * (-2.75573143513906633035e-07 +
                            z * (2.08757232129817482790e-09 + z * -1.13596475577881948265e-11)))));
    switch (quarter & 3) {
    case 0:
        s = sinR;
        c = cosR;
        break;
    case 1:
        s = cosR;
        c = -sinR;
        break;
    case 2:
        s = -sinR;
        c = -cosR;
        break;
    default:
        s = -cosR;
        c = sinR;
        break;
    }
}

} // namespace detail

} // namespace sorvane::sky
