// The one search: Newton's steps in a window, the bracket when they leave it, and the status.
#include "sky/search.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace sorvane::sky {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A searched function: value(t) - target, with or without its rate, counting evaluations.
struct Case {
    std::string name;
    double (*value)(double);
    double (*rate)(double); // nullptr: the function gives no rate
    double target;
    Window window;
    double guess;
    int maxSteps;
    SearchStatus status;
    double root; // where Found must land (within 1e-9)
};

double line(double t) {
    return 2.0 * t;
}
double two(double) {
    return 2.0;
}
double wave(double t) {
    return t + 0.9 * std::sin(t);
} // rises throughout, rate 0.1..1.9
double waveRate(double t) {
    return 1.0 + 0.9 * std::cos(t);
}
double bump(double t) {
    return std::cos(t);
} // rate 0 at t = 0
double bumpRate(double t) {
    return -std::sin(t);
}

TEST(Search, NewtonTheBracketAndTheStatus) {
    const double waveRoot = 2.0; // wave(2) is the target below
    const Case cases[] = {
        {"Newton from a near guess", line, two, 3.0, {0, 10}, 1.2, 20, SearchStatus::Found, 1.5},
        {"Newton on a curved rise",
         wave,
         waveRate,
         wave(waveRoot),
         {0, 6},
         2.5,
         20,
         SearchStatus::Found,
         waveRoot},
        // The first step from 3.0 (rate 0.11) would leave the window: the bracket takes over.
        {"a step leaving the window",
         wave,
         waveRate,
         wave(waveRoot),
         {0, 3.2},
         3.0,
         40,
         SearchStatus::Found,
         waveRoot},
        {"no rate: false position",
         wave,
         nullptr,
         wave(waveRoot),
         {0, 6},
         5.0,
         60,
         SearchStatus::Found,
         waveRoot},
        {"a zero rate at the guess",
         bump,
         bumpRate,
         0.0,
         {-1, 3},
         0.0,
         40,
         SearchStatus::Found,
         std::acos(0.0)},
        {"a window without the target",
         line,
         two,
         30.0,
         {0, 10},
         20.0,
         20,
         SearchStatus::NotBracketed,
         0},
        {"a rate that is not finite, no bracket",
         line,
         nullptr,
         30.0,
         {0, 10},
         5.0,
         20,
         SearchStatus::NotBracketed,
         0},
        {"too few steps",
         wave,
         waveRate,
         wave(waveRoot),
         {0, 3.2},
         3.0,
         2,
         SearchStatus::NotConverged,
         0},
    };
    for (const Case& c : cases) {
        int evaluations = 0;
        const auto f = [&](double t) {
            ++evaluations;
            return AngleToGo{c.target - c.value(t), c.rate != nullptr ? c.rate(t) : kNaN};
        };
        const Found found = search(f, c.window, c.guess, 1e-12, c.maxSteps);
        EXPECT_EQ(found.status, c.status) << c.name << ": " << statusText(found.status);
        if (c.status == SearchStatus::Found) {
            EXPECT_NEAR(found.jd, c.root, 1e-9) << c.name;
            EXPECT_GE(found.jd, c.window.from) << c.name;
            EXPECT_LE(found.jd, c.window.to) << c.name;
        }
        EXPECT_LE(evaluations, c.maxSteps + 2) << c.name; // the steps and the window's ends
    }
}

// With the ends' values given: none evaluated again, and no search without a sign change.
TEST(Search, BracketGivenByTheCaller) {
    int evaluations = 0;
    const auto f = [&](double t) {
        ++evaluations;
        return AngleToGo{wave(t) - wave(2.0)};
    };
    const Found found = searchBracket(f, Window{0, 6}, f(0).degrees, f(6).degrees, 1e-10);
    EXPECT_EQ(found.status, SearchStatus::Found);
    EXPECT_NEAR(found.jd, 2.0, 1e-9);
    EXPECT_LT(evaluations, 2 + 20); // superlinear: far fewer steps than bisection's 36

    evaluations = 0;
    EXPECT_EQ(searchBracket(f, Window{0, 1}, 1.0, 2.0, 1e-10).status, SearchStatus::NotBracketed);
    EXPECT_EQ(searchBracket(f, Window{0, 1}, kNaN, -2.0, 1e-10).status, SearchStatus::NotBracketed);
    EXPECT_EQ(evaluations, 0);
    // An end on the target is a bracket, and the answer.
    const Found atEnd = searchBracket(f, Window{2.0, 6}, 0.0, f(6).degrees, 1e-10);
    EXPECT_EQ(atEnd.status, SearchStatus::Found);
    EXPECT_DOUBLE_EQ(atEnd.jd, 2.0);
}

} // namespace
} // namespace sorvane::sky
