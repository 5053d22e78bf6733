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

const lines = require('./sweep_lines.js').sweepLines(allYears);

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
