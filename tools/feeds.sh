#!/usr/bin/env bash
# Writes the subscription feeds into a folder ready for any static web host: one calendar of
# each kind (rokuyo.ics, senjitsu.ics, sekki.ics, holidays.ics, moon.ics, zassetsu.ics,
# senjitsu-periods.ics, shio.ics) for the years the program publishes for this year
# (`sorvane-cli --published-feeds YEAR`: last year to three years ahead), an
# index.html in Japanese that lists them with a line each and links to subscribe (webcal://
# on the page's own host, made from the relative links when the page is opened), and the
# same list as feeds.json (first, last, and per feed kind, name, about, from, to, events).
#
# Usage: tools/feeds.sh OUT_DIR [PROGRAM]
#   PROGRAM defaults to build/bin/sorvane-cli. FEEDS_YEAR=YYYY sets "this year" (default: the
#   clock's year in Japan). Each file is replaced whole or not at all; a kind whose years do
#   not reach the whole window is written for the part it covers (the holidays end in 2100),
#   as the program says.
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: tools/feeds.sh OUT_DIR [PROGRAM]" >&2
    exit 2
fi
out=$1
root=$(cd "$(dirname "$0")/.." && pwd)
program=${2:-$root/build/bin/sorvane-cli}
if [ ! -x "$program" ]; then
    echo "feeds.sh: $program is not an executable (build it first: tools/build.sh)" >&2
    exit 2
fi
year=${FEEDS_YEAR:-$(TZ=Asia/Tokyo date +%Y)}
if ! [[ $year =~ ^[0-9]{4}$ ]]; then
    echo "feeds.sh: FEEDS_YEAR \"$year\" is not a four-digit year" >&2
    exit 2
fi
# The kinds and their years, from the program: "rokuyo 2025 2029", "holidays - -".
if ! published=$("$program" --published-feeds "$((10#$year))"); then
    echo "feeds.sh: $program --published-feeds $((10#$year)) failed" >&2
    exit 1
fi
# A folder named like an option ("-feeds") is a folder all the same.
case $out in -*) out=./$out ;; esac
mkdir -p "$out"

# The value of a calendar property (unfolded, its text escapes undone).
raw_property() {
    sed -e ':a' -e 'N' -e '$!ba' -e 's/\r\n[ \t]//g' "$1" | tr -d '\r' |
        sed -n "s/^$2:\(.*\)$/\1/p" | head -n 1 |
        sed -e 's/\\,/,/g' -e 's/\\;/;/g' -e 's/\\[nN]/ /g' -e 's/\\\\/\\/g'
}
# The same, HTML-escaped.
property() {
    raw_property "$@" | sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g'
}
# The same as a JSON string.
json_property() {
    printf '"%s"' "$(raw_property "$@" | sed -e 's/\\/\\\\/g' -e 's/"/\\"/g' | tr -d '\000-\037')"
}

# Each kind for the years the program gives it.
items=""
entries=""
written=0
first=""
last=""
while read -r kind from to; do
    if [ "$from" = - ]; then
        echo "feeds.sh: $kind: no year published in $year is covered; skipped" >&2
        continue
    fi
    "$program" --feed "$kind" --from "$from" --to "$to" --ics "$out/$kind.ics" </dev/null
    if [ -z "$first" ] || ((from < first)); then first=$from; fi
    if [ -z "$last" ] || ((to > last)); then last=$to; fi
    written=$((written + 1))
    name=$(property "$out/$kind.ics" X-WR-CALNAME)
    about=$(property "$out/$kind.ics" X-WR-CALDESC)
    events=$(grep -c '^BEGIN:VEVENT' "$out/$kind.ics" || true)
    entries+="${entries:+,
}  {\"kind\": \"$kind\", \"name\": $(json_property "$out/$kind.ics" X-WR-CALNAME), \"about\": $(json_property "$out/$kind.ics" X-WR-CALDESC), \"from\": $from, \"to\": $to, \"events\": $events}"
    items+="  <li>
    <h2>$name</h2>
    <p>$about（${events}件）</p>
    <p><a class=\"subscribe\" href=\"$kind.ics\">カレンダーに登録（webcal）</a>
       ・ <a href=\"$kind.ics\" download>$kind.ics をダウンロード</a>
       ・ 登録用 URL：<code class=\"url\" data-href=\"$kind.ics\">$kind.ics</code></p>
  </li>
"
done <<<"$published"

if ((written == 0)); then
    echo "feeds.sh: no kind covers a year published in $year; no index written" >&2
    exit 2
fi

tmp=$(mktemp "$out/.index.html.XXXXXX")
trap 'rm -f "$tmp"' EXIT
cat >"$tmp" <<EOF
<!DOCTYPE html>
<html lang="ja">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>暦のカレンダー（Sorvane）</title>
<style>
body { font-family: sans-serif; max-width: 46em; margin: 2em auto; padding: 0 1em; line-height: 1.6; }
ul.feeds { list-style: none; padding: 0; }
ul.feeds li { border-top: 1px solid #ccc; padding: 0.5em 0; }
h2 { font-size: 1.2em; margin: 0.3em 0; }
code { background: #f3f3f3; padding: 0 0.3em; word-break: break-all; }
</style>
</head>
<body>
<h1>暦のカレンダー（Sorvane）</h1>
<p>六曜・選日・二十四節気・祝日・月の満ち欠け・雑節を、お使いのカレンダー（スマートフォン、Google カレンダー、Apple のカレンダー、Thunderbird）に登録できる iCalendar 形式の配信です。${first}年から${last}年まで。各予定の UID は種類・予定・日付から決まるため、年の範囲が変わって更新されても予定が二重になりません。</p>
<ul class="feeds">
${items}</ul>
<h2>登録のしかた</h2>
<ul>
<li>Google カレンダー（パソコンのブラウザで）：「他のカレンダー」の「＋」→「URL で追加」に登録用 URL（https://…）を貼り付けます。Google の更新は 8〜24 時間ごとです。</li>
<li>Apple のカレンダー（iPhone・Mac）：「カレンダーに登録（webcal）」を開くか、「ファイル」→「新規カレンダー照会」（iPhone では「設定」→「カレンダー」→「アカウント」→「アカウントを追加」→「その他」→「照会するカレンダーを追加」）に登録用 URL を入れます。</li>
<li>Thunderbird：「新しいカレンダー」→「ネットワーク上」を選び、場所に登録用 URL を入れます。</li>
</ul>
<p>六曜・選日は暦注（暦の慣習）であり、天文学ではありません。時刻は日本時（JST）です。</p>
<script>
for (const a of document.querySelectorAll("a.subscribe")) {
  const u = new URL(a.getAttribute("href"), location.href);
  if (u.protocol === "http:" || u.protocol === "https:") {
    a.href = "webcal://" + u.host + u.pathname;
  }
}
for (const c of document.querySelectorAll("code.url")) {
  c.textContent = new URL(c.dataset.href, location.href).href;
}
</script>
</body>
</html>
EOF
chmod 644 "$tmp"
mv -f "$tmp" "$out/index.html"
# The same list for a page that shows the feeds itself (the web edition's カレンダーファイル).
tmp=$(mktemp "$out/.feeds.json.XXXXXX")
trap 'rm -f "$tmp"' EXIT
printf '{"first": %d, "last": %d, "feeds": [\n%s\n]}\n' "$first" "$last" "$entries" >"$tmp"
chmod 644 "$tmp"
mv -f "$tmp" "$out/feeds.json"
trap - EXIT
echo "feeds.sh: wrote $out (the years $first..$last)"
