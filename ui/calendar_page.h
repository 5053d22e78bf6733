// The calendar page window (暦): one month as a Japanese wall calendar shows it, with the
// lunisolar date, 六曜, 干支, the solar terms, 雑節 and the Moon's phases of each day, a
// details pane for the selected day, and printing of the month or the year.
#pragma once

// moc cannot parse the standard library's <compare>, which the date type needs.
#ifndef Q_MOC_RUN
#include "almanac/month_page.h"
#include "ephemeris/tables.h"
#include "ui/month_painter.h"
#include "ui/place_menu.h"
#endif

#include <QDate>
#include <QWidget>

class QPageLayout;
class QPagedPaintDevice;
class QPainter;
class QPrinter;
class QPushButton;
class QSpinBox;
class QTextEdit;
class QTimer;

namespace sorvane::ui {

// The calendar's usual page: A4 landscape with 10 mm margins.
QPageLayout calendarPageLayout();

// Prints months first..last of a year on a printer or a PDF writer, one month per page, in
// the device's page layout (each month fills the paper's printable area, either way up).
// With notes, each day carries its 暦注 as the window shows them. Returns false when the
// device cannot be started. The printed pages give no rising or setting times, so they name
// no place.
bool paintMonths(QPagedPaintDevice& device, almanac::CalendarYears& years, int year, int first,
                 int last, bool notes = false);

// The marks that add each day's 暦注 (years.cellNotes) under its own lines, as the grid and
// the printed pages show them with the notes on.
PageMarks noteMarks(almanac::CalendarYears& years);

// As paintMonths, on A4 landscape (calendarPageLayout).
bool printMonths(QPagedPaintDevice& device, almanac::CalendarYears& years, int year, int first,
                 int last, bool notes = false);

// The title of printed months first..last of a year: "暦 2026年5月", "暦 2026年" for the
// whole year, "暦 2026年3月〜5月".
QString printTitle(int year, int first, int last);

// `sorvane --print-calendar-pdf YYYY[-MM] FILE [--notes | --no-notes] [--place NAME |
// --lat DEG --lon DEG]` (the arguments after the option name): prints a month or a whole year
// to a PDF file, A4 landscape, as 印刷… does: with the 暦注 and the place of the rising and
// setting times kept in the settings unless the arguments say otherwise. An argument it does
// not know, a missing or doubled one, an unknown place or coordinates out of range are one
// line on standard error and status 2, before anything is printed; otherwise the status of
// printCalendarPdfCommand.
int printCalendarPdf(const Tables& tables, const QStringList& arguments);

// The grid: paints the page and moves the selected day with the keyboard and the mouse.
class MonthView : public QWidget {
    Q_OBJECT

  public:
    explicit MonthView(QWidget* parent = nullptr);

    void setPage(const almanac::MonthPage* page, const PageMarks& marks);
    // The cell under a point, or -1.
    int cellAt(QPointF point) const;

  signals:
    // The user asks for a day `days` away from the selected one (arrow keys) or a day of the
    // grid (a click). The grid's actions (its context menu) carry the other keys.
    void stepDays(int days);
    void dayClicked(sorvane::CivilDate date);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    const almanac::MonthPage* page_ = nullptr;
    PageMarks marks_;
};

class CalendarPage : public QWidget {
    Q_OBJECT

  public:
    CalendarPage(const Tables& tables, QWidget* parent = nullptr);

    // Shows the month of `date` with that day selected (years -32768..32767).
    void showDate(const CivilDate& date);
    void stepMonths(int months);
    void stepDays(int days);
    // Shows a month of another year, the selected day kept (or the month's last day).
    void showMonth(int year, int month);
    void showToday();
    void print();
    // Prints months first..last of the shown year on a printer the print dialog has set up, in
    // its page layout (to a PDF file: replaced whole or not at all). On failure a message box
    // says why.
    bool printTo(QPrinter& printer, int first, int last);

    // The 暦注 in the cells, the details pane and the printed pages (off at first).
    void setNotesShown(bool shown);
    bool notesShown() const { return notesShown_; }

    // The place of the details pane's rising and setting times (東京 at first).
    void setPlace(const horizon::NamedPlace& place);
    const horizon::NamedPlace& place() const { return times_.place(); }

    const almanac::MonthPage& page() const { return page_; }
    CivilDate selectedDate() const { return selected_; }

  private:
    void createControls();
    void showDetails();
    bool printPages(QPrinter& printer, int first, int last);
    void showMarks();
    void armMidnight();

    almanac::CalendarYears years_;
    almanac::MonthPage page_;
    CivilDate selected_;
    bool notesShown_ = false;
    MonthTimes times_; // the selected day's, a month at a time

    MonthView* view_ = nullptr;
    QTextEdit* details_ = nullptr;
    QTimer* midnight_ = nullptr;
    QSpinBox* yearBox_ = nullptr;
    QSpinBox* monthBox_ = nullptr;
};

} // namespace sorvane::ui
