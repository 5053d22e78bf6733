// 行事: the days of a family's life planned by the calendar (お宮参り, 七五三, 厄年, 法要 ..),
// the same dates and candidate days as the terminal program's --life, each opening its day on
// the calendar page, and the dates saved as a calendar file.
#pragma once

#include "ephemeris/tables.h"

#include <QDate>
#include <QWidget>
#include <memory>

class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QSpinBox;
class QTreeWidget;

namespace sorvane::ui {

class LifeWindow : public QWidget {
    Q_OBJECT

  public:
    LifeWindow(const Tables& tables, QWidget* owner = nullptr);
    ~LifeWindow() override;

    // Sets the controls and plans again: the kind's name (お宮参り), the date, the year of a
    // table, 男/女 ("" for neither) and the convention (0 the default, 1.. the alternatives).
    void setRequest(const QString& kind, const QDate& date, int year, const QString& sex,
                    int convention = 0);
    // The day the plan is made on (today, unless a test says otherwise).
    void setToday(const QDate& today);

    // The lines shown: each date "NAME\tYYYY-MM-DD" (or the year), each candidate
    // "NAME\tYYYY-MM-DD\t六曜\treason、reason".
    QStringList dateLines() const;
    QStringList candidateLines() const;
    // The Japanese message of a request that cannot be answered ("" when it can).
    QString errorText() const;
    // Writes the shown dates as a calendar file; a Japanese message box on failure.
    bool saveCalendar(const QString& path);

  signals:
    // A date or candidate was opened (double click or Enter): show it on the calendar page.
    void dateActivated(const QDate& date);

  private:
    void plan();
    void saveAs();

    struct State;
    std::unique_ptr<State> state_;
    QComboBox* kind_ = nullptr;
    QDateEdit* date_ = nullptr;
    QSpinBox* year_ = nullptr;
    QComboBox* sex_ = nullptr;
    QComboBox* convention_ = nullptr;
    QLabel* error_ = nullptr;
    QLabel* conventionText_ = nullptr;
    QTreeWidget* dates_ = nullptr;
    QTreeWidget* candidates_ = nullptr;
    QPushButton* save_ = nullptr;
};

} // namespace sorvane::ui
