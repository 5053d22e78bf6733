// The locked multi-line boxes of the windows and the way they show their lines.
#pragma once

#include <QRect>
#include <QString>
#include <string>

class QFont;
class QLineEdit;
class QTextEdit;
class QWidget;

namespace sorvane::ui {

// A text with Windows line ends as the controls show it: CR LF is one line break, and so is
// a CR left alone.
QString displayText(const std::string& text);

// A locked multi-line box as the windows use it: plain text, no wrapping, no scroll bars.
QTextEdit* textBox(QWidget* parent, const QString& name, QRect geometry, const QFont& font);

// Replaces the text of a box made by textBox. Lines are spaced one em apart (closer if the
// box would otherwise cut off its last line), and a line too wide for the box is fitted by
// condensing the font horizontally, so that every line shows in full.
void showLines(QTextEdit* box, const QString& text, Qt::Alignment alignment);

// Keeps the text of a one-line box readable in full, now and after every change: in the
// given font while the text fits between the box's frame and margins, else in that font
// condensed horizontally just enough.
void fitLineToWidth(QLineEdit* box, const QFont& font);

} // namespace sorvane::ui
