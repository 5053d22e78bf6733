// Runs the terminal program's main once per call with the arguments of a command line and
// hands back its exit status and the exact bytes it wrote to standard output and error.
// Prepended to the module by emcc (--pre-js).

function SorvaneByteSink() {
  this.bytes = new Uint8Array(4096);
  this.length = 0;
}
SorvaneByteSink.prototype.put = function (c) {
  if (c === null || c === undefined) {
    return;
  }
  if (this.length === this.bytes.length) {
    var grown = new Uint8Array(this.bytes.length * 2);
    grown.set(this.bytes);
    this.bytes = grown;
  }
  this.bytes[this.length++] = c & 0xff;
};
SorvaneByteSink.prototype.take = function () {
  return this.bytes.slice(0, this.length);
};

var sorvaneStdout = new SorvaneByteSink();
var sorvaneStderr = new SorvaneByteSink();
Module['stdout'] = function (c) { sorvaneStdout.put(c); };
Module['stderr'] = function (c) { sorvaneStderr.put(c); };

// runCli(['2026', '--days', '--json']) -> {status, stdout: Uint8Array, stderr: Uint8Array}
Module['runCli'] = function (args) {
  sorvaneStdout = new SorvaneByteSink();
  sorvaneStderr = new SorvaneByteSink();
  var status;
  try {
    status = callMain(args.map(String));
  } catch (e) {
    if (e && e.name === 'ExitStatus') {
      status = e.status;
    } else {
      throw e;
    }
  }
  return { status: status, stdout: sorvaneStdout.take(), stderr: sorvaneStderr.take() };
};
