// The place of the calendar page's rising and setting times: the 暦 menu's list of places,
// the dialog for any other place, the choice kept between runs, and the times of the days
// shown, computed a month at a time.
#pragma once

// moc cannot parse the standard library's <compare>, which the date type needs.
#ifndef Q_MOC_RUN
#include "calendar/civil_date.h"
#include "horizon/places.h"
#endif

#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

class QMenu;
class QWidget;

namespace sorvane::ui {

// The places of the menu: 東京 first, then the places file's others in its order; only 東京
// when the file cannot be read (the menu still offers その他…).
std::vector<horizon::NamedPlace> menuPlaces(const std::filesystem::path& dataDir);

// The place kept in the settings (calendarPage/place, or calendarPage/latitude and
// calendarPage/longitude for one given by coordinates, whose name is empty); 東京 when none is
// kept or the kept one is no longer valid.
horizon::NamedPlace savedPlace(const std::vector<horizon::NamedPlace>& places);
void savePlace(const horizon::NamedPlace& place);

// The coordinates typed in the dialog, decimal degrees, north and east positive; on a value
// that is not a number or lies beyond ±90 / ±180, nothing and the reason in Japanese.
std::optional<horizon::Observer> parseCoordinates(const QString& latitude, const QString& longitude,
                                                  QString& problem);

// Asks for a latitude and a longitude (the dialog that その他… opens); nothing when cancelled.
std::optional<horizon::Observer> askCoordinates(QWidget* parent, const horizon::Observer& shown);

// Adds the submenu 日の出入りの場所 to `menu`: one checkable entry per place, the current one
// checked, and その他…. A choice is kept in the settings and then given to `chosen`.
QMenu* addPlaceMenu(QMenu* menu, QWidget* dialogParent,
                    const std::vector<horizon::NamedPlace>& places,
                    const horizon::NamedPlace& current,
                    std::function<void(const horizon::NamedPlace&)> chosen);

// The times of the days for one place, computed for a whole month when one of its days is
// first asked for and kept until another month is.
class MonthTimes {
  public:
    MonthTimes();

    void setPlace(const horizon::NamedPlace& place);
    const horizon::NamedPlace& place() const { return place_; }

    // The day's times; nothing for years the times cannot be computed for.
    std::optional<horizon::DayTimes> day(const CivilDate& date);
    // The details pane's lines for the day: a blank line, the place's caption and the times;
    // none where there are no times.
    QStringList detailsLines(const CivilDate& date);
    // The line naming the place, for a page of that year (empty where there are no times).
    QString caption(int year) const;

  private:
    horizon::NamedPlace place_;
    int year_ = 0;
    int month_ = 0; // 0: nothing computed
    std::vector<horizon::DayTimes> days_;
};

} // namespace sorvane::ui
