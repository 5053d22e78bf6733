// 日を探す: the window that finds the days fitting a plan, with the same query and search as
// the terminal program's --find.
#pragma once

#include "ephemeris/tables.h"

#include <QDate>
#include <QWidget>
#include <memory>
#include <vector>

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressDialog;
class QPushButton;
class QRadioButton;
class QTimer;

namespace sorvane::ui {

class DaySearchWindow : public QWidget {
    Q_OBJECT

  public:
    explicit DaySearchWindow(const Tables& tables, QWidget* owner = nullptr);

    // The query the controls make, in the terminal program's form ("" with no condition).
    QString queryText() const;
    ~DaySearchWindow() override;

    // The number of days found by the last search (0 when the conditions could not be read).
    std::size_t matchCount() const;
    // Whether a search runs (off the window's thread): the count and the list still show
    // the last finished one's answer, or nothing.
    bool searching() const;
    // The days found, in date order.
    std::vector<QDate> matchDates() const;
    // Sets the range shown and searches again.
    void setRange(const QDate& from, const QDate& to);
    // Sets the range to the whole year, or the whole month, of its first day.
    void rangeToYear();
    void rangeToMonth();
    // The text field's query (the conditions the check boxes do not cover).
    void setExtraQuery(const QString& text);
    // Starts writing the found days as an iCalendar file, off the window's thread, with a
    // progress dialog whose キャンセル stops it (the old file kept); saveFinished tells the
    // end, a Japanese message box a failure. False when there is nothing to save or a save
    // is under way.
    bool saveCalendar(const QString& path);
    // Whether a save is under way; cancelSave stops it at its next piece.
    bool saving() const;
    void cancelSave();

  signals:
    // A found day was opened (double click or Enter): show it in the calendar page.
    void dateActivated(const QDate& date);
    // A search finished and its answer is shown (not sent for one overtaken by a change).
    void searchFinished();
    // A save ended: written whole, or not (failed, with a message box, or cancelled).
    void saveFinished(bool saved);

  private:
    void createControls();
    // Starts a search of the conditions shown, stopping the one that runs.
    void search();
    // What a search running off the window's thread gives back: the result, or the error
    // that ended it.
    struct Answer;
    // Shows the answer of search number `generation` unless a later one was started.
    void showAnswer(int generation, const std::shared_ptr<Answer>& answer);
    void showProgress(int generation, int percent);
    void saveAs();
    struct SaveJob;
    void showSaveProgress(int percent);
    void finishSave(const QString& problem, const QString& detail, bool cancelled);

    // The query's vocabulary, the searcher with the years it holds, the last query and
    // result, and the check boxes with their kinds.
    struct State;
    std::unique_ptr<State> state_;
    QListWidget* senjitsuWanted_ = nullptr;  // 選日 that must hold (all, or any of them)
    QRadioButton* wantedAll_ = nullptr;      // すべて: every checked 選日; else いずれか
    QListWidget* senjitsuAvoided_ = nullptr; // 選日 that none may hold
    QLineEdit* extra_ = nullptr;
    QDateEdit* from_ = nullptr;
    QDateEdit* to_ = nullptr;
    QLabel* count_ = nullptr;
    QLabel* notice_ = nullptr;
    QListWidget* results_ = nullptr;
    QPushButton* save_ = nullptr;
    QProgressDialog* progress_ = nullptr; // while a save runs
    QTimer* typing_ = nullptr;
};

} // namespace sorvane::ui
