// Runs the terminal program's main once per call with the arguments of a command line and
// hands back its exit status and the exact bytes it wrote to standard output and error; and
// calls the calendar page's functions (web/page_entry.cpp) with their texts in the heap.
// Prepended to the module by emcc (--pre-js).
//
// No text of any length goes on the module's stack: main's arguments are bounded as a
// command line's are (MAX_ARG_STRLEN, 128 KiB an argument), the page's texts are copied into
// memory from malloc. A call that fails inside the module (a trap, not an exit status) marks
// the module broken: its memory may be damaged, so the caller makes a new one.

// The bytes a stream gets, in pieces of 1 MiB: a long calendar file is never copied whole
// while it grows.
function SorvaneByteSink() {
  this.pieces = [];
  this.bytes = new Uint8Array(4096);
  this.length = 0;
}
SorvaneByteSink.prototype.put = function (c) {
  if (c === null || c === undefined) {
    return;
  }
  if (this.length === this.bytes.length) {
    if (this.bytes.length < 1 << 20) {
      var grown = new Uint8Array(this.bytes.length * 2);
      grown.set(this.bytes);
      this.bytes = grown;
    } else {
      this.pieces.push(this.bytes);
      this.bytes = new Uint8Array(1 << 20);
      this.length = 0;
    }
  }
  this.bytes[this.length++] = c & 0xff;
};
// The bytes as pieces (the last one cut to its length).
SorvaneByteSink.prototype.takePieces = function () {
  return this.pieces.concat([this.bytes.slice(0, this.length)]);
};
// The bytes as one array.
SorvaneByteSink.prototype.take = function () {
  var pieces = this.takePieces();
  if (pieces.length === 1) {
    return pieces[0];
  }
  var total = 0;
  for (var i = 0; i < pieces.length; i++) {
    total += pieces[i].length;
  }
  var all = new Uint8Array(total);
  for (var j = 0, at = 0; j < pieces.length; j++) {
    all.set(pieces[j], at);
    at += pieces[j].length;
  }
  return all;
};

var sorvaneStdout = new SorvaneByteSink();
var sorvaneStderr = new SorvaneByteSink();
Module['stdout'] = function (c) { sorvaneStdout.put(c); };
Module['stderr'] = function (c) { sorvaneStderr.put(c); };

// The longest argument and the longest command line main is given (Linux's limits of one
// argument and, well inside the module's stack, of all of them).
Module['maxArgumentBytes'] = 128 * 1024;
Module['maxCommandLineBytes'] = 512 * 1024;
Module['broken'] = false;

// runCli(['2026', '--days', '--json']) -> {status, stdout: Uint8Array, stderr: Uint8Array};
// with `refused` (a Japanese message) and status 2 for a command line too long to run. With
// pieces true, stdout is an array of Uint8Array pieces instead (a long file never copied
// whole).
Module['runCli'] = function (args, pieces) {
  var texts = args.map(String);
  var total = 0;
  for (var i = 0; i < texts.length; i++) {
    var bytes = lengthBytesUTF8(texts[i]) + 1;
    total += bytes;
    if (bytes > Module['maxArgumentBytes'] || total > Module['maxCommandLineBytes']) {
      var message = bytes > Module['maxArgumentBytes']
        ? '入力が長すぎます（' + (i + 1) + '番目の引数が' + Module['maxArgumentBytes'] + 'バイトを超えています）'
        : '入力が長すぎます（コマンドライン全体が' + Module['maxCommandLineBytes'] + 'バイトを超えています）';
      var err = new TextEncoder().encode('sorvane-cli: ' + message + '\n');
      return { status: 2, stdout: pieces ? [] : new Uint8Array(0), stderr: err, refused: message };
    }
  }
  sorvaneStdout = new SorvaneByteSink();
  sorvaneStderr = new SorvaneByteSink();
  var status;
  try {
    status = callMain(texts);
  } catch (e) {
    if (e && e.name === 'ExitStatus') {
      status = e.status;
    } else {
      Module['broken'] = true;
      throw e;
    }
  }
  var out = pieces ? sorvaneStdout.takePieces() : sorvaneStdout.take();
  sorvaneStdout = new SorvaneByteSink();
  return { status: status, stdout: out, stderr: sorvaneStderr.take() };
};

// pageCall('sorvane_page_find', [page, '大安', '2026-01-01', '2026-12-31']) -> the answer's
// text: numbers are passed as they are, strings as pointers to copies made with malloc (freed
// after the call).
Module['pageCall'] = function (name, args) {
  var copies = [];
  try {
    var values = args.map(function (a) {
      if (typeof a !== 'string') {
        return a;
      }
      var size = lengthBytesUTF8(a) + 1;
      var p = _malloc(size);
      if (!p) {
        throw new Error('メモリが足りません');
      }
      copies.push(p);
      stringToUTF8(a, p, size);
      return p;
    });
    return UTF8ToString(Module['_' + name].apply(null, values));
  } catch (e) {
    if (!(e instanceof Error && e.message === 'メモリが足りません')) {
      Module['broken'] = true;
    }
    throw e;
  } finally {
    for (var i = 0; i < copies.length; i++) {
      _free(copies[i]);
    }
  }
};
