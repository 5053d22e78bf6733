#include "ui/zassetsu_window.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QVBoxLayout>

namespace sorvane::ui {

ZassetsuWindow::ZassetsuWindow(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("ZassetsuWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    lines_ = new QPlainTextEdit(this);
    lines_->setObjectName(QStringLiteral("zassetsuLines"));
    lines_->setReadOnly(true);
    lines_->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The lines are aligned in columns: a font whose Japanese characters are two columns wide.
    QFont fixed(QStringLiteral("IPAGothic"));
    fixed.setStyleHint(QFont::Monospace);
    fixed.setPointSizeF(10.5);
    lines_->setFont(fixed);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(lines_);
}

void ZassetsuWindow::showYear(const QString& yearText, const QString& lines, bool precise) {
    setWindowTitle(QStringLiteral("雑節 %1年%2")
                       .arg(yearText, precise ? QStringLiteral("（観測所の方式）") : QString()));
    lines_->setPlainText(lines);
    // Wide and tall enough for every line without scrolling.
    const QFontMetrics metrics(lines_->font());
    int width = 0;
    const QStringList all = lines.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& line : all) {
        width = std::max(width, metrics.horizontalAdvance(line));
    }
    const int margins =
        2 * (lines_->frameWidth() + static_cast<int>(lines_->document()->documentMargin()) + 4);
    lines_->setMinimumSize(width + margins + 4,
                           metrics.lineSpacing() * (static_cast<int>(all.size()) + 1) + margins);
    adjustSize();
}

QString ZassetsuWindow::text() const {
    return lines_->toPlainText();
}

} // namespace sorvane::ui
