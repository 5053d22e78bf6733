// 使い方: the user's guide (doc/guide-ja.md, built into the program) in a window.
#pragma once

#include <QString>

class QDialog;
class QWidget;

namespace sorvane::ui {

// The guide's Markdown text as the program carries it.
QString guideText();

// A window that shows the guide, made hidden; it is deleted with parent.
QDialog* makeGuideWindow(QWidget* parent);

} // namespace sorvane::ui
