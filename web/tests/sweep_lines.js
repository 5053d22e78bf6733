// The command lines of the byte sweeps: the edges of every range the program names and a fixed
// pseudo-random sample of years, on every option family (the listings, JSON, the notes, --sun,
// --find, --feed, calendar files, errors, --help). Read by sweep.js (WebAssembly against the
// native program) and tools/byte-sweep.js (one native build against another).
'use strict';

// The lines; allYears adds the terms of every year -32768..32767.
function sweepLines(allYears) {
  // Years: the edges of every range the program names, and a fixed pseudo-random sample.
  const years = [-32768, -14303, -14302, -2000, -1999, -500, -1, 0, 1, 1582, 1872, 1873, 1899,
    1900, 1947, 1948, 1989, 2019, 2025, 2026, 2100, 2101, 3000, 3001, 8455, 8456, 32767];
  let seed = 20260208;
  const random = () => {
    seed = (seed * 1103515245 + 12345) % 2147483648;
    return seed / 2147483648;
  };
  for (let i = 0; i < 12; i++) {
    years.push(Math.floor(-1999 + random() * 5000));
  }
  for (let i = 0; i < 4; i++) {
    years.push(Math.floor(-32768 + random() * 65536));
  }

  const yearFamilies = [
    [], ['--json'], ['--precise'], ['--precise', '--json'], ['--zassetsu'], ['--zassetsu', '--json'],
    ['--days'], ['--days', '--json'], ['--phases'], ['--phases', '--json'], ['--holidays'],
    ['--holidays', '--json'], ['--holidays', '--zassetsu'], ['--notes'], ['--notes', '--json'],
    ['--month', '2'], ['--month', '12', '--json'], ['--ics', '-'], ['--precise', '--ics', '-'],
    ['--notes', '--ics', '-'], ['--days', '--ics', 'out.ics'], ['--sun'], ['--sun', '--json'],
    ['--sun', '--place', '札幌', '--json'], ['--sun', '--lat', '26.2', '--lon', '127.68'],
    ['--sun', '--lat', '69.5', '--lon', '25'],
  ];
  // Every family on the years the detailed listings are meant for; the rest on a few.
  const detailedYears = years.filter((y) => y >= -1999 && y <= 3000).slice(0, 16);
  const lines = [];
  for (const y of years) {
    lines.push([String(y)], [String(y), '--days'], [String(y), '--json', '--zassetsu', '--holidays']);
  }
  for (const y of detailedYears) {
    for (const f of yearFamilies) {
      lines.push([String(y), ...f]);
    }
  }
  const finds = ['天赦日 一粒万倍日', '大安 土|日', '一粒万倍 -仏滅', '旧1月1日', '十五夜', '祝日 月',
    '十二直:危', '一白水星 寅', '旧3月30日', '大安|友引 -祝日', '夏の土用 一の丑', 'いちりゅう',
    '天赦', '', '|', '-大安', '春分'];
  for (const q of finds) {
    lines.push(['--find', q, '--from', '2026-01-01', '--to', '2026-12-31']);
    lines.push(['--find', q, '--from', '2026-01-01', '--to', '2026-12-31', '--json']);
  }
  lines.push(['--find', '大安', '--from', '1890-01-01', '--to', '1901-12-31']);
  lines.push(['--find', '祝日', '--from', '2099-06-01', '--to', '2101-02-01', '--json']);
  lines.push(['--find', '天赦日', '--from', '2026-01-01', '--to', '2027-12-31', '--ics', '-']);
  lines.push(['--find', '天赦日', '--from', '2026-01-01', '--to', '2026-12-31', '--ics', 'found.ics']);
  lines.push(['--find', '天赦日', '--from', '2026-12-31', '--to', '2026-01-01']);
  lines.push(['--find', '天赦日', '--from', '2026-02-30']);
  for (const kind of ['rokuyo', 'senjitsu', 'sekki', 'holidays', 'moon', 'zassetsu', 'bogus']) {
    lines.push(['--feed', kind, '--from', '2026', '--to', '2027']);
  }
  lines.push(['--feed', 'sekki', '--from', '8455', '--to', '8456']);
  lines.push(['--feed', 'moon', '--from', '2026', '--ics', 'feed.ics']);
  // The edges of the moon feed's years, and feeds of the solar theory's years.
  for (const y of ['1899', '1900', '2100', '2101', '3000']) {
    lines.push(['--feed', 'moon', '--from', y]);
  }
  lines.push(['--feed', 'sekki', '--from', '3001', '--to', '3002']);
  lines.push(['--feed', 'zassetsu', '--from', '5000']);
  // Errors and the texts.
  for (const bad of [['--help'], ['--version'], ['--bogus'], ['2026', '2027'], ['32768'], ['abc'],
    ['--month'], ['--month', '13'], ['2026', '--month=2'], ['--json=1'], ['--sun', '--place', '月'],
    ['--sun', '--lat', '91', '--lon', '0'], ['--sun', '--lat', '1e400', '--lon', '0'],
    ['--sun', '--lat', '+35', '--lon', '0x10'], ['--sun', '--lat', '35'], ['--place', '東京'],
    ['--find'], ['--find', '大安', '2026'], ['--notes', '-14303'], ['--ics'], ['--data', '/nonexistent'],
    ['--days', '--phases', '2026'], ['--precise', '-2000'], ['--find', '大安', '--to', 'x'],
    ['-5000', '--holidays'], ['--phases', '3001'], ['--sun', '3001']]) {
    lines.push(bad);
  }
  if (allYears) {
    for (let y = -32768; y <= 32767; y++) {
      lines.push([String(y)]);
    }
  }
  return lines;
}

module.exports = { sweepLines };
