// The one search under the Sun's and the Moon's moments and the risings and settings: the
// moment a function of time reaches its target inside a window, with a status.
#pragma once

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

namespace sorvane::sky {

// What a searched function gives at a moment: how far it still has to go to its target (for
// an angle, degrees reduced to -180..180; for an altitude, its value) and its rate (per day;
// NaN where the function has none, and the search then keeps to a bracket).
struct AngleToGo {
    double degrees = 0;
    double rate = std::numeric_limits<double>::quiet_NaN();
};

// The span of time a search may look in: from < to, in the time scale the function takes.
struct Window {
    double from = 0;
    double to = 0;
};

enum class SearchStatus {
    Found,        // the moment, within the tolerance
    NotBracketed, // the window's ends do not bracket the target: no moment is sure there
    NotConverged, // the steps ran out before they fell below the tolerance
};

struct Found {
    double jd = 0;   // the moment (with NotConverged the last iterate)
    double rate = 0; // the rate at the last evaluation (NaN for a function without one)
    SearchStatus status = SearchStatus::Found;
};

// A search that did not find its moment, for a caller that cannot go on without it.
class SearchError : public std::runtime_error {
  public:
    SearchError(SearchStatus status, const std::string& what)
        : std::runtime_error(what), status_(status) {}
    SearchStatus status() const { return status_; }

  private:
    SearchStatus status_;
};

namespace detail {

// One search, from a guess (Newton's steps) or inside a bracket already known.
template <class F> class Searcher {
  public:
    Searcher(F& f, Window window, double tolerance) : f_(f), window_(window), tol_(tolerance) {}

    // A bracket from the window's ends and f's values there; false unless they bracket.
    bool bracket(double fFrom, double fTo) {
        if (!std::isfinite(fFrom) || !std::isfinite(fTo) ||
            ((fFrom < 0) == (fTo < 0) && fFrom != 0 && fTo != 0)) {
            return false;
        }
        a_ = window_.from;
        b_ = window_.to;
        fa_ = fFrom;
        fb_ = fTo;
        bracketed_ = true;
        return true;
    }

    // Newton's steps while they stay in the window (or, once known, the bracket), else
    // false position with the Illinois modification (the retained end's value halved when
    // the same end is kept twice), which keeps the bracket and converges superlinearly on
    // a smooth crossing.
    Found run(double t, int maxSteps) {
        Found found{t, std::numeric_limits<double>::quiet_NaN(), SearchStatus::NotConverged};
        for (int i = 0; i < maxSteps; ++i) {
            const AngleToGo v = f_(t);
            found.jd = t;
            found.rate = v.rate;
            if (v.degrees == 0) {
                found.status = SearchStatus::Found;
                return found;
            }
            if (bracketed_) {
                narrow(t, v.degrees);
            }
            const double newton = t + v.degrees / v.rate;
            const bool inside = std::isfinite(newton) &&
                                (bracketed_ ? newton > a_ && newton < b_
                                            : newton >= window_.from && newton <= window_.to);
            if (inside) {
                found.jd = newton;
                if (std::fabs(newton - t) < tol_) {
                    found.status = SearchStatus::Found;
                    return found;
                }
                t = newton;
                continue;
            }
            if (!bracketed_) {
                if (!bracket(f_(window_.from).degrees, f_(window_.to).degrees)) {
                    found.status = SearchStatus::NotBracketed;
                    return found;
                }
                narrow(t, v.degrees);
            }
            const double next = falsePosition();
            found.jd = next;
            // Without a rate the false position's own step ends the search; with one, only a
            // Newton step does (or a bracket narrower than the tolerance), as from the guess.
            const bool settled = !std::isfinite(v.rate) && std::fabs(t - next) < tol_ / 4;
            if (b_ - a_ < tol_ || settled) {
                found.status = SearchStatus::Found;
                return found;
            }
            t = next;
        }
        return found;
    }

    double falsePosition() const { return (a_ * fb_ - b_ * fa_) / (fb_ - fa_); }

  private:
    void narrow(double t, double ft) {
        if (t <= a_ || t >= b_) {
            return;
        }
        if ((ft < 0) == (fa_ < 0)) {
            a_ = t;
            fa_ = ft;
            if (kept_ == +1) {
                fb_ /= 2;
            }
            kept_ = +1;
        } else {
            b_ = t;
            fb_ = ft;
            if (kept_ == -1) {
                fa_ /= 2;
            }
            kept_ = -1;
        }
    }

    F& f_;
    Window window_;
    double tol_;
    bool bracketed_ = false;
    double a_ = 0;
    double b_ = 0;
    double fa_ = 0;
    double fb_ = 0;
    int kept_ = 0; // -1: a was kept last time, +1: b was
};

} // namespace detail

// search: the moment in a window at which f reaches its target.
//   f          the function of the moment (Julian date), returning AngleToGo
//   window     where the moment must lie
//   guess      a moment in the window near the answer
//   tolerance  days: the search stops after a Newton step smaller than this (the next
//              would be far smaller), or when the bracket is narrower than this
//   maxSteps   at most this many evaluations besides the window's ends
// Method: Newton's method from the guess, each step the angle to go over its rate, so the
// error falls quadratically: two to four evaluations from a guess within an hour. A step
// that would leave the window, or a rate that is zero or not finite, makes the search
// evaluate f at the window's ends: if f does not change sign across the window the status is
// NotBracketed; else it keeps to that bracket, by Newton's steps where they stay inside and
// false position (Illinois) where they do not.
template <class F>
Found search(F&& f, Window window, double guess, double tolerance, int maxSteps) {
    detail::Searcher<F> searcher(f, window, tolerance);
    return searcher.run(guess, maxSteps);
}

// searchBracket: as search, for a function whose values at the window's ends are known and
// whose rate may be missing (NaN): false position (Illinois) from the start, about six
// evaluations from a half-day bracket of a rising or setting to 1e-6 day. NotBracketed,
// without evaluating f, unless fFrom and fTo are finite and of opposite signs (or one is 0).
template <class F>
Found searchBracket(F&& f, Window window, double fFrom, double fTo, double tolerance,
                    int maxSteps = 100) {
    detail::Searcher<F> searcher(f, window, tolerance);
    if (!searcher.bracket(fFrom, fTo)) {
        return {window.from, std::numeric_limits<double>::quiet_NaN(), SearchStatus::NotBracketed};
    }
    return searcher.run(searcher.falsePosition(), maxSteps);
}

// The status in words, for messages: "not bracketed", "not converged", "found".
inline const char* statusText(SearchStatus status) {
    switch (status) {
    case SearchStatus::Found:
        return "found";
    case SearchStatus::NotBracketed:
        return "not bracketed";
    case SearchStatus::NotConverged:
        return "not converged";
    }
    return "";
}

} // namespace sorvane::sky
