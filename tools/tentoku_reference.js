#!/usr/bin/env node
// Reference list of 天徳日 from the npm package lunar-javascript (MIT; a Chinese-calendar
// library by 6tail), for the tests of notes/.
//
// The library names 天德 among a day's 吉神 (getDayJiShen) by the 節月 and the day's 干支, as
// the 協紀辨方書 tables do: in the eight months whose 天徳 is a stem (寅 辰 巳 未 申 戌 亥 丑月);
// it lists none in the 卯・午・酉・子月, whose 天徳 is a trigram's direction. Only those eight
// months are written. As in tools/notes_reference.js, the days next to a 節 whose JST and
// Beijing dates differ (or within five minutes of a JST midnight) are left out.
//
// Columns: date, the 節月's branch (as the library reckons it), 1 when 天德 is listed, else 0.
//
// Usage: npm install --prefix /tmp/ljs lunar-javascript
//        NODE_PATH=/tmp/ljs/node_modules node tools/tentoku_reference.js \
//            > tests/notes/tentoku-reference-lunar-javascript.tsv
const { Solar, Lunar } = require("lunar-javascript");
const version = require("lunar-javascript/package.json").version;

const FIRST_YEAR = 1901;
const LAST_YEAR = 2099;
const STEP_DAYS = 7; // prime to 10 and 12: every stem and branch in turn
const MARGIN_MINUTES = 5;
const STEM_MONTHS = new Set(["寅", "辰", "巳", "未", "申", "戌", "亥", "丑"]);
const JIE = ["小寒", "立春", "惊蛰", "清明", "立夏", "芒种", "小暑", "立秋", "白露", "寒露", "立冬", "大雪"];

function iso(y, m, d) {
  return `${String(y).padStart(4, "0")}-${String(m).padStart(2, "0")}-${String(d).padStart(2, "0")}`;
}

const skipped = new Set();
for (let y = FIRST_YEAR - 1; y <= LAST_YEAR + 1; ++y) {
  const table = Lunar.fromYmd(y, 6, 1).getJieQiTable();
  for (const key of JIE.concat(["DA_XUE", "XIAO_HAN", "LI_CHUN", "JING_ZHE"])) {
    const beijing = table[key];
    if (!beijing) continue;
    const jst = beijing.nextHour(1);
    const minute = jst.getHour() * 60 + jst.getMinute();
    if (minute < 60 + MARGIN_MINUTES || minute > 24 * 60 - MARGIN_MINUTES) {
      for (const d of [jst.nextDay(-1), jst, jst.nextDay(1)]) {
        skipped.add(iso(d.getYear(), d.getMonth(), d.getDay()));
      }
    }
  }
}

const out = [];
out.push(`# 天徳日 from npm lunar-javascript ${version} (MIT, https://github.com/6tail/lunar-javascript):`);
out.push("# whether getDayJiShen() of Solar.fromYmd(y, m, d).getLunar() lists 天德, with the 節月's");
out.push("# branch (getMonthZhi), made by tools/tentoku_reference.js. Every 7th day of 1901-2099 in");
out.push("# the 寅 辰 巳 未 申 戌 亥 丑月, less the days next to a 節 whose JST and Beijing dates differ");
out.push(`# (or that lies within ${MARGIN_MINUTES} minutes of a JST midnight).`);
out.push("date\tmonth\ttentoku");
let day = Solar.fromYmd(FIRST_YEAR, 1, 1);
while (day.getYear() <= LAST_YEAR) {
  const date = iso(day.getYear(), day.getMonth(), day.getDay());
  const lunar = day.getLunar();
  const month = lunar.getMonthZhi();
  if (!skipped.has(date) && STEM_MONTHS.has(month)) {
    out.push([date, month, lunar.getDayJiShen().includes("天德") ? 1 : 0].join("\t"));
  }
  day = day.nextDay(STEP_DAYS);
}
process.stdout.write(out.join("\n") + "\n");
