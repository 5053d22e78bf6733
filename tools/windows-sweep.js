#!/usr/bin/env node
// sorvane-cli.exe under wine against the native terminal program, byte for byte: standard
// output, standard error, exit status and any --ics file, over the command lines of
// web/tests/sweep_lines.js (those of the WebAssembly sweep). Run by tools/windows.sh test:
//
//   node tools/windows-sweep.js build/bin/sorvane-cli build-windows/cmake/bin/sorvane-cli.exe
//
// wine's output goes to files, not pipes: the helper processes wine starts with a prefix
// inherit the pipes and hold them open. The DTSTAMP of a year file is the clock at the run
// and is set aside. One difference is Windows' own: a path the program joins itself uses
// "\" (the data folder's "/nonexistent\planet.txt"); such a line is counted apart, and
// nothing else is allowed. A temporary file left beside an --ics file fails the line.
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const {spawnSync} = require('child_process');
const {sweepLines} = require('../web/tests/sweep_lines.js');

const [nativeCli, windowsCli] = process.argv.slice(2);
if (!nativeCli || !windowsCli) {
    console.error('usage: windows-sweep.js NATIVE_CLI WINDOWS_EXE');
    process.exit(2);
}
const lines = sweepLines(false);
const files = [ 'out.ics', 'found.ics', 'feed.ics' ];
const stampLine = /^DTSTAMP:[0-9TZ]+\r$/gm;
const masked = (text) => text.replace(stampLine, 'DTSTAMP:*\r');
const readMaybe = (p) => (fs.existsSync(p) ? fs.readFileSync(p).toString('latin1') : null);

function run(command, args, dir, logs) {
    const out = path.join(logs, 'stdout');
    const err = path.join(logs, 'stderr');
    const o = fs.openSync(out, 'w');
    const e = fs.openSync(err, 'w');
    const r = spawnSync(command, args, {cwd : dir, stdio : [ 'ignore', o, e ]});
    fs.closeSync(o);
    fs.closeSync(e);
    const result = {
        status : r.status,
        stdout : fs.readFileSync(out).toString('latin1'),
        stderr : fs.readFileSync(err).toString('latin1'),
        leftovers : []
    };
    for (const f of files) {
        result[f] = readMaybe(path.join(dir, f));
        fs.rmSync(path.join(dir, f), {force : true});
    }
    for (const f of fs.readdirSync(dir)) {
        result.leftovers.push(f);
        fs.rmSync(path.join(dir, f), {recursive : true, force : true});
    }
    return result;
}

const base = fs.mkdtempSync(path.join(os.tmpdir(), 'sorvane-windows-sweep-'));
const dirs = [ 'native', 'windows', 'logs' ].map((d) => {
    fs.mkdirSync(path.join(base, d));
    return path.join(base, d);
});
let identical = 0;
let separators = 0;
let retried = 0;
const failed = [];
const started = Date.now();
for (const line of lines) {
    const a = run(path.resolve(nativeCli), line, dirs[0], dirs[2]);
    let b = run('wine', [ path.resolve(windowsCli), ...line ], dirs[1], dirs[2]);
    // wine itself now and then fails to start a program on a busy machine (status 1, nothing
    // written by the program): such a line runs once more, and the summary counts it.
    if (a.status !== b.status && b.stdout === '' && !b.stderr.startsWith('sorvane-cli')) {
        console.log(`RETRY sorvane-cli ${line.join(' ')}: status ${b.status} under wine with ` +
                    `nothing from the program; stderr: ${b.stderr.slice(0, 200)}`);
        b = run('wine', [ path.resolve(windowsCli), ...line ], dirs[1], dirs[2]);
        retried++;
    }
    const problems = [];
    let onlySeparator = true;
    if (a.status !== b.status) {
        problems.push(`status ${a.status} natively, ${b.status} under wine ` +
                      `(stderr: ${Buffer.from(b.stderr.slice(0, 200), 'latin1')})`);
        onlySeparator = false;
    }
    if (b.leftovers.length > 0) {
        problems.push(`left behind: ${b.leftovers.join(' ')}`);
        onlySeparator = false;
    }
    const clockStamps = !line.includes('--feed');
    for (const key of ['stdout', 'stderr', ...files]) {
        const x = a[key];
        const y = b[key];
        if (x === y || (x !== null && y !== null && clockStamps && masked(x) === masked(y))) {
            continue;
        }
        if (x !== null && y !== null && x.replace(/\//g, '\\') === y.replace(/\//g, '\\')) {
            problems.push(`${key}: "\\" for "/" in a path`);
            continue;
        }
        onlySeparator = false;
        problems.push(`${key} differs` +
                      (x !== null && y !== null
                           ? `:\n    native:  ${Buffer.from(x.slice(0, 300), 'latin1')}` +
                                 `\n    windows: ${Buffer.from(y.slice(0, 300), 'latin1')}`
                           : ` (written ${x === null ? 'under wine only' : 'natively only'})`));
    }
    if (problems.length === 0) {
        identical++;
    } else if (onlySeparator) {
        separators++;
        console.log(`SEPARATOR sorvane-cli ${line.join(' ')}: ${problems.join('; ')}`);
    } else {
        failed.push(line);
        console.log(`DIFF sorvane-cli ${line.join(' ')}: ${problems.join('; ')}`);
    }
}
fs.rmSync(base, {recursive : true, force : true});
console.log(`windows sweep: ${identical} of ${lines.length} command lines identical, ${separators} ` +
            `differ only by the path separator, ${failed.length} differ, ${retried} run again ` +
            `after wine failed to start the program ` +
            `(${((Date.now() - started) / 1000).toFixed(0)} s)`);
process.exitCode = failed.length === 0 ? 0 : 1;
