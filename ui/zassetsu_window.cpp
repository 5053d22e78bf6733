#include "ui/zassetsu_window.h"

#include <QLabel>
#include <QVBoxLayout>

namespace sorvane::ui {

ZassetsuWindow::ZassetsuWindow(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("ZassetsuWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    lines_ = new QLabel(this);
    lines_->setObjectName(QStringLiteral("zassetsuLines"));
    lines_->setTextFormat(Qt::PlainText);
    lines_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    lines_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lines_->setMargin(8);
    lines_->setAutoFillBackground(true);
    lines_->setBackgroundRole(QPalette::Base);
    lines_->setFrameShape(QFrame::StyledPanel);
    // The lines are aligned in columns: a font whose Japanese characters are two columns wide.
    QFont fixed(QStringLiteral("IPAGothic"));
    fixed.setStyleHint(QFont::Monospace);
    fixed.setPointSizeF(10.5);
    lines_->setFont(fixed);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(lines_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ZassetsuWindow::showYear(const QString& yearText, const QString& lines, bool precise) {
    setWindowTitle(
        QStringLiteral("雑節 %1年%2")
            .arg(yearText, precise ? QStringLiteral("（国立天文台と同じ計算方法）") : QString()));
    QString shown = lines;
    if (shown.endsWith(QLatin1Char('\n'))) {
        shown.chop(1);
    }
    lines_->setText(shown);
}

QString ZassetsuWindow::text() const {
    return lines_->text() + QLatin1Char('\n');
}

} // namespace sorvane::ui
