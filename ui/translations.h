// Qt's own texts in Japanese: the text boxes' context menus, the standard dialog buttons and
// the print dialog.
#pragma once

class QCoreApplication;

namespace sorvane::ui {

// Installs Qt's Japanese translation (qtbase_ja) from Qt's translation folder into the
// application, and the print dialog's texts that it lacks. Returns false, leaving Qt's texts in
// English, when it is not installed there.
bool installQtJapanese(QCoreApplication& app);

} // namespace sorvane::ui
