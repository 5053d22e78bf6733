#include "ui/calendar_page.h"

#include "calendar/year_text.h"
#include "ui/fonts.h"

#include <QApplication>
#include <QDateTime>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

namespace sorvane::ui {

namespace {

constexpr int kFirstYear = -32768;
constexpr int kLastYear = 32767;

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

bool printMonths(QPrinter& printer, almanac::CalendarYears& years, int year, int first, int last) {
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                      QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    const QRectF area(QPointF(0, 0),
                      printer.pageLayout().paintRectPixels(printer.resolution()).size());
    for (int month = first; month <= last; ++month) {
        if (month != first) {
            printer.newPage();
        }
        const almanac::MonthPage page = years.monthPage(year, month);
        MonthPainter(page, area).paint(painter, {});
    }
    return painter.end();
}

bool printCalendarPdf(const Tables& tables, const QString& month, const QString& file) {
    const QStringList parts = month.split(QLatin1Char('-'));
    bool yearOk = false;
    bool monthOk = parts.size() == 1;
    const int year = parts[0].toInt(&yearOk);
    const int number = parts.size() == 2 ? parts[1].toInt(&monthOk) : 0;
    if (!yearOk || !monthOk || parts.size() > 2 || number < 0 || number > 12) {
        std::fprintf(stderr, "sorvane: bad month %s (YYYY-MM or YYYY)\n", qPrintable(month));
        return false;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    almanac::CalendarYears years(tables);
    if (!printMonths(printer, years, year, number == 0 ? 1 : number, number == 0 ? 12 : number)) {
        std::fprintf(stderr, "sorvane: cannot write %s\n", qPrintable(file));
        return false;
    }
    return true;
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
    return MonthPainter(*page_, QRectF(rect())).cellAt(point);
}

void MonthView::paintEvent(QPaintEvent*) {
    if (page_ != nullptr) {
        QPainter painter(this);
        MonthPainter(*page_, QRectF(rect())).paint(painter, marks_);
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
    // The today frame moves to the new day at midnight, whatever the user does.
    midnight_ = new QTimer(this);
    midnight_->setObjectName(QStringLiteral("midnightTimer"));
    midnight_->setSingleShot(true);
    midnight_->setTimerType(Qt::CoarseTimer);
    connect(midnight_, &QTimer::timeout, this, [this] {
        showMarks();
        armMidnight();
    });
    armMidnight();
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
    showMarks();
    showDetails();
}

void CalendarPage::showMarks() {
    const QDate today = QDate::currentDate();
    PageMarks marks;
    marks.today = CivilDate{today.year(), today.month(), today.day()};
    marks.selected = selected_;
    view_->setPage(&page_, marks);
}

void CalendarPage::armMidnight() {
    // Half a second past midnight, so that the clock has surely turned when it fires.
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime midnight(now.date().addDays(1), QTime(0, 0));
    midnight_->start(static_cast<int>(std::max<qint64>(1000, now.msecsTo(midnight) + 500)));
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
    if (!printMonths(printer, years_, page_.year, first, last)) {
        QMessageBox::warning(this, QStringLiteral("暦の印刷"),
                             QStringLiteral("プリンターを開始できませんでした。"));
    }
}

} // namespace sorvane::ui
