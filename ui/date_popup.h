// The date fields' pop-up calendar, Japanese whatever the locale: Sunday first, the month and
// day names in Japanese, Saturday blue, Sunday and the national holidays red, in the colours of
// the calendar page.
#pragma once

#include <QColor>

class QDateEdit;

namespace sorvane::ui {

// The colours of a day's number, shared by the calendar page and the pop-up.
inline const QColor kSundayRed(0xc8, 0x10, 0x30);
inline const QColor kSaturdayBlue(0x15, 0x4f, 0xb8);

// Gives `edit` a Japanese pop-up calendar (and a Japanese locale for its text).
void useJapaneseCalendarPopup(QDateEdit* edit);

} // namespace sorvane::ui
