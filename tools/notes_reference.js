#!/usr/bin/env node
// Reference table of 十二直, 二十八宿 and the year and month 九星, from the npm package
// lunar-javascript (MIT; a Chinese-calendar library by 6tail), for the tests of notes/.
//
// lunar-javascript places the 節 in Beijing time (UTC+8); Japan's almanacs in JST (UTC+9).
// Where a 節 falls between 00:00 and 01:00 JST, the two dates of that 節 differ, and with
// them the 節月 of one day: the 節's JST date and the day before it are left out. The
// library's 節 moments and ours may also differ by a minute or so, so a 節 within five
// minutes of either midnight in JST leaves out the same two days.
//
// Columns: date, 十二直 (its 建除, in Japanese characters), 二十八宿 (its 星宿), the 年家九星
// (by 立春) and the 月家九星 (by 節月), both 1..9.
//
// Usage: npm install --prefix /tmp/ljs lunar-javascript
//        NODE_PATH=/tmp/ljs/node_modules node tools/notes_reference.js \
//            > tests/notes/notes-reference-lunar-javascript.tsv
const { Solar, Lunar } = require("lunar-javascript");
const version = require("lunar-javascript/package.json").version;

const FIRST_YEAR = 1901;
const LAST_YEAR = 2099;
const STEP_DAYS = 3; // every third day: about 24 000 rows
const MARGIN_MINUTES = 5;

// Simplified Chinese to the characters Japanese almanacs print.
const JA = { 满: "満", 执: "執", 收: "納", 开: "開", 闭: "閉", 娄: "婁", 毕: "畢", 张: "張", 轸: "軫" };
const ja = (s) => [...s].map((c) => JA[c] || c).join("");

const JIE = ["小寒", "立春", "惊蛰", "清明", "立夏", "芒种", "小暑", "立秋", "白露", "寒露", "立冬", "大雪"];

function iso(y, m, d) {
  return `${String(y).padStart(4, "0")}-${String(m).padStart(2, "0")}-${String(d).padStart(2, "0")}`;
}

// The dates to leave out: around every 節 whose JST date is in doubt.
const skipped = new Set();
for (let y = FIRST_YEAR - 1; y <= LAST_YEAR + 1; ++y) {
  const table = Lunar.fromYmd(y, 6, 1).getJieQiTable();
  for (const key of JIE.concat(["DA_XUE", "XIAO_HAN", "LI_CHUN", "JING_ZHE"])) {
    {
      const beijing = table[key];
      if (!beijing) continue;
      const jst = beijing.nextHour(1);
      const minute = jst.getHour() * 60 + jst.getMinute();
      if (minute < 60 + MARGIN_MINUTES || minute > 24 * 60 - MARGIN_MINUTES) {
        skipped.add(iso(jst.getYear(), jst.getMonth(), jst.getDay()));
        const before = jst.nextDay(-1);
        skipped.add(iso(before.getYear(), before.getMonth(), before.getDay()));
        const after = jst.nextDay(1);
        skipped.add(iso(after.getYear(), after.getMonth(), after.getDay()));
      }
    }
  }
}

const out = [];
out.push(`# 十二直, 二十八宿, 年家九星 and 月家九星 from npm lunar-javascript ${version} (MIT,`);
out.push("# https://github.com/6tail/lunar-javascript): getZhiXing, getXiu, getYearNineStar and");
out.push("# getMonthNineStar of Solar.fromYmd(y, m, d).getLunar(), made by tools/notes_reference.js.");
out.push(`# Every ${STEP_DAYS}rd day of ${FIRST_YEAR}-${LAST_YEAR}, less the days next to a 節 whose JST and`);
out.push(`# Beijing dates differ (or that lies within ${MARGIN_MINUTES} minutes of a JST midnight).`);
out.push("date\tchoku\tshuku\tyearKyusei\tmonthKyusei");
let day = Solar.fromYmd(FIRST_YEAR, 1, 1);
while (day.getYear() <= LAST_YEAR) {
  const date = iso(day.getYear(), day.getMonth(), day.getDay());
  if (!skipped.has(date)) {
    const lunar = day.getLunar();
    out.push(
      [date, ja(lunar.getZhiXing()), ja(lunar.getXiu()), lunar.getYearNineStar().getIndex() + 1,
       lunar.getMonthNineStar().getIndex() + 1].join("\t"));
  }
  day = day.nextDay(STEP_DAYS);
}
process.stdout.write(out.join("\n") + "\n");
