#!/usr/bin/env node
// The calendar page's documents made ahead by the build, so that a phone shows the month it
// opens on before the module has arrived: `node make_pages.js SITE` writes SITE/pages/YYYY-MM.json
// for each month of the feeds' years (SITE/feeds.json's first..last), each the WebAssembly
// core's own answers, as the page would ask the module for them:
//   {"module": ID, "place": "東京",
//    "start": {"coverage", "places", "vocabulary", "lifeKinds"},  (the documents the page
//                                                                   reads before its first month)
//    "month": the month's document, "days": {day of the month: that day's document at the place}}
// and SITE/pages/start.json, {"module": ID, "start": ...} alone, for a page that opens on a
// month outside those years. ID names the module they came from (the first 16 hex digits of
// the sha256 of SITE/sorvane-cli.wasm); the page takes a file only when it names its own
// module, so that no document of another build is shown. Files are written into pages.new and
// pages replaced whole. Prints "ID FIRST LAST", which index.html is given.
'use strict';
const crypto = require('crypto');
const fs = require('fs');
const path = require('path');

const site = process.argv[2];
if (!site || process.argv.length !== 3) {
  process.stderr.write('usage: make_pages.js SITE (the folder with sorvane-cli.wasm and feeds.json)\n');
  process.exit(2);
}
const id = crypto.createHash('sha256').update(fs.readFileSync(path.join(site, 'sorvane-cli.wasm')))
  .digest('hex').slice(0, 16);
const feeds = JSON.parse(fs.readFileSync(path.join(site, 'feeds.json'), 'utf8'));
const from = Number(feeds.first);
const to = Number(feeds.last);
if (!Number.isInteger(from) || !Number.isInteger(to) || from > to || to - from > 10) {
  process.stderr.write('make_pages: feeds.json names no years of at most 11 (' + feeds.first + '..' + feeds.last + ')\n');
  process.exit(2);
}
const dir = path.join(site, 'pages');
const SorvaneModule = require(process.env.SORVANE_WEB_MODULE || path.join(__dirname, 'sorvane-cli.js'));
// The page's place before the user picks one (places.js).
const place = '東京';

SorvaneModule().then((m) => {
  const page = m._sorvane_page_new();
  const doc = (fn, args) => {
    const d = JSON.parse(m.pageCall(fn, [page].concat(args)));
    if (d.error) {
      throw new Error(fn + ' ' + JSON.stringify(args) + ': ' + d.error);
    }
    return d;
  };
  const start = {
    coverage: doc('sorvane_page_coverage', []),
    places: doc('sorvane_page_places', []),
    vocabulary: doc('sorvane_page_vocabulary', []),
    lifeKinds: doc('sorvane_page_life_kinds', []),
  };
  if (!start.places.some((p) => p.name === place)) {
    throw new Error('the place list has no ' + place);
  }
  const fresh = dir + '.new';
  fs.rmSync(fresh, { recursive: true, force: true });
  fs.mkdirSync(fresh, { recursive: true });
  fs.writeFileSync(path.join(fresh, 'start.json'), JSON.stringify({ module: id, start }));
  let files = 0;
  for (let y = from; y <= to; y++) {
    for (let mo = 1; mo <= 12; mo++) {
      const month = doc('sorvane_page_month', [y, mo]);
      const days = {};
      for (const c of month.cells.filter((cell) => cell.inMonth)) {
        days[c.day] = doc('sorvane_page_day', [y, mo, c.day, place, 0, 0]);
      }
      const name = y + '-' + String(mo).padStart(2, '0') + '.json';
      fs.writeFileSync(path.join(fresh, name), JSON.stringify({ module: id, place, start, month, days }));
      files++;
    }
  }
  fs.rmSync(dir, { recursive: true, force: true });
  fs.renameSync(fresh, dir);
  process.stderr.write('make_pages: ' + files + ' months of ' + from + '..' + to + ' in ' + dir + '\n');
  process.stdout.write(id + ' ' + from + ' ' + to + '\n');
}).catch((e) => {
  process.stderr.write('make_pages: ' + (e && e.message ? e.message : e) + '\n');
  process.exitCode = 1;
});
