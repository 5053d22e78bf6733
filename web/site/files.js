// カレンダーファイル: the year, its 選日, the search's days and the subscription feeds, as
// the terminal program writes them (--ics -, --feed), saved as .ics files.
import { $, el } from './shared.js';
import { run } from './core.js';

export async function download(args, name, statusId) {
  let r;
  try {
    r = await run(args);
  } catch (e) {
    $(statusId).textContent = e.message;
    return;
  }
  if (r.refused) {
    $(statusId).textContent = r.refused;
    return;
  }
  const text = r.stderr.split('\n').filter(Boolean).map((l) => l.replace(/^sorvane-cli: (note: )?/, '')).join('　');
  if (r.status !== 0 || r.stdout === '') {
    $(statusId).textContent = text || '書き出せませんでした';
    return;
  }
  const url = URL.createObjectURL(new Blob([r.stdout], { type: 'text/calendar' }));
  const a = el('a');
  a.href = url;
  a.download = name;
  document.body.appendChild(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 10000);
  $(statusId).textContent = name + ' を保存しました' + (text ? '（' + text + '）' : '');
}

export function setUpFiles(coverage, year) {
  for (const id of ['files-year']) {
    $(id).min = coverage.year.first;
    $(id).max = coverage.year.last;
  }
  for (const id of ['feed-from', 'feed-to']) {
    $(id).min = coverage.icalendar.first;
    $(id).max = coverage.icalendar.last;
  }
  $('files-year').value = year;
  $('feed-from').value = year;
  $('feed-to').value = year;
  $('files-year-ics').onclick = () => download([$('files-year').value, '--ics', '-'], 'sorvane-' + $('files-year').value + '.ics', 'files-status');
  $('files-notes-ics').onclick = () => download([$('files-year').value, '--notes', '--ics', '-'], 'sorvane-senjitsu-' + $('files-year').value + '.ics', 'files-status');
  for (const b of document.querySelectorAll('[data-feed]')) {
    const span = coverage.feeds[b.dataset.feed];
    if (span) {
      b.title = span.first + '〜' + span.last + '年';
    }
    b.onclick = () => download(['--feed', b.dataset.feed, '--from', $('feed-from').value, '--to', $('feed-to').value],
      'sorvane-' + b.dataset.feed + '.ics', 'files-status');
  }
}
