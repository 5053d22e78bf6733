#include "lunisolar/month_numbering_note.h"

namespace sorvane::lunisolar {

namespace {

const char* const kNote =
    "旧暦2033年問題：2033年8月25日〜2034年3月19日の旧暦の月名は天保暦の規則では決まりません。"
    "この暦は日本カレンダー暦文化振興協会が推奨する閏11月案（2033年12月22日からの月を閏11月）に"
    "よります。閏7月案・閏1月案では月名と六曜が変わります。";

} // namespace

bool monthNumberChosen(const CivilDate& date) {
    return kChosenNumberingFirst <= date && date <= kChosenNumberingLast;
}

bool monthNumberChosen(int year, int month) {
    const CivilDate first{year, month, 1};
    const CivilDate last{year, month, 31}; // compared only, never a day of its own
    return first <= kChosenNumberingLast && kChosenNumberingFirst <= last;
}

std::string monthNumberingNote(const CivilDate& date) {
    return monthNumberChosen(date) ? kNote : "";
}

std::string monthNumberingNote(int year, int month) {
    return monthNumberChosen(year, month) ? kNote : "";
}

std::string monthNumberingGuide() {
    return "旧暦2033年問題：2033年秋から2034年春は、秋分を含む月を8月、冬至を含む月を11月とする"
           "天保暦の規則を両方は満たせず、2033年8月25日〜2034年3月19日の7か月の月名が規則から"
           "決まりません。この暦は日本カレンダー暦文化振興協会が2015年に推奨した閏11月案"
           "（8月・9月・10月・11月・閏11月（2033年12月22日〜2034年1月19日）・12月・1月）によります"
           "。"
           "ほかに閏7月案（2033年8月25日からを閏7月）と閏1月案（2034年2月19日からを閏1月）があり、"
           "その案の暦とは月名と六曜が違います。この期間の日には注記を添えます。";
}

} // namespace sorvane::lunisolar
