// The month window: one month's days with their weekdays and sexagenary names.
#pragma once

#include "almanac/month_listing.h"

#include <QWidget>

class QLabel;
class QTextEdit;

namespace sorvane::ui {

// A tool window of fixed size, owned by the main window. It is created on first use and
// deleted when the user closes it; the main window places it (see Form1::dockMonthWindow).
class Form2 : public QWidget {
    Q_OBJECT

  public:
    explicit Form2(QWidget* owner);

    // Replaces the whole content: the day lines and the two headings.
    void showListing(const almanac::MonthListing& listing);

  private:
    QTextEdit* txtnikkan_ = nullptr;
    QLabel* lblnen_ = nullptr;
    QLabel* lbltuki_ = nullptr;
};

} // namespace sorvane::ui
