// The arrow images beside the year box that step the year down and up.
#pragma once

#include <QLabel>
#include <QString>

class QMouseEvent;

namespace sorvane::ui {

// An arrow image beside the year box. A click is a press and a release on the image; a double
// click is reported once, on the second press, and the release that follows it is no click.
class YearArrow : public QLabel {
    Q_OBJECT

  public:
    YearArrow(const QString& name, const QString& picture, const QString& hint, QWidget* parent);

  signals:
    void clicked();
    void doubleClicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    bool pressed_ = false;
};

} // namespace sorvane::ui
