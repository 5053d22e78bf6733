// Every almanac call a window makes goes through guarded(): term tables that the reader
// accepted but that make the calculation fail end in one Japanese message box, never in an
// abort, and the window keeps what it showed before.
#pragma once

#include "calendar/calculation_error.h"

#include <QString>
#include <exception>
#include <utility>

class QWidget;

namespace sorvane::ui {

// The calculation's failure in Japanese, from its code and numbers.
QString japaneseCalculationError(const CalculationError& e);

// What a window says of the failure: that the data file's values cannot be calculated with,
// a blank line, then japaneseCalculationError(e).
QString calculationErrorMessage(const CalculationError& e);

// Shows calculationErrorMessage(e) in a message box (named "calculationError") over parent.
void reportCalculationError(QWidget* parent, const CalculationError& e);

// Shows, in a message box (named "unexpectedError") over parent, that the calculation
// stopped in a state the program does not expect, with the exception's own text.
void reportUnexpectedError(QWidget* parent, const std::exception& e);

// Runs call(); returns false, after the message box, when the calculation failed. Any other
// exception (a state the program should never reach, or memory running out) gets its own
// box too, so that the window reports it and carries on rather than aborting.
template <class Call> bool guarded(QWidget* parent, Call&& call) {
    try {
        std::forward<Call>(call)();
        return true;
    } catch (const CalculationError& e) {
        reportCalculationError(parent, e);
        return false;
    } catch (const std::exception& e) {
        reportUnexpectedError(parent, e);
        return false;
    }
}

} // namespace sorvane::ui
