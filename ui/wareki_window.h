// 和暦 ⇄ 西暦: the window that converts one day between a 和暦 date and the Western calendars,
// reading its field as the terminal program's --wareki does and saying what it says of the day.
#pragma once

// moc cannot parse the standard library's <compare>, which the date type needs.
#ifndef Q_MOC_RUN
#include "calendar/civil_date.h"
#endif

#include <QWidget>
#include <optional>

class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace sorvane::ui {

class WarekiWindow : public QWidget {
    Q_OBJECT

  public:
    explicit WarekiWindow(QWidget* owner = nullptr);

    // Puts text in the field, sets 「ユリウス暦で入力」 and converts.
    void convert(const QString& text, bool julian);
    // Converts the field's text: the day's lines, or why the text cannot be read. The check
    // box reads a Western date (YYYY-MM-DD) as Julian; a text naming a known era is read as
    // 和暦 either way.
    void convert();

    // The day shown, as the calendar page takes it (the proleptic Gregorian date); nothing
    // before a conversion or after a refused one.
    std::optional<CivilDate> shownDay() const { return shown_; }
    // What the window says under the field: how the input was read, or why it was refused.
    QString message() const;

  signals:
    // 「月の暦で開く」: show this day (proleptic Gregorian) on the calendar page.
    void dayOpened(const sorvane::CivilDate& date);

  private:
    // Empties the result lines (a refused input leaves no earlier answer standing).
    void clearLines();

    QLineEdit* input_ = nullptr;
    QCheckBox* julian_ = nullptr;
    QLabel* message_ = nullptr;
    QGridLayout* lines_ = nullptr;
    QPushButton* open_ = nullptr;
    std::optional<CivilDate> shown_;
};

} // namespace sorvane::ui
