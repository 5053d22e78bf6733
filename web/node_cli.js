#!/usr/bin/env node
// The WebAssembly terminal program under node: `node node_cli.js ARGS...` runs the module's
// sorvane-cli with ARGS and gives its standard output, standard error and exit status as
// they are, for comparison with the native program. The working folder and /tmp are the
// real ones (for --ics FILE); the data files are the ones built into the module.
'use strict';
const fs = require('fs');
const path = require('path');

const modulePath = process.env.SORVANE_WEB_MODULE ||
  path.join(__dirname, 'sorvane-cli.js');
const SorvaneModule = require(modulePath);

SorvaneModule().then((m) => {
  const mount = (dir) => {
    m.FS.mkdirTree(dir);
    m.FS.mount(m.FS.filesystems.NODEFS, { root: dir }, dir);
  };
  const cwd = process.cwd();
  mount(cwd);
  if (cwd !== '/tmp' && !cwd.startsWith('/tmp/') && fs.existsSync('/tmp')) {
    mount('/tmp');
  }
  m.FS.chdir(cwd);
  const result = m.runCli(process.argv.slice(2));
  fs.writeSync(1, result.stdout);
  fs.writeSync(2, result.stderr);
  process.exitCode = result.status;
}).catch((e) => {
  process.stderr.write('node_cli: ' + (e && e.stack ? e.stack : e) + '\n');
  process.exitCode = 70;
});
