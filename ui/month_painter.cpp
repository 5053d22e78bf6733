#include "ui/month_painter.h"

#include "calendar/year_text.h"
#include "ui/fonts.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace sorvane::ui {

namespace {

const QColor kSundayRed(0xc8, 0x10, 0x30);
const QColor kSaturdayBlue(0x15, 0x4f, 0xb8);
const QColor kInk(0x20, 0x20, 0x20);
const QColor kFaint(0x9a, 0x9a, 0x9a);
const QColor kRule(0xa8, 0xa8, 0xa8);
const QColor kMarkGreen(0x1e, 0x6e, 0x32);
const QColor kTodayFrame(0xe0, 0x70, 0x00);
const QColor kSelectedFill(0xff, 0xf4, 0xc4);
const QColor kOutsideFill(0xf3, 0xf3, 0xf3);

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
    if (cell.weekday == 0 || cell.holiday) {
        return kSundayRed;
    }
    return cell.weekday == 6 ? kSaturdayBlue : kInk;
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
    : page_(page), area_(area), rows_(static_cast<int>(page.cells.size() / 7)) {
    const double h = area.height();
    header_ = QRectF(area.left(), area.top(), area.width(), h * 0.11);
    weekdays_ = QRectF(area.left(), header_.bottom(), area.width(), h * 0.045);
    footer_ = QRectF(area.left(), area.bottom() - h * 0.04, area.width(), h * 0.04);
    grid_ =
        QRectF(area.left(), weekdays_.bottom(), area.width(), footer_.top() - weekdays_.bottom());
}

QRectF MonthPainter::cell(int index) const {
    const double w = grid_.width() / 7;
    const double hh = grid_.height() / std::max(1, rows_);
    return QRectF(grid_.left() + (index % 7) * w, grid_.top() + (index / 7) * hh, w, hh);
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

// A line under a day's number.
struct CellLine {
    QString text;
    QColor colour;
};

std::vector<CellLine> cellLines(const almanac::DayCell& cell, const PageMarks& marks) {
    std::vector<CellLine> lines;
    if (cell.holiday) {
        lines.push_back({qs(*cell.holiday), kSundayRed});
    }
    QString lunar =
        cell.lunar ? qs(almanac::lunarCellText(*cell.lunar)) + QLatin1Char(' ') : QString();
    lines.push_back({lunar + qs(cell.kanshi), kInk});
    for (const std::string& mark : cell.marks) {
        lines.push_back({qs(mark), kMarkGreen});
    }
    if (marks.extraLines) {
        for (const QString& extra : marks.extraLines(cell.date)) {
            lines.push_back({extra, kInk});
        }
    }
    return lines;
}

// A line set in a width: one row, condensed to at most kCondensed of its natural width when
// it is a little too long, or else broken into rows (between any two characters, as Japanese
// is set).
constexpr double kCondensed = 0.78;

struct SetLine {
    QStringList rows;
    double squeeze = 1; // horizontal scale of a single row
};

SetLine setLine(const QString& text, const QFontMetricsF& metrics, double width) {
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

int rowCount(const std::vector<CellLine>& lines, const QFontMetricsF& metrics, double width) {
    int rows = 0;
    for (const CellLine& line : lines) {
        rows += static_cast<int>(setLine(line.text, metrics, width).rows.size());
    }
    return rows;
}

} // namespace

void MonthPainter::paintCell(QPainter& painter, const QRectF& box, const almanac::DayCell& cell,
                             const PageMarks& marks, double smallSize) const {
    if (!cell.inMonth) {
        painter.fillRect(box, kOutsideFill);
    } else if (marks.selected && *marks.selected == cell.date) {
        painter.fillRect(box, kSelectedFill);
    }
    const QRectF inner = innerBox(box);
    const double numberSize = numberSizeOf(box);

    painter.setPen(dayColour(cell));
    const QFont numberFont = pixelFont(numberSize, true);
    painter.setFont(numberFont);
    const QString number = QString::number(cell.date.day);
    const QFontMetricsF numberMetrics(numberFont);
    const QRectF numberBox(inner.left(), inner.top(), inner.width(), numberMetrics.height());
    painter.drawText(numberBox, Qt::AlignLeft | Qt::AlignTop, number);

    if (cell.inMonth) {
        const std::vector<CellLine> lines = cellLines(cell, marks);
        // The page's type size, made smaller in a cell whose lines would not fit whole.
        QFont small = pixelFont(smallSize);
        for (double size = smallSize; size >= std::max(4.0, smallSize * 0.6); size *= 0.92) {
            small = pixelFont(size);
            const QFontMetricsF metrics(small);
            if (rowCount(lines, metrics, inner.width()) * metrics.height() <=
                inner.bottom() - numberBox.bottom() + 1) {
                break;
            }
        }
        const QFontMetricsF smallMetrics(small);
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
            double radius = numberSize * 0.3;
            const double room = right - numberRight;
            radius = std::max(1.0, std::min(radius, room / 2.6));
            paintPhase(
                painter,
                QPointF(numberRight + radius * 1.6, inner.top() + numberMetrics.ascent() * 0.55),
                radius, cell.phase->phase);
        }

        // The lines under the number: holiday, lunisolar date and 干支, then the day's marks.
        double y = numberBox.bottom();
        const double lineHeight = smallMetrics.height();
        for (const CellLine& line : lines) {
            const SetLine set = setLine(line.text, smallMetrics, inner.width());
            painter.setPen(line.colour);
            for (const QString& row : set.rows) {
                if (y + lineHeight > inner.bottom() + 1) {
                    return paintToday(painter, box, cell, marks);
                }
                painter.save();
                painter.translate(inner.left(), y);
                painter.scale(set.squeeze, 1);
                painter.drawText(QRectF(0, 0, inner.width() / set.squeeze, lineHeight),
                                 Qt::AlignLeft | Qt::AlignTop, row);
                painter.restore();
                y += lineHeight;
            }
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

double MonthPainter::numberSizeOf(const QRectF& box) {
    return std::min(box.height() * 0.28, box.width() * 0.26);
}

double MonthPainter::smallSize(const PageMarks& marks) const {
    // One size for the whole page: as large as the cell's width allows for a line such as
    // "旧閏6/14 戊申" and below the number's size, and small enough that the fullest day's
    // lines fit under the number.
    const QRectF box = cell(0);
    const QRectF inner = innerBox(box);
    const double numberSize = numberSizeOf(box);
    std::vector<CellLine> fullest;
    for (const almanac::DayCell& c : page_.cells) {
        if (c.inMonth) {
            std::vector<CellLine> lines = cellLines(c, marks);
            if (lines.size() > fullest.size()) {
                fullest = std::move(lines);
            }
        }
    }
    const double below = inner.height() - QFontMetricsF(pixelFont(numberSize, true)).height();
    double size = std::min(inner.width() / 6.6, numberSize * 0.72);
    for (; size > 4; size *= 0.94) {
        const QFontMetricsF metrics(pixelFont(size));
        if (rowCount(fullest, metrics, inner.width()) * metrics.height() <= below) {
            break;
        }
    }
    return std::max(1.0, size);
}

void MonthPainter::paintHeader(QPainter& painter) const {
    // The era year and the year's 干支 on the left, the month large in the middle, the
    // Gregorian year on the right.
    painter.setPen(kInk);
    const double side = header_.height() * 0.3;
    painter.setFont(pixelFont(side));
    const QString left =
        (page_.eraText.empty() ? QString() : qs(page_.eraText) + QStringLiteral("　")) +
        qs(page_.yearKanshi) + QStringLiteral("年");
    painter.drawText(header_.adjusted(side * 0.3, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, left);
    painter.drawText(header_.adjusted(0, 0, -side * 0.3, 0), Qt::AlignRight | Qt::AlignVCenter,
                     qs(yearText(page_.year)) + QStringLiteral("年"));
    painter.setFont(pixelFont(header_.height() * 0.62, true));
    painter.drawText(header_, Qt::AlignCenter, QStringLiteral("%1月").arg(page_.month));
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

    const double small = smallSize(marks);
    for (std::size_t i = 0; i < page_.cells.size(); ++i) {
        paintCell(painter, cell(static_cast<int>(i)), page_.cells[i], marks, small);
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

    painter.setPen(kFaint);
    painter.setFont(pixelFont(footer_.height() * 0.55));
    painter.drawText(footer_, Qt::AlignRight | Qt::AlignVCenter, qs(page_.modeText));
    painter.restore();
}

} // namespace sorvane::ui
