#include "ui/date_popup.h"

#include "almanac/coverage.h"
#include "holidays/holidays.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QTextCharFormat>
#include <memory>
#include <set>

namespace sorvane::ui {

namespace {

// Marks the holidays of the page shown (and of the days of the months beside it that the page
// shows) red; the years are computed once each.
class HolidayMarks {
  public:
    explicit HolidayMarks(QCalendarWidget* calendar) : calendar_(calendar) {}

    void show(int year, int month) {
        const QDate first(year, month, 1);
        for (const QDate& d : {first.addMonths(-1), first, first.addMonths(1)}) {
            mark(d.year());
        }
    }

  private:
    void mark(int year) {
        if (!marked_.insert(year).second || !holidays::inRange(year)) {
            return;
        }
        QTextCharFormat red;
        red.setForeground(kSundayRed);
        try {
            for (const holidays::Holiday& h :
                 holidays::yearHolidays(year, engines_.observatory())) {
                calendar_->setDateTextFormat(QDate(h.date.year, h.date.month, h.date.day), red);
            }
        } catch (const std::exception&) {
            // The year's holidays could not be computed: its days keep the weekday colours.
        }
    }

    QCalendarWidget* calendar_;
    almanac::SunEngines engines_{nullptr};
    std::set<int> marked_;
};

} // namespace

void useJapaneseCalendarPopup(QDateEdit* edit) {
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    edit->setLocale(japanese);
    edit->setCalendarPopup(true);
    auto* calendar = new QCalendarWidget(edit);
    calendar->setObjectName(QStringLiteral("datePopup"));
    calendar->setLocale(japanese);
    calendar->setFirstDayOfWeek(Qt::Sunday);
    calendar->setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    QTextCharFormat weekday;
    weekday.setForeground(QColor(0x20, 0x20, 0x20));
    QTextCharFormat saturday;
    saturday.setForeground(kSaturdayBlue);
    QTextCharFormat sunday;
    sunday.setForeground(kSundayRed);
    for (int day = Qt::Monday; day <= Qt::Friday; ++day) {
        calendar->setWeekdayTextFormat(static_cast<Qt::DayOfWeek>(day), weekday);
    }
    calendar->setWeekdayTextFormat(Qt::Saturday, saturday);
    calendar->setWeekdayTextFormat(Qt::Sunday, sunday);
    auto marks = std::make_shared<HolidayMarks>(calendar);
    QObject::connect(calendar, &QCalendarWidget::currentPageChanged, calendar,
                     [marks](int year, int month) { marks->show(year, month); });
    edit->setCalendarWidget(calendar);
    marks->show(calendar->yearShown(), calendar->monthShown());
}

} // namespace sorvane::ui
