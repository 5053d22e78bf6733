// A small window with a year's 雑節, one line each, as the terminal program prints them.
#pragma once

#include <QWidget>

class QLabel;

namespace sorvane::ui {

class ZassetsuWindow : public QWidget {
    Q_OBJECT

  public:
    explicit ZassetsuWindow(QWidget* owner);

    // Shows the lines (newline-ended) of a year, naming the year and the mode in the title.
    void showYear(const QString& yearText, const QString& lines, bool precise);
    // The lines shown, newline-ended.
    QString text() const;

  private:
    QLabel* lines_ = nullptr;
};

} // namespace sorvane::ui
