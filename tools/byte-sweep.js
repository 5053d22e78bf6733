#!/usr/bin/env node
// One native terminal program against another, byte for byte: standard output, standard error,
// exit status and any --ics file, over the command lines of web/tests/sweep_lines.js. For a
// change that must keep every output: build the revision before it, keep its bin/ folder, and
//
//   node tools/byte-sweep.js BEFORE/sorvane-cli build/bin/sorvane-cli [--show N] [--all-years]
//
// A year file's DTSTAMP is the clock at the run and is set aside; any other difference is
// reported, a difference in DTSTAMP lines alone as such. --show N prints the first N differing
// lines of each output that differs.
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const {spawnSync} = require('child_process');
const {sweepLines} = require('../web/tests/sweep_lines.js');

const args = process.argv.slice(2);
const [beforeCli, afterCli] = args;
if (!beforeCli || !afterCli) {
    console.error('usage: byte-sweep.js BEFORE_CLI AFTER_CLI [--show N] [--all-years]');
    process.exit(2);
}
const showAt = args.indexOf('--show');
const show = showAt >= 0 ? Number(args[showAt + 1]) : 0;
const lines = sweepLines(args.includes('--all-years'));
const files = [ 'out.ics', 'found.ics', 'feed.ics' ];

const stampLine = /^DTSTAMP:[0-9TZ]+\r$/gm;
const masked = (text) => text.replace(stampLine, 'DTSTAMP:*\r');
const readMaybe = (p) => (fs.existsSync(p) ? fs.readFileSync(p).toString('latin1') : null);

// The first n lines of a that b lacks and of b that a lacks, in order.
function lineDiff(a, b, n) {
    const as = a.split('\n');
    const bs = b.split('\n');
    const inB = new Set(bs);
    const inA = new Set(as);
    const shown = (l) => Buffer.from(l, 'latin1').toString('utf8').slice(0, 200);
    const out = [];
    for (const l of as.filter((x) => !inB.has(x)).slice(0, n))
        out.push('    - ' + shown(l));
    for (const l of bs.filter((x) => !inA.has(x)).slice(0, n))
        out.push('    + ' + shown(l));
    return out.join('\n');
}

const dirs = [ beforeCli, afterCli ].map(
    () => fs.mkdtempSync(path.join(os.tmpdir(), 'sorvane-byte-sweep-')));
let failures = 0;
let stampsOnly = 0;
const started = Date.now();
for (const line of lines) {
    const runs = [ beforeCli, afterCli ].map((cli, i) => {
        const r = spawnSync(path.resolve(cli), line, {cwd : dirs[i], maxBuffer : 1 << 30});
        const out = {
            status : r.status,
            stdout : r.stdout.toString('latin1'),
            stderr : r.stderr.toString('latin1')
        };
        for (const f of files) {
            out[f] = readMaybe(path.join(dirs[i], f));
            fs.rmSync(path.join(dirs[i], f), {force : true});
        }
        return out;
    });
    const [a, b] = runs;
    const problems = [];
    let onlyStamps = true;
    if (a.status !== b.status) {
        problems.push(`status ${a.status} before, ${b.status} after`);
        onlyStamps = false;
    }
    // A feed reads no clock: its stamps are compared too.
    const clockStamps = !line.includes('--feed');
    for (const key of ['stdout', 'stderr', ...files]) {
        const x = a[key];
        const y = b[key];
        if ((x === null) !== (y === null)) {
            problems.push(`${key} written ${x === null ? 'after only' : 'before only'}`);
            onlyStamps = false;
            continue;
        }
        if (x === null || x === y || (clockStamps && masked(x) === masked(y))) {
            continue;
        }
        const stamps = masked(x) === masked(y);
        onlyStamps = onlyStamps && stamps;
        problems.push(`${key} differs${stamps ? ' (DTSTAMP lines only)' : ''}` +
                      (show > 0 ? '\n' + lineDiff(x, y, show) : ''));
    }
    if (problems.length > 0) {
        failures++;
        stampsOnly += onlyStamps ? 1 : 0;
        console.log(`DIFF sorvane-cli ${line.join(' ')}: ${problems.join('; ')}`);
    }
}
for (const d of dirs) {
    fs.rmSync(d, {recursive : true, force : true});
}
console.log(
    `byte sweep: ${lines.length - failures} of ${lines.length} command lines give the same ` +
    `bytes before and after; ${failures} differ (${stampsOnly} in DTSTAMP lines only) ` +
    `(${((Date.now() - started) / 1000).toFixed(0)} s)`);
process.exitCode = failures === 0 ? 0 : 1;
