#include "ui/calendar_page.h"

#include "almanac/coverage.h"
#include "calendar/quoted_text.h"
#include "calendar/year_text.h"
#include "ephemeris/data_location.h"
#include "export/atomic_file.h"
#include "horizon/day_text.h"
#include "lunisolar/month_numbering_note.h"
#include "ui/almanac_guard.h"
#include "ui/fonts.h"
#include "ui/pdf_file.h"
#include "ui/settings.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSpinBox>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace sorvane::ui {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

// The marks that add each day's 暦注 under its own lines.
PageMarks noteMarks(almanac::CalendarYears& years) {
    PageMarks marks;
    marks.extraLines = [&years](const CivilDate& date) {
        QStringList lines;
        for (const std::string& line : years.cellNotes(date)) {
            lines << QString::fromStdString(line);
        }
        return lines;
    };
    return marks;
}

QPageLayout calendarPageLayout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
}

bool paintMonths(QPagedPaintDevice& device, almanac::CalendarYears& years, int year, int first,
                 int last, bool notes) {
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
        const almanac::MonthPage page = years.monthPage(year, month);
        const PageMarks marks = notes ? noteMarks(years) : PageMarks{};
        MonthPainter(page, area).paint(painter, marks);
    }
    return painter.end();
}

bool printMonths(QPagedPaintDevice& device, almanac::CalendarYears& years, int year, int first,
                 int last, bool notes) {
    device.setPageLayout(calendarPageLayout());
    return paintMonths(device, years, year, first, last, notes);
}

QString printTitle(int year, int first, int last) {
    const QString title = QStringLiteral("暦 %1年").arg(qs(yearText(year)));
    if (first == 1 && last == 12) {
        return title;
    }
    return first == last ? title + QStringLiteral("%1月").arg(first)
                         : title + QStringLiteral("%1月〜%2月").arg(first).arg(last);
}

int printCalendarPdf(const Tables& tables, const QStringList& arguments) {
    const auto refuse = [](const QString& line) {
        std::fprintf(stderr, "sorvane: --print-calendar-pdf: %s\n", line.toStdString().c_str());
        return 2;
    };
    const auto quoted = [](const QString& text) {
        return QString::fromStdString(quotedText(text.toStdString()));
    };
    QStringList positional;
    std::optional<bool> notes;
    std::optional<QString> placeName;
    std::optional<QString> latitude;
    std::optional<QString> longitude;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QStringLiteral("--notes") || argument == QStringLiteral("--no-notes")) {
            const bool wanted = argument == QStringLiteral("--notes");
            if (notes && *notes != wanted) {
                return refuse(QStringLiteral("--notes and --no-notes cannot be combined"));
            }
            notes = wanted;
        } else if (argument == QStringLiteral("--place") || argument == QStringLiteral("--lat") ||
                   argument == QStringLiteral("--lon")) {
            std::optional<QString>& value = argument == QStringLiteral("--place") ? placeName
                                            : argument == QStringLiteral("--lat") ? latitude
                                                                                  : longitude;
            if (i + 1 >= arguments.size()) {
                return refuse(argument + QStringLiteral(" needs a value"));
            }
            if (value) {
                return refuse(argument + QStringLiteral(" is given twice"));
            }
            value = arguments[++i];
        } else if (argument.startsWith(QStringLiteral("--"))) {
            return refuse(
                QStringLiteral("unknown argument ") + quoted(argument) +
                QStringLiteral(" (--notes, --no-notes, --place NAME, --lat DEG --lon DEG)"));
        } else {
            positional << argument;
        }
    }
    if (positional.size() < 2) {
        return refuse(QStringLiteral("expected YYYY[-MM] FILE"));
    }
    if (positional.size() > 2) {
        return refuse(QStringLiteral("unexpected argument ") + quoted(positional[2]));
    }
    if (placeName && (latitude || longitude)) {
        return refuse(QStringLiteral("--place and --lat/--lon cannot be combined"));
    }
    if (latitude.has_value() != longitude.has_value()) {
        return refuse(latitude ? QStringLiteral("--lat needs --lon")
                               : QStringLiteral("--lon needs --lat"));
    }
    // The printed pages give no rising or setting times, so they name no place; a place given
    // is still checked, so that a mistyped one is not passed over in silence.
    if (placeName) {
        const std::vector<horizon::NamedPlace> places = menuPlaces(findDataDir());
        if (horizon::findPlace(places, placeName->toStdString()) == nullptr) {
            return refuse(QStringLiteral("--place ") + quoted(*placeName) +
                          QStringLiteral(" is not a known place"));
        }
    } else if (latitude) {
        const auto degrees = [](const QString& text, double& value) {
            bool read = false;
            value = text.trimmed().toDouble(&read);
            return read && std::isfinite(value);
        };
        double lat = 0;
        double lon = 0;
        if (!degrees(*latitude, lat)) {
            return refuse(QStringLiteral("--lat ") + quoted(*latitude) +
                          QStringLiteral(" is not a number"));
        }
        if (!degrees(*longitude, lon)) {
            return refuse(QStringLiteral("--lon ") + quoted(*longitude) +
                          QStringLiteral(" is not a number"));
        }
        if (lat < -90 || lat > 90) {
            return refuse(QStringLiteral("--lat ") + quoted(*latitude) +
                          QStringLiteral(" is outside -90..90"));
        }
        if (lon < -180 || lon > 180) {
            return refuse(QStringLiteral("--lon ") + quoted(*longitude) +
                          QStringLiteral(" is outside -180..180"));
        }
    }
    const bool withNotes = notes.value_or(savedNotesShown());
    const QString& file = positional[1];
    return printCalendarPdfCommand(positional[0], file, [&](int year, int first, int last) {
        almanac::CalendarYears years(tables);
        return writePdfFile(
            file,
            [&](QPagedPaintDevice& device) {
                device.setPageLayout(calendarPageLayout());
                return paintMonths(device, years, year, first, last, withNotes);
            },
            printTitle(year, first, last));
    });
}

MonthView::MonthView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("monthView"));
    setFocusPolicy(Qt::StrongFocus);
    // Small enough for a 1920 x 1080 screen at 200 % (960 x 540 logical pixels); the type
    // scales with the cells.
    setMinimumSize(380, 250);
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
    default:
        // The grid's actions, also when their shortcut did not reach them (the window
        // inactive).
        for (QAction* action : actions()) {
            if (!action->shortcut().isEmpty() &&
                action->shortcut() == QKeySequence(event->keyCombination())) {
                action->trigger();
                return;
            }
        }
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
    // The page's usual size, or the screen's available area when that is smaller (a frame
    // and a title bar set aside).
    if (const QScreen* target = screen()) {
        const QRect area = target->availableGeometry();
        resize(std::min(1000, area.width() - 16), std::min(700, area.height() - 40));
    }
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
    QPushButton* today =
        addButton("today", QStringLiteral("今日"), QStringLiteral("今日の月 (Home)"));
    QPushButton* nextMonth =
        addButton("nextMonth", QStringLiteral("翌月 ›"), QStringLiteral("次の月 (Page Down)"));
    QPushButton* nextYear =
        addButton("nextYear", QStringLiteral("翌年 »"), QStringLiteral("次の年の同じ月"));
    // The month typed in: a year from -32768 to 32767 and a month, taken on Enter.
    yearBox_ = new QSpinBox(this);
    yearBox_->setObjectName(QStringLiteral("yearBox"));
    yearBox_->setRange(almanac::coverage(almanac::Source::Year).first,
                       almanac::coverage(almanac::Source::Year).last);
    yearBox_->setKeyboardTracking(false);
    yearBox_->setToolTip(QStringLiteral("表示する年 (Ctrl+G)"));
    monthBox_ = new QSpinBox(this);
    monthBox_->setObjectName(QStringLiteral("monthBox"));
    monthBox_->setRange(1, 12);
    monthBox_->setKeyboardTracking(false);
    monthBox_->setToolTip(QStringLiteral("表示する月"));
    bar->addSpacing(8);
    bar->addWidget(yearBox_);
    bar->addWidget(new QLabel(QStringLiteral("年"), this));
    bar->addWidget(monthBox_);
    bar->addWidget(new QLabel(QStringLiteral("月"), this));
    bar->addStretch();
    QPushButton* printButton = addButton("print", QStringLiteral("印刷(&P)…"),
                                         QStringLiteral("この月または1年分を印刷します"));

    view_ = new MonthView(this);
    details_ = new QTextEdit(this);
    details_->setObjectName(QStringLiteral("details"));
    details_->setReadOnly(true);
    details_->setFocusPolicy(Qt::ClickFocus);
    // Narrower on a small screen, down to what the date lines need.
    details_->setMinimumWidth(150);
    details_->setMaximumWidth(250);

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
    connect(view_, &MonthView::dayClicked, this, &CalendarPage::showDate);
    const auto typedMonth = [this] { showMonth(yearBox_->value(), monthBox_->value()); };
    connect(yearBox_, &QSpinBox::valueChanged, this, typedMonth);
    connect(monthBox_, &QSpinBox::valueChanged, this, typedMonth);

    // The grid's own menu names the keys.
    const auto addAction = [this](const char* name, const QString& text, const QKeySequence& key,
                                  auto slot) {
        auto* action = new QAction(text, view_);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetShortcut);
        view_->addAction(action);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    addAction("mnutoday", QStringLiteral("今日(&T)"), QKeySequence(Qt::Key_Home),
              [this] { showToday(); });
    addAction("mnupreviousmonth", QStringLiteral("前月(&B)"), QKeySequence(Qt::Key_PageUp),
              [this] { stepMonths(-1); });
    addAction("mnunextmonth", QStringLiteral("翌月(&N)"), QKeySequence(Qt::Key_PageDown),
              [this] { stepMonths(1); });
    addAction("mnumonthend", QStringLiteral("月末(&E)"), QKeySequence(Qt::Key_End), [this] {
        showDate({selected_.year, selected_.month, daysInMonth(selected_.year, selected_.month)});
    });
    QAction* typeMonth = addAction("mnugoto", QStringLiteral("年月を指定(&G)…"),
                                   QKeySequence(Qt::CTRL | Qt::Key_G), [this] {
                                       yearBox_->setFocus(Qt::ShortcutFocusReason);
                                       yearBox_->selectAll();
                                   });
    typeMonth->setShortcutContext(Qt::WindowShortcut);
    auto* separator = new QAction(view_);
    separator->setSeparator(true);
    view_->addAction(separator);
    QAction* printAction = new QAction(QStringLiteral("印刷(&P)…"), view_);
    printAction->setShortcut(QKeySequence::Print);
    printAction->setShortcutContext(Qt::WidgetShortcut); // the window's shortcut prints
    view_->addAction(printAction);
    connect(printAction, &QAction::triggered, this, &CalendarPage::print);
    view_->setContextMenuPolicy(Qt::ActionsContextMenu);
    view_->setFocus();
}

void CalendarPage::showMonth(int year, int month) {
    if (year == selected_.year && month == selected_.month) {
        return;
    }
    showDate({year, month, std::min(selected_.day, daysInMonth(year, month))});
}

void CalendarPage::showDate(const CivilDate& date) {
    if (!almanac::covers(almanac::Source::Year, date.year)) {
        QApplication::beep();
        return;
    }
    if (page_.year != date.year || page_.month != date.month || page_.cells.empty()) {
        // A month the term tables cannot calculate leaves the page as it was.
        almanac::MonthPage page;
        if (!guarded(this, [&] { page = years_.monthPage(date.year, date.month); })) {
            return;
        }
        page_ = std::move(page);
        setWindowTitle(QStringLiteral("暦 %1年%2月").arg(qs(yearText(date.year))).arg(date.month));
    }
    selected_ = date;
    const QSignalBlocker quietYear(yearBox_);
    const QSignalBlocker quietMonth(monthBox_);
    yearBox_->setValue(date.year);
    monthBox_->setValue(date.month);
    showMarks();
    showDetails();
}

void CalendarPage::setNotesShown(bool shown) {
    notesShown_ = shown;
    // Said once, where the notes are read: what they are.
    details_->setToolTip(shown ? QStringLiteral("暦注は暦の慣習で、天文の計算ではありません")
                               : QString());
    showMarks();
    showDetails();
}

void CalendarPage::setPlace(const horizon::NamedPlace& place) {
    times_.setPlace(place);
    showMarks();
    showDetails();
}

void CalendarPage::showMarks() {
    const QDate today = QDate::currentDate();
    PageMarks marks;
    if (notesShown_ && !guarded(this, [&] { marks = noteMarks(years_); })) {
        marks = PageMarks{};
    }
    marks.today = CivilDate{today.year(), today.month(), today.day()};
    marks.selected = selected_;
    marks.footnote = times_.caption(page_.year);
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
    showDate({year, month, std::min(selected_.day, daysInMonth(year, month))});
}

void CalendarPage::showToday() {
    const QDate today = QDate::currentDate();
    showDate({today.year(), today.month(), today.day()});
}

void CalendarPage::showDetails() {
    QStringList lines;
    guarded(this, [&] {
        for (const std::string& line : years_.dayDetails(selected_)) {
            lines << qs(line);
        }
        // The day's eclipse with the contacts at the place of the rising and setting times.
        for (const std::string& line : years_.eclipseDetails(selected_, times_.place())) {
            lines << qs(line);
        }
    });
    if (const std::string note = lunisolar::monthNumberingNote(selected_); !note.empty()) {
        lines << qs(note);
    }
    // The times near the top, where a small screen still shows them; the notes, long, after.
    lines << times_.detailsLines(selected_);
    if (notesShown_) {
        guarded(this, [&] {
            QStringList notes{QString(), QStringLiteral("【暦注】")};
            for (const std::string& line : years_.noteDetails(selected_)) {
                notes << qs(line);
            }
            lines << notes;
        });
    }
    details_->setPlainText(lines.join(QLatin1Char('\n')));
}

void CalendarPage::print() {
    QPrinter printer(QPrinter::HighResolution);
    // A4 landscape unless the user chooses otherwise: the dialog's paper, orientation and
    // margins are the printed page's.
    printer.setPageLayout(calendarPageLayout());
    printer.setDocName(printTitle(page_.year, page_.month, page_.month));
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
    // The print queue names the job as the pages are titled.
    printer.setDocName(printTitle(page_.year, first, last));
    printTo(printer, first, last);
}

bool CalendarPage::printTo(QPrinter& printer, int first, int last) {
    bool printed = false;
    guarded(this, [&] { printed = printPages(printer, first, last); });
    return printed;
}

bool CalendarPage::printPages(QPrinter& printer, int first, int last) {
    QString problem;
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        // A PDF file: made whole in memory, then put in place, so that a full disk leaves the
        // old file and says so instead of leaving a file no reader opens.
        const QString file = printer.outputFileName();
        try {
            if (writePdfFile(
                    file,
                    [&](QPagedPaintDevice& device) {
                        device.setPageLayout(printer.pageLayout());
                        return paintMonths(device, years_, page_.year, first, last, notesShown_);
                    },
                    printTitle(page_.year, first, last))) {
                return true;
            }
            problem = QStringLiteral("「%1」を作れませんでした。").arg(file);
        } catch (const FileWriteError& e) {
            problem =
                QStringLiteral("「%1」に書き込めませんでした。\n%2。元のファイルはそのままです。")
                    .arg(file, japaneseWriteReason(e));
        }
    } else if (paintMonths(printer, years_, page_.year, first, last, notesShown_)) {
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
