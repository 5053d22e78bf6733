// The month painter: draws one month page of the calendar (a Japanese wall calendar's
// month) on any QPainter. The calendar page's grid and its printed pages both use it, so
// that what is printed is what the window shows.
#pragma once

// moc cannot parse the standard library's <compare>, which the date type needs.
#ifndef Q_MOC_RUN
#include "almanac/month_page.h"
#endif

#include <QRectF>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

class QFontMetricsF;
class QPainter;

namespace sorvane::ui {

// What the painter marks besides what the page holds.
struct PageMarks {
    std::optional<CivilDate> today;    // framed
    std::optional<CivilDate> selected; // filled
    // Lines a caller adds under a day's own lines (empty: none); called for the month's days.
    std::function<QStringList(const CivilDate&)> extraLines;
    // A line at the footer's left (the place of the rising and setting times; empty: none).
    QString footnote;
};

// A line of a day's cell set in a width: one row, condensed to at most kCondensed of its
// natural width when it is a little too long, or else broken into rows between any two
// characters, as Japanese is set. Never cut: the rows together are the whole text.
inline constexpr double kCondensed = 0.78;
struct SetLine {
    QStringList rows;
    double squeeze = 1; // horizontal scale of a single condensed row
};
SetLine setCellLine(const QString& text, const QFontMetricsF& metrics, double width);

// One month page laid out in an area: the header (era year, the year's 干支, the month), the
// weekday row, the grid of days and the footer line. Every size follows from the area, so
// the same page paints at any size and on any device.
class MonthPainter {
  public:
    MonthPainter(const almanac::MonthPage& page, const QRectF& area);

    void paint(QPainter& painter, const PageMarks& marks) const;

    // The index of the cell under a point, or -1.
    int cellAt(QPointF point) const;
    // The rectangle of cell `index` (0 is the first Sunday of the grid): a square, the upper
    // or lower half of one for the days of a folded sixth week, or an empty rectangle for the
    // neighbouring month's days left out of it.
    QRectF cell(int index) const;

    // The pixel size of the cells' text: one size for every month painted in an area of this
    // size, whatever the month holds (a crowded cell shows "他N件" instead of shrinking).
    double cellTextSize() const;

    // The header's texts as painted, each with its rectangle (the era year and 干支, the
    // month, the Gregorian year, the small months), to check that none overlaps another.
    std::vector<QRectF> headerBoxes() const;

  private:
    struct HeaderLayout {
        QRectF left, title, right, previous, next; // previous, next empty: not shown
        QStringList leftLines;
        double leftSize = 0;
        double titleSize = 0;
        double sideSize = 0;
        double smallRow = 0;
    };
    HeaderLayout headerLayout() const;
    void paintHeader(QPainter& painter) const;
    static void paintSmallMonth(QPainter& painter, const almanac::SmallMonth& month,
                                QPointF topLeft, double row, double column);
    void paintCell(QPainter& painter, const QRectF& box, const almanac::DayCell& cell,
                   const PageMarks& marks, double smallSize, almanac::CellPart part) const;
    void paintToday(QPainter& painter, const QRectF& box, const almanac::DayCell& cell,
                    const PageMarks& marks) const;
    QRectF square(int row, int column) const;
    static QRectF innerBox(const QRectF& box);
    double numberSize() const;

    const almanac::MonthPage& page_;
    QRectF area_;
    QRectF header_;
    QRectF weekdays_;
    QRectF grid_;
    QRectF footer_;
    QSizeF nominal_; // the square the type is sized for
    int rows_ = 0;
};

} // namespace sorvane::ui
