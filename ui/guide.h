// 使い方: the user's guide (doc/guide-ja.md, built into the program) in a window.
#pragma once

#include <QString>

class QDialog;
class QWidget;

namespace sorvane::ui {

// The guide's Markdown text as the program carries it.
QString guideText();

// Markdown with each soft line break inside a paragraph taken out where a Japanese character
// stands on either side of it (Markdown would show a space there), and kept, as a space,
// between two Latin words. Headings, list items, table rows, fences and hard breaks stay.
QString joinSoftBreaks(const QString& markdown);

// A window that shows the guide, made hidden; it is deleted with parent.
QDialog* makeGuideWindow(QWidget* parent);

} // namespace sorvane::ui
