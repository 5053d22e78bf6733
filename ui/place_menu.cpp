#include "ui/place_menu.h"

#include "almanac/coverage.h"
#include "horizon/day_text.h"
#include "ui/settings.h"

#include <QActionGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <exception>
#include <memory>

namespace sorvane::ui {

namespace {

const QString kPlaceKey = QStringLiteral("calendarPage/place");
const QString kLatitudeKey = QStringLiteral("calendarPage/latitude");
const QString kLongitudeKey = QStringLiteral("calendarPage/longitude");

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

std::vector<horizon::NamedPlace> menuPlaces(const std::filesystem::path& dataDir) {
    std::vector<horizon::NamedPlace> places{horizon::tokyo()};
    try {
        for (horizon::NamedPlace& place : horizon::loadPlaces(dataDir)) {
            if (place.name != places.front().name) {
                places.push_back(std::move(place));
            }
        }
    } catch (const std::exception&) {
        // Without the file the menu still has 東京 and その他….
    }
    return places;
}

horizon::NamedPlace savedPlace(const std::vector<horizon::NamedPlace>& places) {
    const QSettings settings = programSettings();
    if (!settings.contains(kPlaceKey)) {
        return horizon::tokyo();
    }
    const QString name = settings.value(kPlaceKey).toString();
    if (name.isEmpty()) {
        bool latitudeRead = false;
        bool longitudeRead = false;
        const horizon::Observer observer{settings.value(kLatitudeKey).toDouble(&latitudeRead),
                                         settings.value(kLongitudeKey).toDouble(&longitudeRead)};
        if (latitudeRead && longitudeRead && horizon::validObserver(observer)) {
            return horizon::NamedPlace{std::string(), observer};
        }
        return horizon::tokyo();
    }
    const horizon::NamedPlace* found = horizon::findPlace(places, name.toStdString());
    return found != nullptr ? *found : horizon::tokyo();
}

void savePlace(const horizon::NamedPlace& place) {
    QSettings settings = programSettings();
    settings.setValue(kPlaceKey, qs(place.name));
    if (place.name.empty()) {
        settings.setValue(kLatitudeKey, place.observer.latitude);
        settings.setValue(kLongitudeKey, place.observer.longitude);
    } else {
        settings.remove(kLatitudeKey);
        settings.remove(kLongitudeKey);
    }
}

std::optional<horizon::Observer> parseCoordinates(const QString& latitude, const QString& longitude,
                                                  QString& problem) {
    bool latitudeRead = false;
    bool longitudeRead = false;
    const double lat = latitude.trimmed().toDouble(&latitudeRead);
    const double lon = longitude.trimmed().toDouble(&longitudeRead);
    if (!latitudeRead || !std::isfinite(lat)) {
        problem = QStringLiteral("緯度を度の数値で入れてください（例 35.66）。");
    } else if (!longitudeRead || !std::isfinite(lon)) {
        problem = QStringLiteral("経度を度の数値で入れてください（例 139.74）。");
    } else if (lat < -90 || lat > 90) {
        problem = QStringLiteral("緯度は -90 から 90 までです（北緯が正、南緯が負）。");
    } else if (lon < -180 || lon > 180) {
        problem = QStringLiteral("経度は -180 から 180 までです（東経が正、西経が負）。");
    } else {
        problem.clear();
        return horizon::Observer{lat, lon};
    }
    return std::nullopt;
}

std::optional<horizon::Observer> askCoordinates(QWidget* parent, const horizon::Observer& shown) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("coordinatesDialog"));
    dialog.setWindowTitle(QStringLiteral("場所を緯度・経度で指定"));
    auto* latitude = new QLineEdit(QString::number(shown.latitude, 'f', 4), &dialog);
    latitude->setObjectName(QStringLiteral("latitude"));
    auto* longitude = new QLineEdit(QString::number(shown.longitude, 'f', 4), &dialog);
    longitude->setObjectName(QStringLiteral("longitude"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("緯度(&A)："), latitude);
    form->addRow(QStringLiteral("経度(&O)："), longitude);
    auto* note =
        new QLabel(QStringLiteral("度の10進数で、北緯・東経が正、南緯・西経が負です。"), &dialog);
    note->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    auto* column = new QVBoxLayout(&dialog);
    column->addLayout(form);
    column->addWidget(note);
    column->addWidget(buttons);
    std::optional<horizon::Observer> result;
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        QString problem;
        result = parseCoordinates(latitude->text(), longitude->text(), problem);
        if (result) {
            dialog.accept();
            return;
        }
        QMessageBox box(QMessageBox::Warning, dialog.windowTitle(), problem, QMessageBox::Ok,
                        &dialog);
        box.setObjectName(QStringLiteral("coordinatesErrorBox"));
        box.exec();
    });
    latitude->selectAll();
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return result;
}

QMenu* addPlaceMenu(QMenu* menu, QWidget* dialogParent,
                    const std::vector<horizon::NamedPlace>& places,
                    const horizon::NamedPlace& current,
                    std::function<void(const horizon::NamedPlace&)> chosen) {
    QMenu* submenu = menu->addMenu(QStringLiteral("日の出入りの場所(&L)"));
    submenu->setObjectName(QStringLiteral("mnuplace"));
    auto* group = new QActionGroup(submenu);
    group->setExclusive(true);
    const auto choose = [chosen](const horizon::NamedPlace& place) {
        savePlace(place);
        chosen(place);
    };
    const auto addPlace = [&](const horizon::NamedPlace& place) {
        QAction* entry = submenu->addAction(qs(place.name));
        entry->setObjectName(QStringLiteral("mnuplace_") + qs(place.name));
        entry->setCheckable(true);
        entry->setChecked(place.name == current.name);
        group->addAction(entry);
        QObject::connect(entry, &QAction::triggered, submenu, [choose, place] { choose(place); });
    };
    // 東京 and その他… first, where a long list that the screen splits into columns still
    // shows them together; then the prefectural seats in their order.
    if (!places.empty()) {
        addPlace(places.front());
    }
    QAction* other = submenu->addAction(QStringLiteral("その他…"));
    other->setObjectName(QStringLiteral("mnuplaceother"));
    other->setCheckable(true);
    other->setChecked(current.name.empty());
    group->addAction(other);
    submenu->addSeparator();
    for (std::size_t i = 1; i < places.size(); ++i) {
        addPlace(places[i]);
    }
    // The coordinates last given, offered again when the dialog opens.
    auto shown = std::make_shared<horizon::NamedPlace>(current);
    QObject::connect(other, &QAction::triggered, submenu, [=] {
        const std::optional<horizon::Observer> observer =
            askCoordinates(dialogParent, shown->observer);
        if (!observer) {
            // Cancelled: the entry of the place still in use is checked again.
            for (QAction* entry : group->actions()) {
                entry->setChecked(entry == other ? shown->name.empty()
                                                 : entry->text() == qs(shown->name));
            }
            return;
        }
        *shown = horizon::NamedPlace{std::string(), *observer};
        choose(*shown);
    });
    // A named place chosen becomes the one restored on a cancel.
    QObject::connect(group, &QActionGroup::triggered, submenu, [=](QAction* entry) {
        if (entry != other) {
            const horizon::NamedPlace* place =
                horizon::findPlace(places, entry->text().toStdString());
            if (place != nullptr) {
                *shown = *place;
            }
        }
    });
    return submenu;
}

MonthTimes::MonthTimes() : place_(horizon::tokyo()) {}

void MonthTimes::setPlace(const horizon::NamedPlace& place) {
    place_ = place;
    month_ = 0;
    days_.clear();
}

std::optional<horizon::DayTimes> MonthTimes::day(const CivilDate& date) {
    if (!almanac::covers(almanac::Source::Precise, date.year)) {
        return std::nullopt;
    }
    if (date.year != year_ || date.month != month_) {
        year_ = date.year;
        month_ = date.month;
        days_.clear();
        try {
            days_ =
                horizon::dayTimes(place_.observer, dayNumber(CivilDate{year_, month_, 1}),
                                  dayNumber(CivilDate{year_, month_, daysInMonth(year_, month_)}));
        } catch (const std::exception&) {
            // The edges of the years the positions reach: no times, as outside them.
        }
    }
    const long long wanted = dayNumber(date);
    for (const horizon::DayTimes& times : days_) {
        if (times.day == wanted) {
            return times;
        }
    }
    return std::nullopt;
}

QStringList MonthTimes::detailsLines(const CivilDate& date) {
    const std::optional<horizon::DayTimes> times = day(date);
    if (!times) {
        return {};
    }
    QStringList lines{QString(), QStringLiteral("【%1】").arg(caption(date.year))};
    lines << qs(horizon::dayDetailsText(*times)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return lines;
}

QString MonthTimes::caption(int year) const {
    if (!almanac::covers(almanac::Source::Precise, year)) {
        return {};
    }
    return qs(horizon::placeCaption(place_.name, place_.observer));
}

} // namespace sorvane::ui
