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
    header_ = QRectF(area.left(), area.top(), area.width(), h * 0.13);
    weekdays_ = QRectF(area.left(), header_.bottom(), area.width(), h * 0.045);
    // The footer: the mode line, and a line for each limit of the sources the month runs into.
    const double footerRows = static_cast<double>(std::max<std::size_t>(1, page.limitNotes.size()));
    const double footerHeight = std::max(h * 0.04, h * 0.032 * footerRows);
    footer_ = QRectF(area.left(), area.bottom() - footerHeight, area.width(), footerHeight);
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

int rowCount(const std::vector<CellLine>& lines, const QFontMetricsF& metrics, double width) {
    int rows = 0;
    for (const CellLine& line : lines) {
        rows += static_cast<int>(setCellLine(line.text, metrics, width).rows.size());
    }
    return rows;
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
        // A 土用 or 彼岸 runs as a band along the bottom of its days, named where it begins
        // and at the start of each week and month it crosses.
        double textBottom = inner.bottom();
        if (cell.period) {
            const double height = QFontMetricsF(pixelFont(smallSize)).height() * 0.85;
            const QRectF band(box.left() + (cell.period->first ? inner.left() - box.left() : 0),
                              inner.bottom() - height,
                              box.width() - (cell.period->first ? inner.left() - box.left() : 0) -
                                  (cell.period->last ? box.right() - inner.right() : 0),
                              height);
            painter.fillRect(band, cell.period->name == "土用" ? kDoyoBand : kHiganBand);
            if (cell.period->first || cell.weekday == 0 || cell.date.day == 1) {
                painter.setPen(kInk);
                painter.setFont(pixelFont(height * 0.78));
                painter.drawText(band.adjusted(height * 0.2, 0, 0, 0),
                                 Qt::AlignLeft | Qt::AlignVCenter, qs(cell.period->name));
            }
            textBottom = band.top();
        }
        const std::vector<CellLine> lines = cellLines(cell, marks);
        // The page's type size, made smaller in a cell whose lines would not fit whole.
        QFont small = pixelFont(smallSize);
        std::vector<SetLine> set;
        for (double size = smallSize;; size *= 0.92) {
            small = pixelFont(size);
            const QFontMetricsF metrics(small);
            set.clear();
            std::size_t rows = 0;
            for (const CellLine& line : lines) {
                set.push_back(setCellLine(line.text, metrics, inner.width()));
                rows += static_cast<std::size_t>(set.back().rows.size());
            }
            if (static_cast<double>(rows) * metrics.height() <=
                    textBottom - numberBox.bottom() + 1 ||
                size * 0.92 < std::max(4.0, smallSize * 0.6)) {
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
        const double baseline = smallMetrics.ascent();
        for (std::size_t i = 0; i < lines.size(); ++i) {
            painter.setPen(lines[i].colour);
            for (const QString& row : set[i].rows) {
                if (y + lineHeight > textBottom + 1) {
                    return paintToday(painter, box, cell, marks);
                }
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
    // The day with the most lines (counted before any text is made).
    const almanac::DayCell* fullestCell = nullptr;
    std::size_t most = 0;
    for (const almanac::DayCell& c : page_.cells) {
        if (c.inMonth) {
            const std::size_t count =
                (c.holiday ? 1 : 0) + 1 + c.marks.size() + (c.period ? 1 : 0) +
                (marks.extraLines ? static_cast<std::size_t>(marks.extraLines(c.date).size()) : 0);
            if (count > most) {
                most = count;
                fullestCell = &c;
            }
        }
    }
    std::vector<CellLine> fullest;
    if (fullestCell != nullptr) {
        fullest = cellLines(*fullestCell, marks);
        if (fullestCell->period) {
            fullest.push_back({}); // the band takes about a line
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
    const QFont titleFont = pixelFont(header_.height() * 0.62, true);
    painter.setFont(titleFont);
    const QString title = QStringLiteral("%1月").arg(page_.month);
    painter.drawText(header_, Qt::AlignCenter, title);

    // The months before and after, small, on either side of the title: a title row, the
    // weekday row and up to six weeks; left out where they would be too small to read.
    const double row = header_.height() * 0.92 / 8;
    if (row < 5) {
        return;
    }
    const double column = row * 1.45;
    const double halfTitle = QFontMetricsF(titleFont).horizontalAdvance(title) / 2;
    const double gap = column * 1.5;
    const double top = header_.top() + header_.height() * 0.04;
    if (page_.previous) {
        paintSmallMonth(painter, *page_.previous,
                        QPointF(header_.center().x() - halfTitle - gap - 7 * column, top), row,
                        column);
    }
    if (page_.next) {
        paintSmallMonth(painter, *page_.next, QPointF(header_.center().x() + halfTitle + gap, top),
                        row, column);
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
    const auto colourOf = [](int weekday, bool holiday) {
        return weekday == 0 || holiday ? kSundayRed : weekday == 6 ? kSaturdayBlue : kInk;
    };
    for (int i = 0; i < 7; ++i) {
        painter.setPen(colourOf(i, false));
        painter.drawText(QRectF(topLeft.x() + i * column, topLeft.y() + row, column, row),
                         Qt::AlignCenter, QString::fromUtf8(weekdays[i]));
    }
    const QFontMetricsF metrics(painter.font());
    const double digit = metrics.horizontalAdvance(QLatin1Char('0'));
    const double baseline = (row + metrics.ascent() - metrics.descent()) / 2;
    for (int day = 1; day <= month.days; ++day) {
        const int index = month.lead + day - 1;
        const bool holiday =
            std::find(month.holidays.begin(), month.holidays.end(), day) != month.holidays.end();
        painter.setPen(colourOf(index % 7, holiday));
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
