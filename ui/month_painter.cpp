#include "ui/month_painter.h"

#include "calendar/year_text.h"
#include "ui/date_popup.h"
#include "ui/fonts.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <utility>

namespace sorvane::ui {

namespace {

const QColor kInk(0x20, 0x20, 0x20);
const QColor kFaint(0x9a, 0x9a, 0x9a);
const QColor kRule(0xa8, 0xa8, 0xa8);
const QColor kMarkGreen(0x1e, 0x6e, 0x32);
const QColor kTodayFrame(0xe0, 0x70, 0x00);
const QColor kSelectedFill(0xff, 0xf4, 0xc4);
const QColor kOutsideFill(0xf3, 0xf3, 0xf3);
const QColor kNoteBrown(0x80, 0x4a, 0x10);
const QColor kDoyoBand(0xee, 0xdc, 0xb8);
const QColor kHiganBand(0xe2, 0xd6, 0xee);

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

QFont pixelFont(double pixels, bool bold = false) {
    QFont font = programFont(9, bold);
    font.setPixelSize(std::max(1, static_cast<int>(pixels)));
    return font;
}

QColor dayColour(const almanac::DayCell& cell) {
    if (!cell.inMonth) {
        return kFaint;
    }
    if (cell.weekday == 1 || cell.holiday) {
        return kSundayRed;
    }
    return cell.weekday == 7 ? kSaturdayBlue : kInk;
}

// The Moon as calendars draw it: 朔 dark, 望 bright, the quarters half lit (上弦 on the right,
// 下弦 on the left, as seen from Japan).
void paintPhase(QPainter& painter, QPointF centre, double radius, lunisolar::Phase phase) {
    const QRectF disc(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    painter.save();
    painter.setPen(QPen(kInk, std::max(1.0, radius / 6)));
    painter.setBrush(phase == lunisolar::Phase::New ? QBrush(kInk) : QBrush(Qt::white));
    painter.drawEllipse(disc);
    if (phase == lunisolar::Phase::FirstQuarter || phase == lunisolar::Phase::LastQuarter) {
        QPainterPath dark;
        dark.moveTo(centre);
        dark.arcTo(disc, 90, phase == lunisolar::Phase::FirstQuarter ? 180 : -180);
        dark.closeSubpath();
        painter.fillPath(dark, kInk);
    }
    painter.restore();
}

} // namespace

MonthPainter::MonthPainter(const almanac::MonthPage& page, const QRectF& area)
    : page_(page), area_(area), rows_(almanac::gridRows(page)) {
    const double h = area.height();
    header_ = QRectF(area.left(), area.top(), area.width(), h * 0.13);
    weekdays_ = QRectF(area.left(), header_.bottom(), area.width(), h * 0.045);
    // The footer: the mode line, and a line for each limit of the sources the month runs into.
    const double footerRows = static_cast<double>(std::max<std::size_t>(1, page.limitNotes.size()));
    const double footerHeight = std::max(h * 0.04, h * 0.032 * footerRows);
    footer_ = QRectF(area.left(), area.bottom() - footerHeight, area.width(), footerHeight);
    grid_ =
        QRectF(area.left(), weekdays_.bottom(), area.width(), footer_.top() - weekdays_.bottom());
    // The square the type is sized for: five weeks over a footer of one line, whatever this
    // month has, so that every month of the area gets the same type.
    nominal_ = QSizeF(area.width() / 7,
                      (area.bottom() - std::max(h * 0.04, h * 0.032) - weekdays_.bottom()) /
                          almanac::kPageRows);
}

QRectF MonthPainter::square(int row, int column) const {
    const double w = grid_.width() / 7;
    const double hh = grid_.height() / std::max(1, rows_);
    return QRectF(grid_.left() + column * w, grid_.top() + row * hh, w, hh);
}

QRectF MonthPainter::cell(int index) const {
    if (index < 0 || index >= static_cast<int>(page_.cells.size())) {
        return {};
    }
    const almanac::GridSlot slot = almanac::gridSlot(page_, static_cast<std::size_t>(index));
    const QRectF box = square(slot.row, slot.column);
    switch (slot.part) {
    case almanac::CellPart::Whole:
        return box;
    case almanac::CellPart::Upper:
        return QRectF(box.left(), box.top(), box.width(), box.height() / 2);
    case almanac::CellPart::Lower:
        return QRectF(box.left(), box.center().y(), box.width(), box.height() / 2);
    case almanac::CellPart::Hidden:
        return {};
    }
    return box;
}

int MonthPainter::cellAt(QPointF point) const {
    for (int i = 0; i < static_cast<int>(page_.cells.size()); ++i) {
        if (cell(i).contains(point)) {
            return i;
        }
    }
    return -1;
}

namespace {

// A line under a day's number; `fuller` the same line with its words in full, shown instead
// where it fits on one row.
struct CellLine {
    QString text;
    QColor colour;
    QString fuller;
};

// The 暦注 marks 寅 and 巳 are the 寅の日 and 巳の日.
QString fullerMarks(const QString& line) {
    QStringList words = line.split(QLatin1Char(' '));
    for (QString& word : words) {
        if (word == QStringLiteral("寅") || word == QStringLiteral("巳")) {
            word += QStringLiteral("の日");
        }
    }
    return words.join(QLatin1Char(' '));
}

std::vector<CellLine> cellLines(const almanac::DayCell& cell, const PageMarks& marks) {
    std::vector<CellLine> lines;
    if (cell.holiday) {
        lines.push_back({qs(*cell.holiday), kSundayRed, QString()});
    }
    QString lunar =
        cell.lunar ? qs(almanac::lunarCellText(*cell.lunar)) + QLatin1Char(' ') : QString();
    lines.push_back({lunar + qs(cell.kanshi), kInk, QString()});
    for (const std::string& mark : cell.marks) {
        lines.push_back({qs(mark), kMarkGreen, QString()});
    }
    if (cell.eclipse) {
        lines.push_back({qs(*cell.eclipse), kMarkGreen, QString()});
    }
    if (marks.extraLines) {
        for (const QString& extra : marks.extraLines(cell.date)) {
            lines.push_back({extra, kInk, fullerMarks(extra)});
        }
    }
    return lines;
}

} // namespace

SetLine setCellLine(const QString& text, const QFontMetricsF& metrics, double width) {
    const double natural = metrics.horizontalAdvance(text);
    if (natural <= width) {
        return {{text}, 1};
    }
    if (natural * kCondensed <= width) {
        return {{text}, width / natural};
    }
    SetLine set;
    QString row;
    for (int i = 0; i < text.size(); ++i) {
        const int length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString next = row + text.mid(i, length);
        if (!row.isEmpty() && metrics.horizontalAdvance(next) > width) {
            set.rows << row;
            row = text.mid(i, length);
        } else {
            row = next;
        }
        i += length - 1;
    }
    set.rows << row;
    return set;
}

void MonthPainter::paintCell(QPainter& painter, const QRectF& box, const almanac::DayCell& cell,
                             const PageMarks& marks, double smallSize,
                             almanac::CellPart part) const {
    if (!cell.inMonth) {
        painter.fillRect(box, kOutsideFill);
    } else if (marks.selected && *marks.selected == cell.date) {
        painter.fillRect(box, kSelectedFill);
    }
    const QRectF inner = innerBox(box);
    // A half square's number is smaller, so that a line still fits under it.
    const double figure = part == almanac::CellPart::Whole
                              ? numberSize()
                              : std::min(numberSize(), box.height() * 0.3);

    painter.setPen(dayColour(cell));
    const QFont numberFont = pixelFont(figure, true);
    painter.setFont(numberFont);
    const QString number = QString::number(cell.date.day);
    const QFontMetricsF numberMetrics(numberFont);
    const QRectF numberBox(inner.left(), inner.top(), inner.width(), numberMetrics.height());
    painter.drawText(numberBox, Qt::AlignLeft | Qt::AlignTop, number);

    if (cell.inMonth) {
        const QFont small = pixelFont(smallSize);
        const QFontMetricsF smallMetrics(small);
        // A 土用 or 彼岸 runs as a band along the bottom of its days, named where it begins
        // and at the start of each week and month it crosses.
        double textBottom = inner.bottom();
        if (cell.period) {
            const double height = smallMetrics.height() * 0.85;
            const QRectF band(box.left() + (cell.period->first ? inner.left() - box.left() : 0),
                              inner.bottom() - height,
                              box.width() - (cell.period->first ? inner.left() - box.left() : 0) -
                                  (cell.period->last ? box.right() - inner.right() : 0),
                              height);
            painter.fillRect(band, cell.period->name == "土用" ? kDoyoBand : kHiganBand);
            if (cell.period->first || cell.weekday == 1 || cell.date.day == 1) {
                painter.setPen(kInk);
                painter.setFont(pixelFont(height * 0.78));
                painter.drawText(band.adjusted(height * 0.2, 0, 0, 0),
                                 Qt::AlignLeft | Qt::AlignVCenter, qs(cell.period->name));
            }
            textBottom = band.top();
        }
        painter.setFont(small);
        double right = inner.right();
        if (cell.rokuyo) {
            painter.setPen(kInk);
            const QString rokuyo = qs(*cell.rokuyo);
            painter.drawText(
                QRectF(inner.left(), inner.top(), inner.width(), smallMetrics.height()),
                Qt::AlignRight | Qt::AlignTop, rokuyo);
            right -= smallMetrics.horizontalAdvance(rokuyo) + smallMetrics.averageCharWidth();
        }
        if (cell.phase) {
            // Beside the number, and never over the 六曜: in a narrow cell the symbol shrinks
            // to the room between them.
            const double numberRight = inner.left() + numberMetrics.horizontalAdvance(number);
            double radius = figure * 0.3;
            const double room = right - numberRight;
            radius = std::max(1.0, std::min(radius, room / 2.6));
            paintPhase(
                painter,
                QPointF(numberRight + radius * 1.6, inner.top() + numberMetrics.ascent() * 0.55),
                radius, cell.phase->phase);
        }

        // The lines under the number: holiday, lunisolar date and 干支, then the day's marks;
        // as many as fit, and "他N件" for the rest.
        const std::vector<CellLine> lines = cellLines(cell, marks);
        std::vector<SetLine> set;
        std::vector<int> rowsPerLine;
        for (const CellLine& line : lines) {
            const bool full = !line.fuller.isEmpty() && line.fuller != line.text &&
                              smallMetrics.horizontalAdvance(line.fuller) <= inner.width();
            set.push_back(setCellLine(full ? line.fuller : line.text, smallMetrics, inner.width()));
            rowsPerLine.push_back(static_cast<int>(set.back().rows.size()));
        }
        const double lineHeight = smallMetrics.height();
        const int capacity = std::max(
            0, static_cast<int>(std::floor((textBottom - numberBox.bottom() + 1) / lineHeight)));
        const std::size_t shown = almanac::linesShown(rowsPerLine, capacity);
        double y = numberBox.bottom();
        const double baseline = smallMetrics.ascent();
        for (std::size_t i = 0; i < shown; ++i) {
            painter.setPen(lines[i].colour);
            for (const QString& row : set[i].rows) {
                if (set[i].squeeze == 1) {
                    painter.drawText(QPointF(inner.left(), y + baseline), row);
                } else {
                    painter.save();
                    painter.translate(inner.left(), y + baseline);
                    painter.scale(set[i].squeeze, 1);
                    painter.drawText(QPointF(0, 0), row);
                    painter.restore();
                }
                y += lineHeight;
            }
        }
        if (shown < lines.size() && capacity > 0) {
            painter.setPen(kNoteBrown);
            painter.drawText(QPointF(inner.left(), y + baseline),
                             qs(almanac::moreText(lines.size() - shown)));
        }
    }
    paintToday(painter, box, cell, marks);
}

void MonthPainter::paintToday(QPainter& painter, const QRectF& box, const almanac::DayCell& cell,
                              const PageMarks& marks) const {
    if (marks.today && *marks.today == cell.date) {
        const double width = std::max(2.0, box.width() * 0.03);
        painter.setPen(QPen(kTodayFrame, width));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box.adjusted(width / 2, width / 2, -width / 2, -width / 2));
    }
}

QRectF MonthPainter::innerBox(const QRectF& box) {
    const double pad = std::max(2.0, box.width() * 0.04);
    return box.adjusted(pad, pad * 0.5, -pad, -pad * 0.5);
}

double MonthPainter::numberSize() const {
    return std::min(nominal_.height() * 0.22, nominal_.width() * 0.24);
}

double MonthPainter::cellTextSize() const {
    // As large as the square's width allows for a line such as "旧閏6/14 戊申", below the
    // number's size, and small enough for kCellRows rows under the number (a 土用 or 彼岸 band
    // takes about one of them).
    constexpr double kCellRows = 5;
    const QRectF inner = innerBox(QRectF(QPointF(0, 0), nominal_));
    const double lineHeight = QFontMetricsF(pixelFont(100)).height() / 100;
    const double room = inner.height() - QFontMetricsF(pixelFont(numberSize(), true)).height();
    return std::max(
        1.0, std::min({inner.width() / 7.5, numberSize() * 0.6, room / (kCellRows * lineHeight)}));
}

namespace {

// The largest size, up to `size`, at which one of the ways of breaking a text into lines
// (each a list of lines) fits a box, and those lines.
std::pair<double, QStringList> fitLines(const std::vector<QStringList>& ways, QSizeF box,
                                        double size) {
    const QFontMetricsF metrics(pixelFont(size));
    std::pair<double, QStringList> best{0, {}};
    for (const QStringList& lines : ways) {
        double widest = 1;
        for (const QString& line : lines) {
            widest = std::max(widest, metrics.horizontalAdvance(line));
        }
        const double high = metrics.height() * static_cast<double>(lines.size());
        const double fitted = size * std::min({1.0, box.width() / widest, box.height() / high});
        if (fitted > best.first * 1.001) {
            best = {fitted, lines};
        }
    }
    return best;
}

} // namespace

MonthPainter::HeaderLayout MonthPainter::headerLayout() const {
    // The month large in the middle with the months before and after small beside it, the
    // era year and the year's 干支 on the left, the Gregorian year on the right. The left text
    // breaks into lines and gets smaller where it would reach the small month, and the small
    // months give way where even that would not leave it readable.
    HeaderLayout h;
    const double height = header_.height();
    const double pad = height * 0.1;
    h.sideSize = height * 0.3;
    h.titleSize = height * 0.62;
    const QString title = QStringLiteral("%1月").arg(page_.month);
    const double titleWidth = QFontMetricsF(pixelFont(h.titleSize, true)).horizontalAdvance(title);
    h.title = QRectF(header_.center().x() - titleWidth / 2, header_.top(), titleWidth, height);
    const QFontMetricsF sideMetrics(pixelFont(h.sideSize));
    const double rightWidth =
        sideMetrics.horizontalAdvance(qs(yearText(page_.year)) + QStringLiteral("年"));
    h.right =
        QRectF(header_.right() - pad - rightWidth, header_.center().y() - sideMetrics.height() / 2,
               rightWidth, sideMetrics.height());

    const QString era = qs(page_.eraText);
    const QString kanshi = qs(page_.yearKanshi) + QStringLiteral("年");
    std::vector<QStringList> ways;
    if (era.isEmpty()) {
        ways.push_back({kanshi});
    } else {
        ways.push_back({era + QStringLiteral("　") + kanshi});
        ways.push_back({era, kanshi});
        if (era.contains(QStringLiteral(" / "))) {
            // "昭和64年 /" over "平成元年", the era that ends first.
            QStringList parts = era.split(QStringLiteral(" / "));
            for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
                parts[i] += QStringLiteral(" /");
            }
            ways.push_back(parts + QStringList{kanshi});
        }
    }
    const auto placeLeft = [&](double rightEdge) {
        const QSizeF room(rightEdge - pad - (header_.left() + pad), height * 0.9);
        const auto [size, lines] = fitLines(ways, room, h.sideSize);
        h.leftSize = size;
        h.leftLines = lines;
        const QFontMetricsF metrics(pixelFont(size));
        double widest = 0;
        for (const QString& line : lines) {
            widest = std::max(widest, metrics.horizontalAdvance(line));
        }
        const double high = metrics.height() * static_cast<double>(lines.size());
        h.left = QRectF(header_.left() + pad, header_.center().y() - high / 2, widest, high);
    };

    // The small months: a title row, the weekday row and up to six weeks; left out where they
    // would be too small to read or leave too little room beside them.
    h.smallRow = height * 0.92 / 8;
    const double column = h.smallRow * 1.45;
    const double gap = column * 1.2;
    const double top = header_.top() + height * 0.04;
    if (h.smallRow >= 5) {
        if (page_.previous) {
            h.previous = QRectF(h.title.left() - gap - 7 * column, top, 7 * column, 8 * h.smallRow);
        }
        if (page_.next) {
            h.next = QRectF(h.title.right() + gap, top, 7 * column, 8 * h.smallRow);
        }
        placeLeft(h.previous.isEmpty() ? h.title.left() : h.previous.left());
        if (h.leftSize < h.sideSize * 0.55 || h.next.right() + pad > h.right.left()) {
            h.previous = h.next = QRectF();
        }
    }
    if (h.previous.isEmpty()) {
        placeLeft(h.title.left());
    }
    return h;
}

std::vector<QRectF> MonthPainter::headerBoxes() const {
    const HeaderLayout h = headerLayout();
    std::vector<QRectF> boxes{h.left, h.title, h.right};
    for (const QRectF& small : {h.previous, h.next}) {
        if (!small.isEmpty()) {
            boxes.push_back(small);
        }
    }
    return boxes;
}

void MonthPainter::paintHeader(QPainter& painter) const {
    const HeaderLayout h = headerLayout();
    painter.setPen(kInk);
    const QFont leftFont = pixelFont(h.leftSize);
    painter.setFont(leftFont);
    const QFontMetricsF leftMetrics(leftFont);
    for (qsizetype i = 0; i < h.leftLines.size(); ++i) {
        painter.drawText(QPointF(h.left.left(), h.left.top() +
                                                    leftMetrics.height() * static_cast<double>(i) +
                                                    leftMetrics.ascent()),
                         h.leftLines[i]);
    }
    painter.setFont(pixelFont(h.sideSize));
    painter.drawText(h.right, Qt::AlignRight | Qt::AlignVCenter,
                     qs(yearText(page_.year)) + QStringLiteral("年"));
    painter.setFont(pixelFont(h.titleSize, true));
    painter.drawText(h.title, Qt::AlignCenter, QStringLiteral("%1月").arg(page_.month));
    if (!h.previous.isEmpty()) {
        paintSmallMonth(painter, *page_.previous, h.previous.topLeft(), h.smallRow,
                        h.smallRow * 1.45);
    }
    if (!h.next.isEmpty()) {
        paintSmallMonth(painter, *page_.next, h.next.topLeft(), h.smallRow, h.smallRow * 1.45);
    }
}

void MonthPainter::paintSmallMonth(QPainter& painter, const almanac::SmallMonth& month,
                                   QPointF topLeft, double row, double column) {
    painter.setFont(pixelFont(row * 0.8, true));
    painter.setPen(kInk);
    painter.drawText(QRectF(topLeft.x(), topLeft.y(), 7 * column, row), Qt::AlignCenter,
                     QStringLiteral("%1月").arg(month.month));
    painter.setFont(pixelFont(row * 0.72));
    static const char* const weekdays[] = {"日", "月", "火", "水", "木", "金", "土"};
    // weekday: 1 Sunday .. 7 Saturday.
    const auto colourOf = [](int weekday, bool holiday) {
        return weekday == 1 || holiday ? kSundayRed : weekday == 7 ? kSaturdayBlue : kInk;
    };
    for (int i = 0; i < 7; ++i) {
        painter.setPen(colourOf(i + 1, false));
        painter.drawText(QRectF(topLeft.x() + i * column, topLeft.y() + row, column, row),
                         Qt::AlignCenter, QString::fromUtf8(weekdays[i]));
    }
    const QFontMetricsF metrics(painter.font());
    const double digit = metrics.horizontalAdvance(QLatin1Char('0'));
    const double baseline = (row + metrics.ascent() - metrics.descent()) / 2;
    for (int day = 1; day <= month.days; ++day) {
        const int index = month.firstWeekday - 1 + day - 1; // the square, 0 .. 41
        const bool holiday =
            std::find(month.holidays.begin(), month.holidays.end(), day) != month.holidays.end();
        painter.setPen(colourOf(index % 7 + 1, holiday));
        const QString number = QString::number(day);
        painter.drawText(QPointF(topLeft.x() + (index % 7 + 1) * column -
                                     (day < 10 ? digit : 2 * digit) - column * 0.1,
                                 topLeft.y() + (2 + index / 7) * row + baseline),
                         number);
    }
}

void MonthPainter::paint(QPainter& painter, const PageMarks& marks) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(area_, Qt::white);
    paintHeader(painter);

    // Weekday row.
    static const char* const weekdays[] = {"日", "月", "火", "水", "木", "金", "土"};
    painter.setFont(pixelFont(weekdays_.height() * 0.6, true));
    for (int i = 0; i < 7; ++i) {
        const QRectF box(grid_.left() + i * grid_.width() / 7, weekdays_.top(), grid_.width() / 7,
                         weekdays_.height());
        painter.setPen(i == 0 ? kSundayRed : i == 6 ? kSaturdayBlue : kInk);
        painter.drawText(box, Qt::AlignCenter, QString::fromUtf8(weekdays[i]));
    }

    const double small = cellTextSize();
    for (std::size_t i = 0; i < page_.cells.size(); ++i) {
        const QRectF box = cell(static_cast<int>(i));
        if (!box.isEmpty()) {
            paintCell(painter, box, page_.cells[i], marks, small, almanac::gridSlot(page_, i).part);
        }
    }
    painter.setPen(QPen(kRule, std::max(1.0, area_.width() / 900)));
    painter.setBrush(Qt::NoBrush);
    for (int c = 0; c <= 7; ++c) {
        const double x = grid_.left() + c * grid_.width() / 7;
        painter.drawLine(QPointF(x, weekdays_.top()), QPointF(x, grid_.bottom()));
    }
    for (int r = 0; r <= rows_; ++r) {
        const double y = grid_.top() + r * grid_.height() / std::max(1, rows_);
        painter.drawLine(QPointF(grid_.left(), y), QPointF(grid_.right(), y));
    }
    painter.drawLine(weekdays_.topLeft(), weekdays_.topRight());
    // The split of a folded square, dashed.
    painter.setPen(QPen(kRule, std::max(1.0, area_.width() / 1200), Qt::DashLine));
    for (std::size_t i = 0; i < page_.cells.size(); ++i) {
        if (almanac::gridSlot(page_, i).part == almanac::CellPart::Upper) {
            const QRectF upper = cell(static_cast<int>(i));
            painter.drawLine(upper.bottomLeft(), upper.bottomRight());
        }
    }

    // The mode on the right of the first footer row, the limit notes on the left, a row each.
    const std::size_t rows = std::max<std::size_t>(1, page_.limitNotes.size());
    const double rowHeight = footer_.height() / static_cast<double>(rows);
    const QFont footerFont = pixelFont(std::min(footer_.height(), area_.height() * 0.04) * 0.55);
    const QFontMetricsF footerMetrics(footerFont);
    painter.setFont(footerFont);
    const QRectF firstRow(footer_.left(), footer_.top(), footer_.width(), rowHeight);
    painter.setPen(kFaint);
    // The place of the rising and setting times, when given, before the mode.
    const QString right = marks.footnote.isEmpty()
                              ? qs(page_.modeText)
                              : marks.footnote + QStringLiteral("　　") + qs(page_.modeText);
    painter.drawText(firstRow, Qt::AlignRight | Qt::AlignVCenter, right);
    const double modeWidth = footerMetrics.horizontalAdvance(right);
    painter.setPen(kNoteBrown);
    for (std::size_t i = 0; i < page_.limitNotes.size(); ++i) {
        const QRectF row = firstRow.translated(0, rowHeight * static_cast<double>(i));
        const double width =
            row.width() - (i == 0 ? modeWidth + footerMetrics.averageCharWidth() * 2 : 0);
        painter.drawText(row, Qt::AlignLeft | Qt::AlignVCenter,
                         footerMetrics.elidedText(QStringLiteral("※ ") + qs(page_.limitNotes[i]),
                                                  Qt::ElideRight, width));
    }
    painter.restore();
}

} // namespace sorvane::ui
