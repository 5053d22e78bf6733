#include "ui/calendar_page.h"

#include "calendar/year_text.h"
#include "export/atomic_file.h"
#include "ui/fonts.h"
#include "ui/pdf_file.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>
#include <QTextEdit>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

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

constexpr int kFirstYear = -32768;
constexpr int kLastYear = 32767;

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

void paintCell(QPainter& painter, const QRectF& box, const almanac::DayCell& cell,
               const PageMarks& marks) {
    if (!cell.inMonth) {
        painter.fillRect(box, kOutsideFill);
    } else if (marks.selected && *marks.selected == cell.date) {
        painter.fillRect(box, kSelectedFill);
    }
    const double pad = std::max(2.0, box.width() * 0.04);
    const QRectF inner = box.adjusted(pad, pad * 0.5, -pad, -pad * 0.5);
    const double numberSize = std::min(box.height() * 0.28, box.width() * 0.26);
    const double smallSize = std::clamp(box.height() * 0.14, numberSize * 0.4, numberSize * 0.55);

    painter.setPen(dayColour(cell));
    const QFont numberFont = pixelFont(numberSize, true);
    painter.setFont(numberFont);
    const QString number = QString::number(cell.date.day);
    const QFontMetricsF numberMetrics(numberFont);
    const QRectF numberBox(inner.left(), inner.top(), inner.width(), numberMetrics.height());
    painter.drawText(numberBox, Qt::AlignLeft | Qt::AlignTop, number);

    if (cell.inMonth) {
        const QFont small = pixelFont(smallSize);
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
            const double radius = numberSize * 0.3;
            const double left =
                inner.left() + numberMetrics.horizontalAdvance(number) + radius * 1.6;
            paintPhase(painter,
                       QPointF(std::max(left, std::min(right - radius, left)),
                               inner.top() + numberMetrics.ascent() * 0.55),
                       radius, cell.phase->phase);
        }

        // The lines under the number: holiday, lunisolar date and 干支, then the day's marks.
        struct Line {
            QString text;
            QColor colour;
        };
        std::vector<Line> lines;
        if (cell.holiday) {
            lines.push_back({qs(*cell.holiday), kSundayRed});
        }
        QString lunar =
            cell.lunar ? qs(almanac::lunarCellText(*cell.lunar)) + QLatin1Char(' ') : QString();
        lines.push_back({lunar + qs(cell.kanshi), kInk});
        for (const std::string& mark : cell.marks) {
            lines.push_back({qs(mark), kMarkGreen});
        }
        double y = numberBox.bottom();
        const double lineHeight = smallMetrics.height();
        for (const Line& line : lines) {
            if (y + lineHeight > inner.bottom() + 1) {
                break;
            }
            painter.setPen(line.colour);
            painter.drawText(QRectF(inner.left(), y, inner.width(), lineHeight),
                             Qt::AlignLeft | Qt::AlignTop,
                             smallMetrics.elidedText(line.text, Qt::ElideRight, inner.width()));
            y += lineHeight;
        }
    }
    if (marks.today && *marks.today == cell.date) {
        const double width = std::max(2.0, box.width() * 0.03);
        painter.setPen(QPen(kTodayFrame, width));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box.adjusted(width / 2, width / 2, -width / 2, -width / 2));
    }
}

// The cell rectangles of a page painted into area, and the grid's own rectangle.
struct PageGeometry {
    QRectF header;
    QRectF weekdays;
    QRectF grid;
    QRectF footer;
    int rows = 0;

    PageGeometry(const QRectF& area, const almanac::MonthPage& page) {
        rows = static_cast<int>(page.cells.size() / 7);
        const double h = area.height();
        header = QRectF(area.left(), area.top(), area.width(), h * 0.11);
        weekdays = QRectF(area.left(), header.bottom(), area.width(), h * 0.045);
        footer = QRectF(area.left(), area.bottom() - h * 0.04, area.width(), h * 0.04);
        grid =
            QRectF(area.left(), weekdays.bottom(), area.width(), footer.top() - weekdays.bottom());
    }
    QRectF cell(int index) const {
        const double w = grid.width() / 7;
        const double hh = grid.height() / std::max(1, rows);
        return QRectF(grid.left() + (index % 7) * w, grid.top() + (index / 7) * hh, w, hh);
    }
};

} // namespace

void paintMonthPage(QPainter& painter, const QRectF& area, const almanac::MonthPage& page,
                    const PageMarks& marks) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(area, Qt::white);
    const PageGeometry g(area, page);

    // Header: the era year and the year's 干支 on the left, the month large in the middle, the
    // Gregorian year on the right.
    painter.setPen(kInk);
    const double side = g.header.height() * 0.3;
    painter.setFont(pixelFont(side));
    const QString left =
        (page.eraText.empty() ? QString() : qs(page.eraText) + QStringLiteral("　")) +
        qs(page.yearKanshi) + QStringLiteral("年");
    painter.drawText(g.header.adjusted(side * 0.3, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     left);
    painter.drawText(g.header.adjusted(0, 0, -side * 0.3, 0), Qt::AlignRight | Qt::AlignVCenter,
                     qs(yearText(page.year)) + QStringLiteral("年"));
    painter.setFont(pixelFont(g.header.height() * 0.62, true));
    painter.drawText(g.header, Qt::AlignCenter, QStringLiteral("%1月").arg(page.month));

    // Weekday row.
    static const char* const weekdays[] = {"日", "月", "火", "水", "木", "金", "土"};
    painter.setFont(pixelFont(g.weekdays.height() * 0.6, true));
    for (int i = 0; i < 7; ++i) {
        const QRectF box(g.grid.left() + i * g.grid.width() / 7, g.weekdays.top(),
                         g.grid.width() / 7, g.weekdays.height());
        painter.setPen(i == 0 ? kSundayRed : i == 6 ? kSaturdayBlue : kInk);
        painter.drawText(box, Qt::AlignCenter, QString::fromUtf8(weekdays[i]));
    }

    for (std::size_t i = 0; i < page.cells.size(); ++i) {
        paintCell(painter, g.cell(static_cast<int>(i)), page.cells[i], marks);
    }
    painter.setPen(QPen(kRule, std::max(1.0, area.width() / 900)));
    painter.setBrush(Qt::NoBrush);
    for (int c = 0; c <= 7; ++c) {
        const double x = g.grid.left() + c * g.grid.width() / 7;
        painter.drawLine(QPointF(x, g.weekdays.top()), QPointF(x, g.grid.bottom()));
    }
    for (int r = 0; r <= g.rows; ++r) {
        const double y = g.grid.top() + r * g.grid.height() / std::max(1, g.rows);
        painter.drawLine(QPointF(g.grid.left(), y), QPointF(g.grid.right(), y));
    }
    painter.drawLine(g.weekdays.topLeft(), g.weekdays.topRight());

    painter.setPen(kFaint);
    painter.setFont(pixelFont(g.footer.height() * 0.55));
    painter.drawText(g.footer, Qt::AlignRight | Qt::AlignVCenter, qs(page.modeText));
    painter.restore();
}

bool printMonths(QPagedPaintDevice& device, almanac::CalendarYears& years, int year, int first,
                 int last) {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                     QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    const QRectF area(QPointF(0, 0),
                      device.pageLayout().paintRectPixels(device.logicalDpiX()).size());
    for (int month = first; month <= last; ++month) {
        if (month != first) {
            device.newPage();
        }
        paintMonthPage(painter, area, years.monthPage(year, month), {});
    }
    return painter.end();
}

int printCalendarPdf(const Tables& tables, const QString& month, const QString& file) {
    return printCalendarPdfCommand(month, file, [&](int year, int first, int last) {
        almanac::CalendarYears years(tables);
        return writePdfFile(file, [&](QPagedPaintDevice& device) {
            return printMonths(device, years, year, first, last);
        });
    });
}

MonthView::MonthView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("monthView"));
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(720, 560);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void MonthView::setPage(const almanac::MonthPage* page, const PageMarks& marks) {
    page_ = page;
    marks_ = marks;
    update();
}

int MonthView::cellAt(QPointF point) const {
    if (page_ == nullptr) {
        return -1;
    }
    const PageGeometry g(QRectF(rect()), *page_);
    for (int i = 0; i < static_cast<int>(page_->cells.size()); ++i) {
        if (g.cell(i).contains(point)) {
            return i;
        }
    }
    return -1;
}

void MonthView::paintEvent(QPaintEvent*) {
    if (page_ != nullptr) {
        QPainter painter(this);
        paintMonthPage(painter, QRectF(rect()), *page_, marks_);
    }
}

void MonthView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left:
        emit stepDays(-1);
        break;
    case Qt::Key_Right:
        emit stepDays(1);
        break;
    case Qt::Key_Up:
        emit stepDays(-7);
        break;
    case Qt::Key_Down:
        emit stepDays(7);
        break;
    case Qt::Key_PageUp:
        emit stepMonths(-1);
        break;
    case Qt::Key_PageDown:
        emit stepMonths(1);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void MonthView::mousePressEvent(QMouseEvent* event) {
    const int index = cellAt(event->position());
    if (index >= 0 && event->button() == Qt::LeftButton) {
        emit dayClicked(page_->cells[static_cast<std::size_t>(index)].date);
    }
}

CalendarPage::CalendarPage(const Tables& tables, QWidget* parent)
    : QWidget(parent, Qt::Window), years_(tables) {
    setObjectName(QStringLiteral("CalendarPage"));
    setFont(programFont(10.5));
    createControls();
    const QDate today = QDate::currentDate();
    showDate({today.year(), today.month(), today.day()});
}

void CalendarPage::createControls() {
    auto* bar = new QHBoxLayout;
    const auto addButton = [&](const char* name, const QString& text, const QString& tip) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(QString::fromLatin1(name));
        button->setToolTip(tip);
        button->setFocusPolicy(Qt::TabFocus);
        bar->addWidget(button);
        return button;
    };
    QPushButton* previousYear =
        addButton("previousYear", QStringLiteral("« 前年"), QStringLiteral("前の年の同じ月"));
    QPushButton* previousMonth =
        addButton("previousMonth", QStringLiteral("‹ 前月"), QStringLiteral("前の月 (Page Up)"));
    QPushButton* today = addButton("today", QStringLiteral("今日"), QStringLiteral("今日の月"));
    QPushButton* nextMonth =
        addButton("nextMonth", QStringLiteral("翌月 ›"), QStringLiteral("次の月 (Page Down)"));
    QPushButton* nextYear =
        addButton("nextYear", QStringLiteral("翌年 »"), QStringLiteral("次の年の同じ月"));
    bar->addStretch();
    QPushButton* printButton = addButton("print", QStringLiteral("印刷(&P)…"),
                                         QStringLiteral("この月または1年分を印刷します"));

    view_ = new MonthView(this);
    details_ = new QTextEdit(this);
    details_->setObjectName(QStringLiteral("details"));
    details_->setReadOnly(true);
    details_->setFocusPolicy(Qt::ClickFocus);
    details_->setFixedWidth(250);

    auto* body = new QHBoxLayout;
    body->addWidget(view_, 1);
    body->addWidget(details_);
    auto* column = new QVBoxLayout(this);
    column->addLayout(bar);
    column->addLayout(body, 1);

    connect(previousYear, &QPushButton::clicked, this, [this] { stepMonths(-12); });
    connect(previousMonth, &QPushButton::clicked, this, [this] { stepMonths(-1); });
    connect(today, &QPushButton::clicked, this, &CalendarPage::showToday);
    connect(nextMonth, &QPushButton::clicked, this, [this] { stepMonths(1); });
    connect(nextYear, &QPushButton::clicked, this, [this] { stepMonths(12); });
    connect(printButton, &QPushButton::clicked, this, &CalendarPage::print);
    connect(new QShortcut(QKeySequence::Print, this), &QShortcut::activated, this,
            &CalendarPage::print);
    connect(view_, &MonthView::stepDays, this, &CalendarPage::stepDays);
    connect(view_, &MonthView::stepMonths, this, &CalendarPage::stepMonths);
    connect(view_, &MonthView::dayClicked, this, &CalendarPage::showDate);
    view_->setFocus();
}

void CalendarPage::showDate(const CivilDate& date) {
    if (date.year < kFirstYear || date.year > kLastYear) {
        QApplication::beep();
        return;
    }
    selected_ = date;
    if (page_.year != date.year || page_.month != date.month || page_.cells.empty()) {
        page_ = years_.monthPage(date.year, date.month);
        setWindowTitle(QStringLiteral("暦 %1年%2月").arg(qs(yearText(date.year))).arg(date.month));
    }
    const QDate today = QDate::currentDate();
    view_->setPage(&page_, {CivilDate{today.year(), today.month(), today.day()}, selected_});
    showDetails();
}

void CalendarPage::stepDays(int days) {
    showDate(addDays(selected_, days));
}

void CalendarPage::stepMonths(int months) {
    const int index = selected_.year * 12 + (selected_.month - 1) + months;
    const int year = index >= 0 ? index / 12 : -((-index + 11) / 12);
    const int month = index - year * 12 + 1;
    // The same day of the month, or the month's last day when it is shorter.
    const CivilDate firstOfNext = addDays(CivilDate{year, month, 28}, 4 /* into the next month */);
    const int lastDay = addDays(CivilDate{firstOfNext.year, firstOfNext.month, 1}, -1).day;
    showDate({year, month, std::min(selected_.day, lastDay)});
}

void CalendarPage::showToday() {
    const QDate today = QDate::currentDate();
    showDate({today.year(), today.month(), today.day()});
}

void CalendarPage::showDetails() {
    QStringList lines;
    for (const std::string& line : years_.dayDetails(selected_)) {
        lines << qs(line);
    }
    details_->setPlainText(lines.join(QLatin1Char('\n')));
}

void CalendarPage::print() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("暦の印刷"));
    // The pages are the months of the year: 1 to 12; the current page is the month shown.
    dialog.setMinMax(1, 12);
    dialog.setFromTo(page_.month, page_.month);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    dialog.setPrintRange(QAbstractPrintDialog::CurrentPage);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    int first = 1;
    int last = 12;
    if (printer.printRange() == QPrinter::CurrentPage) {
        first = last = page_.month;
    } else if (printer.printRange() == QPrinter::PageRange) {
        first = std::clamp(printer.fromPage(), 1, 12);
        last = std::clamp(printer.toPage(), first, 12);
    }
    printTo(printer, first, last);
}

bool CalendarPage::printTo(QPrinter& printer, int first, int last) {
    QString problem;
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        // A PDF file: made whole in memory, then put in place, so that a full disk leaves the
        // old file and says so instead of leaving a file no reader opens.
        const QString file = printer.outputFileName();
        try {
            if (writePdfFile(file, [&](QPagedPaintDevice& device) {
                    return printMonths(device, years_, page_.year, first, last);
                })) {
                return true;
            }
            problem = QStringLiteral("「%1」を作れませんでした。").arg(file);
        } catch (const FileWriteError& e) {
            problem =
                QStringLiteral("「%1」に書き込めませんでした。\n%2。元のファイルはそのままです。")
                    .arg(file, japaneseWriteReason(e));
        }
    } else if (printMonths(printer, years_, page_.year, first, last)) {
        return true;
    } else {
        problem = QStringLiteral("プリンターを開始できませんでした。");
    }
    QMessageBox box(QMessageBox::Warning, QStringLiteral("暦の印刷"), problem, QMessageBox::Ok,
                    this);
    box.setObjectName(QStringLiteral("printErrorBox"));
    box.exec();
    return false;
}

} // namespace sorvane::ui
