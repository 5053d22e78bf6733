#!/usr/bin/env node
// The WebAssembly terminal program against the native one, byte for byte: standard output,
// standard error, exit status and any --ics file, on sampled years and every option family
// (the listings, JSON, the notes, --sun, --find, --feed, calendar files, errors, --help).
// The iCalendar DTSTAMP (the clock at the run) is the only text set aside.
//
//   node --no-experimental-fetch sweep.js NATIVE_CLI MODULE_JS [--all-years]
//
// --all-years adds the terms of every year -32768..32767 (long: half an hour on 2 cores).
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { spawnSync } = require('child_process');

const [nativeCli, modulePath, ...flags] = process.argv.slice(2);
if (!nativeCli || !modulePath) {
  console.error('usage: sweep.js NATIVE_CLI MODULE_JS [--all-years]');
  process.exit(2);
}
const allYears = flags.includes('--all-years');

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

const masked = (buf) => buf.toString('latin1').replace(/^DTSTAMP:[0-9TZ]+\r$/gm, 'DTSTAMP:*\r');
const readMaybe = (p) => (fs.existsSync(p) ? fs.readFileSync(p) : null);

const nativeDir = fs.mkdtempSync(path.join(os.tmpdir(), 'sorvane-sweep-native-'));
const wasmDir = fs.mkdtempSync(path.join(os.tmpdir(), 'sorvane-sweep-wasm-'));
const files = ['out.ics', 'found.ics', 'feed.ics'];

require(path.resolve(modulePath))().then((m) => {
  m.FS.mkdirTree(wasmDir);
  m.FS.mount(m.FS.filesystems.NODEFS, { root: wasmDir }, wasmDir);
  m.FS.chdir(wasmDir);
  let failures = 0;
  const started = Date.now();
  for (const args of lines) {
    const native = spawnSync(nativeCli, args, { cwd: nativeDir, maxBuffer: 1 << 30 });
    const wasm = m.runCli(args);
    const problems = [];
    if (native.status !== wasm.status) {
      problems.push(`status ${native.status} natively, ${wasm.status} in WebAssembly`);
    }
    if (masked(native.stdout) !== masked(Buffer.from(wasm.stdout))) {
      problems.push('standard output differs');
    }
    if (masked(native.stderr) !== masked(Buffer.from(wasm.stderr))) {
      problems.push('standard error differs:\n  native: ' + native.stderr.toString().slice(0, 300) +
        '\n  wasm:   ' + Buffer.from(wasm.stderr).toString().slice(0, 300));
    }
    for (const f of files) {
      const a = readMaybe(path.join(nativeDir, f));
      const b = readMaybe(path.join(wasmDir, f));
      if ((a === null) !== (b === null) || (a && masked(a) !== masked(b))) {
        problems.push(`${f} differs`);
      }
      fs.rmSync(path.join(nativeDir, f), { force: true });
      fs.rmSync(path.join(wasmDir, f), { force: true });
    }
    if (problems.length > 0) {
      failures++;
      console.log(`FAIL sorvane-cli ${args.join(' ')}: ${problems.join('; ')}`);
    }
  }
  fs.rmSync(nativeDir, { recursive: true, force: true });
  fs.rmSync(wasmDir, { recursive: true, force: true });
  console.log(`sweep: ${lines.length - failures} of ${lines.length} command lines give the same ` +
    `bytes natively and in WebAssembly (${((Date.now() - started) / 1000).toFixed(0)} s)`);
  process.exitCode = failures === 0 ? 0 : 1;
});
