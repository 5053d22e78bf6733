// 暦 → 購読用カレンダー: the subscription feeds the published site serves (their kinds, years
// and, when the site's address is known, each feed's https:// and webcal:// address), and
// the same feeds written as .ics files into a folder the user picks, for a site of one's own
// or a one-time import.
#pragma once

#include "ephemeris/tables.h"

#include <QString>
#include <QStringList>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace sorvane::ui {

class FeedsWindow : public QWidget {
    Q_OBJECT

  public:
    // thisYear: the year in Japan whose window of years the feeds hold.
    FeedsWindow(const Tables& tables, int thisYear, QWidget* owner = nullptr);

    // The site's address (https://…/ of the page); "" when the program does not know it.
    // A text that is not an http(s) address is refused with a message and not kept.
    bool setSiteAddress(const QString& address);
    QString siteAddress() const { return site_; }

    // The https:// and webcal:// address of a kind's feed on the site ("" without a site).
    QString feedAddress(const QString& kind) const;
    QString webcalAddress(const QString& kind) const;

    // Writes every kind's feed (the site's years) into folder, each file replaced whole;
    // false, with the reason in Japanese in message(), when one could not be written.
    bool writeFeeds(const QString& folder);
    // The line under the list: what was written, or why not.
    QString message() const;
    // The files writeFeeds writes: "rokuyo.ics", ...
    QStringList fileNames() const;

  private:
    void fill();
    void chooseFolder();

    const Tables& tables_;
    int thisYear_;
    QString site_;
    QLineEdit* siteInput_ = nullptr;
    QLabel* siteNote_ = nullptr;
    QTableWidget* list_ = nullptr;
    QLabel* message_ = nullptr;
    QPushButton* write_ = nullptr;
};

} // namespace sorvane::ui
