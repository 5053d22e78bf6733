// A small window with a year's 雑節, one line each, as the terminal program prints them.
#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace sorvane::ui {

class ZassetsuWindow : public QWidget {
    Q_OBJECT

  public:
    explicit ZassetsuWindow(QWidget* owner);

    // Shows the lines (newline-ended) of a year, naming the year and the mode in the title.
    void showYear(const QString& yearText, const QString& lines, bool precise);
    QString text() const;

  private:
    QPlainTextEdit* lines_ = nullptr;
};

} // namespace sorvane::ui
