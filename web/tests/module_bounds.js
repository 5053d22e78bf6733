#!/usr/bin/env node
// The module under arguments of any length: a text far longer than the module's stack (6 MB
// for the search, 2 million characters for a place, a command line of 6 MB) is refused with a
// Japanese message, and the calls after it answer exactly as before it (the native terminal
// program's bytes for a command line, the same documents for the page), with the embedded
// data files unchanged.
//
//   node --no-experimental-fetch module_bounds.js NATIVE_CLI MODULE_JS DATA_DIR
'use strict';
const fs = require('fs');
const path = require('path');
const { spawnSync } = require('child_process');

const [nativeCli, modulePath, dataDir] = process.argv.slice(2);
if (!nativeCli || !modulePath || !dataDir) {
  console.error('usage: module_bounds.js NATIVE_CLI MODULE_JS DATA_DIR');
  process.exit(2);
}
let failures = 0;
function check(ok, what) {
  console.log((ok ? 'ok   ' : 'FAIL ') + what);
  if (!ok) {
    failures++;
  }
}
const decoder = new TextDecoder();
const native = (args) => spawnSync(nativeCli, args, { cwd: '/tmp', maxBuffer: 1 << 28 });
const huge = 'x'.repeat(6 * 1024 * 1024);

require(path.resolve(modulePath))().then((m) => {
  const planet = fs.readFileSync(path.join(dataDir, 'planet.txt'));
  const sameData = () => Buffer.from(m.FS.readFile('/usr/share/sorvane/planet.txt')).equals(planet);
  const normal = ['--find', '天赦日 一粒万倍日', '--from', '2026-01-01', '--to', '2026-12-31', '--json'];
  const want = native(normal).stdout;

  // Command lines: each too long a line refused unrun, then the normal line's exact bytes.
  const lines = [
    ['a 6 MB query', ['--find', huge, '--json']],
    ['an argument one byte over the limit', ['--find', 'x'.repeat(m.maxArgumentBytes), '--json']],
    ['a command line of many arguments', Array(60).fill('y'.repeat(100 * 1024))],
  ];
  for (const [what, args] of lines) {
    let r;
    try {
      r = m.runCli(args);
    } catch (e) {
      r = { status: -1, stderr: new TextEncoder().encode(String(e)) };
    }
    check(r.status === 2 && /長すぎます/.test(r.refused || ''), `${what}: refused with status 2 (${decoder.decode(r.stderr).trim().slice(0, 80)})`);
    const after = m.runCli(normal);
    check(after.status === 0 && Buffer.from(after.stdout).equals(want), `after ${what} the next search gives sorvane-cli's bytes`);
  }
  // The longest argument allowed still runs, and is the native program's answer.
  const longest = '大安 '.repeat(20);
  const r = m.runCli(['--find', longest, '--from', '2026-01-01', '--to', '2026-01-31', '--json']);
  check(r.status === 0 && Buffer.from(r.stdout).equals(native(['--find', longest, '--from', '2026-01-01', '--to', '2026-01-31', '--json']).stdout),
    'a query of 60 characters runs as natively');

  // The page's calls: each too long a text refused in a document, the next call unchanged.
  const page = m._sorvane_page_new();
  check(page !== 0, 'the page is made');
  const call = (fn, args) => JSON.parse(m.pageCall(fn, [page].concat(args)));
  const found = call('sorvane_page_find', ['天赦日 一粒万倍日', '2026-01-01', '2026-12-31']);
  const day = call('sorvane_page_day', [2026, 2, 4, '札幌', 0, 0]);
  const month = call('sorvane_page_month', [2026, 2]);
  const cases = [
    ['sorvane_page_find', [huge, '2026-01-01', '2026-12-31'], /条件が長すぎます/],
    ['sorvane_page_find', ['大安', huge, '2026-12-31'], /長すぎます/],
    ['sorvane_page_find', ['x'.repeat(1001), '2026-01-01', '2026-12-31'], /条件が長すぎます/],
    ['sorvane_page_day', [2026, 2, 4, 'x'.repeat(2000000), 0, 0], /地名が長すぎます/],
    ['sorvane_page_day', [2026, 2, 4, '札'.repeat(80), 0, 0], /という地名はありません/],
    ['sorvane_page_day', [2026, 2, 30, '札幌', 0, 0], /その日は暦にありません/],
    ['sorvane_page_month', [40000, 1], /年は/],
    ['sorvane_page_year', [40000, '', 0, 0, 0], /年は/],
    ['sorvane_page_year', [2030, '月面', 0, 0, 0], /という地名はありません/],
  ];
  for (const [fn, args, message] of cases) {
    const doc = call(fn, args);
    const shown = typeof args[0] === 'string' ? args[0].length + ' characters' : args.slice(0, 3).join('-');
    check(typeof doc.error === 'string' && message.test(doc.error) && doc.error.length < 400 &&
      typeof doc.code === 'string' && doc.code !== '' && typeof doc.field === 'string',
      `${fn}(${shown}) answers an error document (${doc.code}: ${(doc.error || '').slice(0, 60)})`);
    check(JSON.stringify(call('sorvane_page_find', ['天赦日 一粒万倍日', '2026-01-01', '2026-12-31'])) === JSON.stringify(found) &&
      JSON.stringify(call('sorvane_page_day', [2026, 2, 4, '札幌', 0, 0])) === JSON.stringify(day) &&
      JSON.stringify(call('sorvane_page_month', [2026, 2])) === JSON.stringify(month),
    `after ${fn}(${shown}) the search, the day and the month answer as before`);
  }
  const nativeFound = JSON.parse(want.toString());
  check(found.count === nativeFound.count &&
    JSON.stringify(found.days.map((d) => d.date)) === JSON.stringify(nativeFound.days.map((d) => d.date)),
  `the page's search finds sorvane-cli's ${nativeFound.count} days`);
  check(sameData(), 'the embedded planet.txt is unchanged after every call');
  check(!m.broken, 'the module is not marked broken');
  console.log(failures ? `module bounds: ${failures} check(s) failed` : 'module bounds: every check passed');
  process.exit(failures ? 1 : 0);
});
