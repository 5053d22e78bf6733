#include "ui/form1.h"

#include "almanac/coverage.h"
#include "almanac/limits.h"
#include "almanac/year_almanac.h"
#include "calendar/year_text.h"
#include "ephemeris/data_location.h"
#include "export/json_document.h"
#include "export/text_report.h"
#include "ui/about_box.h"
#include "ui/almanac_guard.h"
#include "ui/fonts.h"
#include "ui/form2.h"
#include "ui/icons.h"
#include "ui/notification_sound.h"
#include "ui/placement.h"
#include "ui/text_box.h"
#include "ui/twips.h"
#include "ui/year_arrow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QIcon>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTextEdit>
#include <QWindow>
#include <array>

namespace sorvane::ui {

namespace {

// The main window's client area under the menu bar, 5055 x 8160 twips.
constexpr int kClientWidth = 337;
constexpr int kClientHeight = 544;

// The clock's year as the program counts years: Qt's dates have no year 0 (1 BC is -1),
// the program's are astronomical (1 BC is 0).
int currentYear() {
    const int year = QDate::currentDate().year();
    return year < 0 ? year + 1 : year;
}

struct MonthRow {
    const char* caption;
    int buttonTop;
    int labelTop;
};

// Captions and tops (twips) of the twelve month buttons and of the first-day labels beside
// them. January to September use full-width digits.
constexpr std::array<MonthRow, 12> kMonthRows = {{
    {"１月", 1080, 1150},
    {"２月", 1800, 1890},
    {"３月", 2280, 2370},
    {"４月", 2760, 2835},
    {"５月", 3480, 3570},
    {"６月", 3960, 4040},
    {"７月", 4440, 4515},
    {"８月", 5160, 5250},
    {"９月", 5640, 5715},
    {"10月", 6120, 6195},
    {"11月", 6840, 6930},
    {"12月", 7320, 7415},
}};

QLabel* fixedLabel(QWidget* parent, const QString& name, const QString& text, QRect geometry) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    // A click on a label is not a click on the window surface.
    label->setAttribute(Qt::WA_NoMousePropagation);
    return label;
}

QPushButton* commandButton(QWidget* parent, const QString& name, const QString& text,
                           QRect geometry, const QFont& font) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setFont(font);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

} // namespace

Form1::Form1(Tables tables, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      tables_(std::move(tables)), notificationPlayer_([] { playNotificationSound(); }) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Sorvane"));
    setWindowIcon(mainWindowIcon());
    setFont(programFont(11.25));

    buildMenus();
    surface_ = new QWidget(this);
    surface_->setObjectName(QStringLiteral("surface"));
    surface_->setFixedSize(kClientWidth, kClientHeight);
    surface_->installEventFilter(this);
    setCentralWidget(surface_);
    buildControls(surface_);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // Each time this window becomes the active one, Enter and Space go to 計算. Watched at the
    // platform window level: the month window shares this window's activation, so coming back
    // from it gives no widget activation event.
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* window) {
        if (window != nullptr && window == windowHandle()) {
            btncalc_->setFocus(Qt::ActiveWindowFocusReason);
        }
    });

    // Start-up: place the window, then show the current year's results from the first moment.
    centreOnScreen();
    txtyear_->setText(QString::fromStdString(yearText(currentYear())));
    calculate();
}

Form1::~Form1() = default;

void Form1::buildMenus() {
    QMenu* mnufile = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    mnufile->setObjectName(QStringLiteral("mnufile"));
    QAction* mnuinu = mnufile->addAction(QStringLiteral("現在に戻す(&I)"));
    mnuinu->setObjectName(QStringLiteral("mnuinu"));
    QAction* mnuline1 = mnufile->addSeparator();
    mnuline1->setObjectName(QStringLiteral("mnuline1"));
    QAction* mnuend = mnufile->addAction(QStringLiteral("Tessalyを終了(&E)"));
    mnuend->setObjectName(QStringLiteral("mnuend"));

    calendarMenu_ = new CalendarMenu(
        tables_, this, [this] { return txtyear_->text(); }, [this] { calculate(); });
    calendarMenu_->build(menuBar());

    QMenu* mnuhelp = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    mnuhelp->setObjectName(QStringLiteral("mnuhelp"));
    QAction* mnuver = mnuhelp->addAction(QStringLiteral("バージョン情報"));
    mnuver->setObjectName(QStringLiteral("mnuver"));

    connect(mnuinu, &QAction::triggered, this, &Form1::backToCurrentYear);
    connect(mnuend, &QAction::triggered, this, &Form1::shutdown);
    connect(mnuver, &QAction::triggered, this, &Form1::showAbout);
}

void Form1::buildControls(QWidget* surface) {
    auto* imgminus =
        new YearArrow(QStringLiteral("imgminus"), QStringLiteral(":/sorvane/minus.xpm"),
                      QStringLiteral("マイナス"), surface);
    imgminus->setGeometry(twipsRect(315, 210, 480, 480));

    txtyear_ = new QLineEdit(surface);
    txtyear_->setObjectName(QStringLiteral("txtyear"));
    txtyear_->setGeometry(twipsRect(795, 195, 1020, 470));
    txtyear_->setAlignment(Qt::AlignCenter);
    // Years of five and six characters (down to -32768) are condensed to fit the box.
    fitLineToWidth(txtyear_, programFont(16.5));
    // Locked: the program alone writes the year. No length limit is set, because a limit
    // would also cut the years the program writes (-32768 has six characters).
    txtyear_->setReadOnly(true);

    auto* imgplus = new YearArrow(QStringLiteral("imgplus"), QStringLiteral(":/sorvane/plus.xpm"),
                                  QStringLiteral("プラス"), surface);
    imgplus->setGeometry(twipsRect(1785, 210, 480, 480));

    auto* label1 = fixedLabel(surface, QStringLiteral("Label1"), QStringLiteral("年"),
                              twipsRect(2310, 315, 315, 315));
    label1->setFont(programFont(14.25));
    label1->setAlignment(Qt::AlignCenter);

    btncalc_ = commandButton(surface, QStringLiteral("btncalc"), QStringLiteral("計算"),
                             twipsRect(2835, 210, 912, 480), programFont(10.5));
    command4_ = commandButton(surface, QStringLiteral("Command4"), QStringLiteral("終了"),
                              twipsRect(3885, 210, 852, 480), programFont(10.5));

    txtkekka_ = textBox(surface, QStringLiteral("txtkekka"), twipsRect(1785, 1155, 2955, 6735),
                        programFont(12));
    txtkekka_->setFocusPolicy(Qt::ClickFocus);
    QPalette buttonFace = txtkekka_->palette();
    buttonFace.setColor(QPalette::Base, buttonFace.color(QPalette::Button));
    txtkekka_->setPalette(buttonFace);
    txtkekka_->viewport()->installEventFilter(this);

    auto* label14 = fixedLabel(surface, QStringLiteral("Label14"), QStringLiteral("１日干支"),
                               twipsRect(945, 840, 750, 225));
    label14->setFont(programFont(9));

    for (int i = 0; i < 12; ++i) {
        lblday1_[i] = fixedLabel(surface, QStringLiteral("lblday1_%1").arg(i), QString(),
                                 twipsRect(1050, kMonthRows[i].labelTop, 540, 225));
    }
    for (int i = 0; i < 12; ++i) {
        monthButtons_[i] = commandButton(
            surface, QStringLiteral("month%1").arg(i + 1, 2, 10, QLatin1Char('0')),
            QString::fromUtf8(kMonthRows[i].caption),
            twipsRect(120, kMonthRows[i].buttonTop, 735, 375), programFont(11.25, true));
        const int month = i + 1;
        connect(monthButtons_[i], &QPushButton::clicked, this, [this, month] { openMonth(month); });
    }

    // The Tab key visits the year box, the two buttons and the month buttons in this order.
    QWidget::setTabOrder(txtyear_, btncalc_);
    QWidget::setTabOrder(btncalc_, command4_);
    QWidget::setTabOrder(command4_, monthButtons_[0]);
    for (int i = 1; i < 12; ++i) {
        QWidget::setTabOrder(monthButtons_[i - 1], monthButtons_[i]);
    }

    // Enter on a focused command button presses it, as the space bar does.
    for (QPushButton* button : surface->findChildren<QPushButton*>()) {
        button->installEventFilter(this);
    }

    connect(btncalc_, &QPushButton::clicked, this, &Form1::calculate);
    connect(command4_, &QPushButton::clicked, this, &Form1::shutdown);
    connect(imgminus, &YearArrow::clicked, this, [this] { stepYear(-1); });
    connect(imgminus, &YearArrow::doubleClicked, this, [this] { stepYear(-9); });
    connect(imgplus, &YearArrow::clicked, this, [this] { stepYear(1); });
    connect(imgplus, &YearArrow::doubleClicked, this, [this] { stepYear(9); });
}

QRect Form1::availableArea() const {
    const QScreen* target = screen() ? screen() : QGuiApplication::primaryScreen();
    return target != nullptr ? target->availableGeometry() : QRect();
}

void Form1::centreOnScreen() {
    const QScreen* target = screen() ? screen() : QGuiApplication::primaryScreen();
    if (target == nullptr) {
        return;
    }
    adjustSize();
    centredAt_ = centredFramePosition(frameGeometry().size(), target->geometry(),
                                      target->availableGeometry());
    move(centredAt_);
}

void Form1::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    // The frame's size is known only once the window manager has framed the shown window,
    // just before the first paint: centre again then, now with the whole frame, unless the
    // window has been moved elsewhere meanwhile.
    if (!frameKnown_ && isVisible() && windowHandle() != nullptr &&
        !windowHandle()->frameMargins().isNull()) {
        frameKnown_ = true;
        if (pos() == centredAt_) {
            centreOnScreen();
        }
    }
}

void Form1::calculate() {
    std::int16_t year = 0;
    try {
        year = parseYearText(txtyear_->text().toStdString());
    } catch (const YearTextError&) {
        // A whole number that is refused lies outside the years the program can calculate.
        const bool whole =
            QRegularExpression(QStringLiteral("^[+-]?[0-9]+$")).match(txtyear_->text()).hasMatch();
        const almanac::YearSpan years = almanac::coverage(almanac::Source::Year);
        QMessageBox::warning(
            this, QStringLiteral("Sorvane"),
            QStringLiteral("年の値「%1」では計算できません。\n(%2)")
                .arg(txtyear_->text(),
                     whole ? QStringLiteral("%1～%2 の範囲外です").arg(years.first).arg(years.last)
                           : QStringLiteral("整数ではありません")));
        return;
    }
    if (calendarMenu_->observatoryMode() && !almanac::covers(almanac::Source::Precise, year)) {
        QMessageBox::information(
            this, QStringLiteral("Sorvane"),
            QStringLiteral("国立天文台と同じ計算方法で計算できるのは%1年から%2年までです。\n"
                           "%3年は既定の理論で表示します。")
                .arg(almanac::coverage(almanac::Source::Precise).first)
                .arg(almanac::coverage(almanac::Source::Precise).last)
                .arg(txtyear_->text()));
    }
    // On a failed calculation the message box has said why and the results stay as they were.
    std::unique_ptr<almanac::YearAlmanac> calculated;
    if (!guarded(this, [&] {
            calculated = std::make_unique<almanac::YearAlmanac>(
                calendarMenu_->days().year(year, almanac::AlmanacOptions{}));
        })) {
        return;
    }
    almanac_ = std::move(calculated);
    std::string lines;
    for (const almanac::Event& e : almanac_->solarTerms) {
        lines += e.line + "\r\n";
    }
    showLines(txtkekka_, displayText(lines), Qt::AlignLeft);
    for (int i = 0; i < 12; ++i) {
        lblday1_[i]->setText(QString::fromStdString(almanac_->firstDay(i + 1).sexagenaryName));
    }
    showDriftWarning();
}

void Form1::showDriftWarning() {
    int outside = 0;
    for (const almanac::Event& e : almanac_->solarTerms) {
        outside += exports::outsideMonth(almanac_->year, e) ? 1 : 0;
    }
    if (outside == 0) {
        if (driftWarning_ != nullptr) {
            driftWarning_->hide();
        }
        return;
    }
    // A box beside the window, not in the result lines (they stay what the method gives), and
    // not modal, so that a clock in such a year still opens the window.
    if (driftWarning_ == nullptr) {
        driftWarning_ = new QMessageBox(QMessageBox::Warning, QStringLiteral("Sorvane"), QString(),
                                        QMessageBox::Ok, this);
        driftWarning_->setObjectName(QStringLiteral("driftWarning"));
        driftWarning_->setModal(false);
    }
    driftWarning_->setText(
        QStringLiteral(
            "%1年は暦が季節からずれているため、%2件の節気・土用が本来の月の外に出ています。\n"
            "意味のある結果が得られるのは%3年から%4年までです。")
            .arg(QString::fromStdString(yearText(almanac_->year)))
            .arg(outside)
            .arg(almanac::kFirstCleanYear)
            .arg(almanac::kLastCleanYear));
    driftWarning_->show();
}

void Form1::stepYear(int delta) {
    int year = 0;
    try {
        year = parseYearText(txtyear_->text().toStdString());
    } catch (const YearTextError&) {
        QApplication::beep();
        return;
    }
    const int next = year + delta;
    if (!almanac::covers(almanac::Source::Year, next)) {
        QApplication::beep();
        return;
    }
    txtyear_->setText(QString::fromStdString(yearText(next)));
    markStale();
}

void Form1::backToCurrentYear() {
    txtyear_->setText(QString::fromStdString(yearText(currentYear())));
    markStale();
}

void Form1::markStale() {
    hideMonthWindow();
    almanac_.reset();
}

Form2* Form1::loadMonthWindow() {
    if (form2_ == nullptr) {
        form2_ = new Form2(this);
        dockMonthWindow();
    }
    return form2_;
}

void Form1::hideMonthWindow() {
    loadMonthWindow()->hide();
}

void Form1::dockMonthWindow() {
    Form2* window = loadMonthWindow();
    const QMargins own =
        window->windowHandle() != nullptr ? window->windowHandle()->frameMargins() : QMargins();
    // While the month window has no frame (not shown yet, or hidden), its frame is taken to
    // be like this window's.
    const QMargins margins =
        own.isNull() && windowHandle() != nullptr ? windowHandle()->frameMargins() : own;
    QPoint position =
        dockedFramePosition(frameGeometry(), window->size().grownBy(margins), availableArea());
    if (own.isNull() && window->testAttribute(Qt::WA_WState_Created)) {
        // A window shown before is placed by its client area once its frame has gone.
        position += QPoint(margins.left(), margins.top());
    }
    window->move(position);
}

void Form1::openMonth(int month) {
    if (!almanac_) {
        return;
    }
    Form2* window = loadMonthWindow();
    if (!window->isVisible()) {
        dockMonthWindow(); // the main window may have moved while this one was hidden
    }
    window->show();
    window->raise();
    window->activateWindow();
    window->showListing(almanac_->monthListing(month));
}

void Form1::showAbout() {
    QMessageBox box(QMessageBox::NoIcon, aboutTitle(), displayText(aboutText().toStdString()),
                    QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("aboutBox"));
    box.setTextFormat(Qt::PlainText);
    box.button(QMessageBox::Ok)->setIcon(QIcon()); // a plain OK button, as on the desktop
    box.exec();
    if (notificationPlayer_) {
        notificationPlayer_();
    }
}

void Form1::shutdown() {
    // Closing this window runs closeEvent, which comes back here: the guard makes that
    // nested call a no-op, so every step runs once.
    if (shuttingDown_) {
        return;
    }
    shuttingDown_ = true;
    emit shutdownStarted();
    if (form2_ != nullptr) {
        form2_->close();
    }
    calendarMenu_->closeWindows();
    close();
    QCoreApplication::exit(0);
}

void Form1::closeEvent(QCloseEvent* event) {
    shutdown();
    event->accept();
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    const bool onSurface = watched == surface_;
    const bool onKekka = txtkekka_ != nullptr && watched == txtkekka_->viewport();
    if (onSurface || onKekka) {
        bool& pressed = onSurface ? surfacePressed_ : kekkaPressed_;
        auto* widget = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::MouseButtonPress) {
            pressed = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        } else if (event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const bool click = pressed && mouse->button() == Qt::LeftButton &&
                               widget->rect().contains(mouse->position().toPoint());
            pressed = false;
            if (click) {
                dockMonthWindow();
            }
        }
        return false;
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        auto* button = qobject_cast<QPushButton*>(watched);
        if (button != nullptr && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            button->click();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace sorvane::ui
