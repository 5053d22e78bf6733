#!/usr/bin/python3
"""The web edition in Debian's headless Chromium (selenium and chromium-driver).

Serves the built site from a local server and checks: the cells of 2026-02 (立春 05:02,
旧正月 on 02-17, 建国記念の日), window.sorvane.* against the native terminal program's JSON,
日を探す's count, a place change, addresses and stored settings the page cannot use (dropped
with a note), a 6 MB search text (refused, the next search as before), the 390 px layout,
and the site without a network after a first visit. Saves screenshots of each step. With --bench it prints the time to the first
month, a month switch and the site's gzip size instead.

  browser_test.py --site build-web/site --cli build/bin/sorvane-cli --shots DIR
  browser_test.py --site build-web/site --bench
"""
import argparse
import base64
import functools
import gzip
import http.server
import json
import os
import re
import shutil
import subprocess
import sys
import threading
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.common.exceptions import TimeoutException
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select, WebDriverWait

failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        failures.append(what)


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".js": "text/javascript",
                      ".webmanifest": "application/manifest+json",
                      ".ics": "text/calendar; charset=utf-8"}

    def log_message(self, *args):
        pass


def serve(site, types=None):
    """Serves the folder site; a dict {"dir": folder} is read again on every request, so that
    the test can put another build in its place. types: file types served otherwise than a
    web host does ({".wasm": "application/octet-stream"})."""
    folder = site if isinstance(site, dict) else {"dir": site}
    requests = []  # (path, the request's Cache-Control) of every GET, in order
    arrivals = []  # (path, when it came: seconds since the epoch) of every GET

    class Current(Handler):
        extensions_map = {**Handler.extensions_map, **(types or {})}

        # Read per request, not per connection: the browser opens connections ahead of use.
        def translate_path(self, path):
            self.directory = folder["dir"]
            return super().translate_path(path)

        def do_GET(self):  # noqa: N802 - the name http.server calls
            requests.append((self.path.split("?")[0], self.headers.get("Cache-Control", "")))
            arrivals.append((self.path.split("?")[0], time.time()))
            super().do_GET()

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Current)
    server.requests = requests
    server.arrivals = arrivals
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def kept_by_worker(driver, url):
    """Loads url, waits for the service worker to be ready, and loads it again under it."""
    driver.get(url)
    wait_ready(driver)
    driver.execute_async_script(
        "const done = arguments[arguments.length - 1];"
        "navigator.serviceWorker.ready.then(() => done(true));")
    driver.refresh()
    wait_ready(driver)


def png_size(data):
    """The width and height of a PNG file (its IHDR chunk), or None for anything else."""
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        return None
    return int.from_bytes(data[16:20], "big"), int.from_bytes(data[20:24], "big")


def fetch(url):
    import urllib.request
    with urllib.request.urlopen(url, timeout=10) as r:
        return r.read()


def site_copies(site, prefix, *names):
    """A new temporary folder and, in it, a copy of the site under each name: (folder, paths)."""
    import tempfile
    work = tempfile.mkdtemp(prefix=prefix)
    paths = [os.path.join(work, name) for name in names]
    for path in paths:
        shutil.copytree(site, path)
    return work, paths


def rewrite(path, change):
    """Replaces the text of the file at path with change(text)."""
    with open(path, encoding="utf-8") as f:
        text = f.read()
    with open(path, "w", encoding="utf-8") as f:
        f.write(change(text))


def app_checks(args):
    """The site as an app: the manifest Chromium reads (DevTools' Page.getAppManifest), its
    icons, and the update path: build A loaded and kept by its worker, build B put on the
    server, the page offered 「新しい版があります」 while it still runs on A's files alone,
    then on 再読み込み B, and without the server the last build that was complete."""
    work, (build_a, build_b) = site_copies(args.site, "sorvane-app-", "a", "b")
    rewrite(os.path.join(build_b, "sw.js"), lambda sw: re.sub(r"const VERSION = '([^']*)'", r"const VERSION = '\1-b'", sw))
    rewrite(os.path.join(build_b, "index.html"),
            lambda html: re.sub(r'(<span id="version">[^<]*)</span>', r"\1-B</span>", html))
    root = {"dir": build_a}
    server = serve(root)
    base = f"http://127.0.0.1:{server.server_address[1]}/"
    driver = browser(1366, 900)
    footer = lambda: driver.find_element(By.ID, "version").text
    try:
        kept_by_worker(driver, base)
        manifest = driver.execute_cdp_cmd("Page.getAppManifest", {})
        check(not manifest.get("errors"), f"the manifest reads without errors ({manifest.get('errors')})")
        data = json.loads(manifest.get("data") or "{}")
        check(all(data.get(k) for k in ("id", "scope", "start_url", "name", "short_name",
                                        "theme_color", "background_color"))
              and data.get("display") == "standalone" and data.get("lang") == "ja",
              "the manifest names id, scope, start_url, display, lang and the colours")
        sizes = {}
        for icon in data.get("icons", []):
            if icon.get("type") == "image/png":
                got = png_size(fetch(base + icon["src"]))
                sizes[(icon["sizes"], icon.get("purpose", "any"))] = got
                want = tuple(int(v) for v in icon["sizes"].split("x"))
                check(got == want, f"the icon {icon['src']} is a {icon['sizes']} PNG ({got})")
        check(("192x192", "any") in sizes and ("512x512", "any") in sizes
              and ("512x512", "maskable") in sizes, f"the icons: 192, 512 and a maskable one ({sorted(sizes)})")
        touch = driver.execute_script(
            "const l = document.querySelector('link[rel=apple-touch-icon]'); return l ? l.href : ''")
        check(bool(touch) and png_size(fetch(touch)) == (180, 180), "the apple-touch-icon is a 180 px PNG")
        check(len(driver.execute_script(
            "const m = document.querySelector('meta[name=description]'); return m ? m.content : ''")) > 20,
            "the page has a meta description")

        version_a = footer()
        root["dir"] = build_b
        driver.execute_async_script(
            "const done = arguments[arguments.length - 1];"
            "navigator.serviceWorker.getRegistration().then((r) => r.update()).then(() => done(true));")
        WebDriverWait(driver, 60).until(lambda d: d.find_element(By.ID, "update").is_displayed())
        check("新しい版があります" in driver.find_element(By.ID, "update").text,
              "a new build on the server is offered: 新しい版があります")
        served = driver.execute_async_script(
            "const done = arguments[arguments.length - 1];"
            "fetch('index.html').then((r) => r.text()).then(done, () => done(''));")
        check(footer() == version_a and version_a + "-B" not in served,
              "while it is offered, the page and its files are still the running build's")
        shot_dir = args.shots
        driver.save_screenshot(os.path.join(shot_dir, "update-offered.png"))
        driver.find_element(By.ID, "update-reload").click()
        WebDriverWait(driver, 60).until(lambda d: d.execute_script(
            "const v = document.getElementById('version'); return !!v && v.textContent.endsWith('-B')"
            " && document.body.dataset.ready === 'true'"))
        check(footer() == version_a + "-B", "再読み込み shows the new build")
        caches = driver.execute_async_script(
            "const done = arguments[arguments.length - 1]; caches.keys().then(done);")
        check(len([k for k in caches if k.startswith("sorvane-")]) == 1 and caches[0].endswith("-b"),
              f"only the new build's cache is left ({caches})")
    finally:
        server.shutdown()
        server.server_close()
    try:
        driver.refresh()
        wait_ready(driver, 30)
        check(footer().endswith("-B"), "without the server the last complete build (B) loads")
    except Exception as e:  # noqa: BLE001 - reported as a failure
        check(False, f"without the server the new build loads ({e.__class__.__name__})")
    finally:
        driver.quit()
        shutil.rmtree(work, ignore_errors=True)


def made_ahead_checks(args):
    """The first month from the documents the build made ahead (pages/YYYY-MM.json): drawn
    with no call of the module, whose download starts only after it; the same month, to the
    letter, as the module draws it when the files are another build's or unreadable; and on
    the module's path no long task on the page's thread."""
    work, (other, broken) = site_copies(args.site, "sorvane-made-", "other", "broken")
    with open(os.path.join(args.site, "index.html"), encoding="utf-8") as f:
        years = re.search(r'name="sorvane-pages" content="[0-9a-f]{16} ([0-9]{4}) ([0-9]{4})"', f.read())
    check(years is not None, "index.html names the module and the years of the documents made ahead")
    # A February inside the years (this year's, as the build made them), one well after them.
    inside = f"{int(years.group(1)) + 1 if years else 2026}-02"
    outside = f"{int(years.group(2)) + 11 if years else 2040}-02"
    # Another build's files: index.html names another module than the files do.
    rewrite(os.path.join(other, "index.html"),
            lambda html: re.sub(r'(name="sorvane-pages" content=")[0-9a-f]{16}', r"\g<1>0123456789abcdef", html))
    # A file cut short in its middle.
    month_file = os.path.join(broken, "pages", inside + ".json")
    with open(month_file, "rb") as f:
        data = f.read()
    with open(month_file, "wb") as f:
        f.write(data[:len(data) // 2])
    root = {"dir": args.site}
    server = serve(root)
    base = f"http://127.0.0.1:{server.server_address[1]}/"
    driver = browser(1366, 900)
    shown = ("const t = (id) => document.getElementById(id).innerText;"
             "return [t('title-month'), t('title-year'), t('grid'), t('details'), t('daylist'), t('status')];")

    def cold(folder, url):
        root["dir"] = folder
        server.requests.clear()
        server.arrivals.clear()
        cold_load(driver, base, url)
        return driver.execute_script("return window.sorvaneTimes"), driver.execute_script(shown)

    try:
        times, made = cold(args.site, "#" + inside)
        check(times["madeAhead"] and "2月" in made[0] and "立春" in made[2],
              f"{inside} is drawn from the documents made ahead, with no call of the module ({made[0]})")
        # Every module of the page came by the head's preload links, none by an import chain:
        # each was asked for before the first of them had arrived.
        scripts = driver.execute_script(
            "return performance.getEntriesByType('resource').filter((e) => e.name.endsWith('.js')"
            " && !e.name.endsWith('/worker.js')).map((e) => [e.name.split('/').pop(), e.startTime, e.responseEnd]);")
        first = min((end for _, _, end in scripts), default=0)
        late = [name for name, start, _ in scripts if start >= first]
        check(len(scripts) >= 10 and not late,
              f"the head preloads every module of the page ({len(scripts)} modules; asked for after the"
              f" first had arrived: {late})")
        # The module's download (the worker's, which the page's own timings do not list) starts
        # after the first month is in the page, and the module is then made ready (the page's
        # first call answered): the server's clock against the page's, on the same machine.
        WebDriverWait(driver, 60).until(lambda d: d.execute_script("return !!navigator.serviceWorker.controller"))
        drawn = driver.execute_script("return performance.timeOrigin + window.sorvaneTimes.firstMonth") / 1000
        started = [t for path, t in server.arrivals if path == "/sorvane-cli.wasm"]
        check(started and started[0] > drawn,
              f"the module's download starts after the first month is drawn"
              f" ({(started[0] - drawn) * 1000 if started else float('nan'):.0f} ms after it)")
        for folder, what in ((other, "another build's files"), (broken, "a file cut short")):
            times, computed = cold(folder, "#" + inside)
            check(not times["madeAhead"] and computed == made,
                  f"with {what}, the module draws {inside} and its day as the files did"
                  f" ({'same' if computed == made else [a == b for a, b in zip(computed, made)]})")
        # The module's path: no task on the page's thread during the first load lasted as long
        # as the worker took for the longest of its calls up to the first month (the month
        # itself; on the page's thread that computation would be one task at least as long).
        times, opened = cold(args.site, "#" + outside)
        longest = driver.execute_async_script(
            "const done = arguments[arguments.length - 1]; let most = 0;"
            "new PerformanceObserver((l) => { for (const e of l.getEntries()) most = Math.max(most, e.duration); })"
            ".observe({type: 'longtask', buffered: true}); setTimeout(() => done(most), 300);")
        calls = times["calls"] or []
        # The month itself was computed by the worker's warm-up, before the page asked for it.
        warm = (times.get("startup") or {}).get("warm")
        worker_longest = max(calls + [warm or 0])
        check(not times["madeAhead"] and calls and longest < worker_longest,
              f"{outside}, outside the years made ahead, comes from the module; the load's longest task on"
              f" the page's thread took {longest:.0f} ms, less than the worker's longest computation"
              f" {worker_longest:.0f} ms")
        # The documents the page reads first came from pages/start.json, and the month from the
        # warm-up: the page asked the module for the day and the month alone, and the month was
        # answered at once.
        asked = [path for path, _ in server.requests]
        check("/pages/start.json" in asked and len(calls) == 2 and 0 in calls and warm is not None,
              f"{outside}: the first documents from pages/start.json, the month computed ahead"
              f" (the page's calls {[round(c) for c in calls]} ms, the warm-up {warm and round(warm)} ms)")
        # The month computed ahead is the one the page draws when it turns to it from the month
        # before, to the letter.
        cold(args.site, "#" + outside[:-2] + "01")
        driver.find_element(By.ID, "next-month").click()
        try:
            WebDriverWait(driver, 60).until(lambda d: d.execute_script(shown) == opened)
        except TimeoutException:
            pass
        turned = driver.execute_script(shown)
        check(turned == opened, f"{outside} opened on is the month turned to from the month before"
              f" ({'same' if turned == opened else [a == b for a, b in zip(turned, opened)]})")
    finally:
        driver.quit()
        server.shutdown()
        server.server_close()
        shutil.rmtree(work, ignore_errors=True)
    # A host that serves the module as application/octet-stream, which WebAssembly's streaming
    # compilation refuses: the first worker then has the module's loader download it, and a
    # later worker (日を探す's), handed no compiled module, downloads its own.
    server = serve(args.site, {".wasm": "application/octet-stream"})
    driver = browser(1366, 900)
    try:
        cold_load(driver, f"http://127.0.0.1:{server.server_address[1]}/", "#" + outside)
        title = driver.find_element(By.ID, "title-month").text
        driver.find_element(By.ID, "tab-find").click()
        driver.find_element(By.ID, "find-query").send_keys("天赦日")
        try:
            WebDriverWait(driver, 60).until(lambda d: d.find_element(By.ID, "find-count").text.endswith(" 件"))
        except TimeoutException:
            pass
        count = driver.find_element(By.ID, "find-count").text
        check(title == "2月" and count.endswith(" 件") and count != "0 件",
              f"with the module served as application/octet-stream, {outside} is drawn ({title})"
              f" and 日を探す finds days ({count})")
    finally:
        driver.quit()
        server.shutdown()
        server.server_close()


def waited(driver, condition, what, timeout=30):
    """Whether condition came true within timeout seconds; a failed check naming what if not."""
    try:
        WebDriverWait(driver, timeout).until(condition)
        return True
    except Exception as e:  # a timeout, or the page gone
        check(False, f"{what} ({e.__class__.__name__})")
        return False


def fetch_with_type(url):
    import urllib.request
    with urllib.request.urlopen(url, timeout=10) as r:
        return r.headers.get("Content-Type", ""), r.read()


def qr_text(png):
    """The text of the QR code in a PNG image, as zbarimg (Debian's zbar-tools, a decoder
    written apart from the page's encoder) reads it; None when it finds none."""
    import tempfile
    with tempfile.NamedTemporaryFile(suffix=".png") as f:
        f.write(png)
        f.flush()
        r = subprocess.run(["zbarimg", "--quiet", "--raw", f.name], capture_output=True, text=True)
    return r.stdout.strip() if r.returncode == 0 else None


def feed_checks(args, shot):
    """購読用カレンダー at 1366 and 390 px: the feeds the build put into the site (this year in
    Japan -1 .. +3), each served as text/calendar with the years it names, shown with its full
    address, a webcal:// link and a QR code that a decoder reads as that link."""
    import datetime
    this_year = (datetime.datetime.now(datetime.timezone.utc) + datetime.timedelta(hours=9)).year
    with open(os.path.join(args.site, "feeds.json"), encoding="utf-8") as f:
        about = json.load(f)
    check(about["first"] == this_year - 1 and about["last"] == this_year + 3,
          f"the site's feeds cover {about['first']}..{about['last']} (this year {this_year} -1 .. +3)")
    kinds = [feed["kind"] for feed in about["feeds"]]
    check(kinds == ["rokuyo", "senjitsu", "sekki", "holidays", "moon", "zassetsu", "senjitsu-periods",
                    "shio"],
          f"the site has the eight feeds ({kinds})")
    server = serve(args.site)
    base = f"http://127.0.0.1:{server.server_address[1]}/"
    try:
        for feed in about["feeds"]:
            kind = feed["kind"]
            ctype, body = fetch_with_type(base + "feeds/" + kind + ".ics")
            text = body.decode("utf-8")
            years = {int(y) for y in re.findall(r"^DTSTART[^:\r\n]*:(\d{4})", text, re.M)}
            check(ctype.startswith("text/calendar") and text.startswith("BEGIN:VCALENDAR")
                  and text.count("BEGIN:VEVENT") == feed["events"] and feed["events"] > 0
                  and years and min(years) >= feed["from"] and max(years) <= feed["to"],
                  f"feeds/{kind}.ics is served as {ctype} with its {feed['events']} events in {sorted(years)}")
        for width in (1366, 390):
            driver = browser(max(width, 500), 900)
            if width < 500:
                driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                                       {"width": width, "height": 844, "deviceScaleFactor": 1, "mobile": True})
            try:
                driver.get(base + "#2026-02")
                wait_ready(driver)
                driver.find_element(By.ID, "tab-files").click()
                if not waited(driver, lambda d: len(d.find_elements(By.CSS_SELECTOR, "#feed-list li.feed")) == len(kinds),
                              f"at {width} px カレンダーファイル lists the {len(kinds)} feeds"):
                    continue
                for kind in kinds:
                    item = driver.find_element(By.CSS_SELECTOR, f'#feed-list li[data-kind="{kind}"]')
                    https = base + "feeds/" + kind + ".ics"
                    webcal = "webcal://" + https[len("http://"):]
                    shown = item.find_element(By.CSS_SELECTOR, "code.url").text
                    link = item.find_element(By.CSS_SELECTOR, "a.webcal").get_attribute("href")
                    qr = item.find_element(By.CSS_SELECTOR, ".qr svg")
                    driver.execute_script("arguments[0].scrollIntoView({block: 'center'})", qr)
                    read = qr_text(base64.b64decode(qr.screenshot_as_base64))
                    check(shown == https and link == webcal and read == webcal,
                          f"at {width} px {kind}: address {shown}, link {link}, QR code read as {read}")
                targets = driver.execute_script(
                    "return Array.from(document.querySelectorAll('#feed-list .actions a, #feed-list .actions button'))"
                    ".map((e) => e.getBoundingClientRect().height)")
                check(targets and min(targets) >= 44, f"at {width} px the feed links are at least 44 px tall ({min(targets)})")
                steps = driver.find_element(By.ID, "view-files").text
                check(all(w in steps for w in ("URL で追加", "iPhone", "Android", "一度だけ取り込む", "更新されません")),
                      f"at {width} px the steps for Google Calendar, Apple and Android and the one-time import are shown")
                check(viewport_fits(driver), f"at {width} px the feeds do not scroll sideways")
                driver.execute_script("window.scrollTo(0, 0)")
                shot(driver, f"feeds-{width}px.png")
            finally:
                driver.quit()
    finally:
        server.shutdown()
        server.server_close()


def find_range_checks(args, shot):
    """日を探す's range at 1366 and 390 px: a year from today in Japan (to the eve of the same
    date a year later, as the desktop's window), a kept range that has ended is not used
    again (its query is), and その年 / その月 set the year and month of 「から」."""
    import datetime
    now = (datetime.datetime.now(datetime.timezone.utc) + datetime.timedelta(hours=9)).date()
    try:
        same = now.replace(year=now.year + 1)
    except ValueError:  # 29 February
        same = datetime.date(now.year + 1, 3, 1)
    eve = same - datetime.timedelta(days=1)
    server = serve(args.site)
    base = f"http://127.0.0.1:{server.server_address[1]}/"
    try:
        for width in (1366, 390):
            driver = browser(max(width, 500), 900)
            if width < 500:
                driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                                       {"width": width, "height": 844, "deviceScaleFactor": 1, "mobile": True})
            value = lambda i: driver.find_element(By.ID, i).get_attribute("value")
            try:
                driver.get(base + "#2026-02")
                wait_ready(driver)
                driver.execute_script("localStorage.clear()")
                driver.refresh()
                wait_ready(driver)
                driver.find_element(By.ID, "tab-find").click()
                check((value("find-from"), value("find-to")) == (now.isoformat(), eve.isoformat()),
                      f"at {width} px 日を探す opens on {value('find-from')}..{value('find-to')} "
                      f"(a year from today: {now}..{eve})")
                driver.execute_script("localStorage.setItem('sorvane.find', JSON.stringify("
                                      "{query: '大安', from: '2020-01-01', to: '2020-12-31'}))")
                driver.refresh()
                wait_ready(driver)
                driver.find_element(By.ID, "tab-find").click()
                check((value("find-from"), value("find-to")) == (now.isoformat(), eve.isoformat())
                      and value("find-query") == "大安",
                      f"at {width} px a kept range that has ended (2020) gives way to a year from today, "
                      f"its query kept ({value('find-from')}..{value('find-to')}, {value('find-query')})")
                driver.execute_script("const f = document.getElementById('find-from'); f.value = '2028-02-10';")
                if not driver.find_elements(By.ID, "find-range-month"):
                    check(False, f"at {width} px 日を探す has その年 and その月")
                    continue
                driver.find_element(By.ID, "find-range-month").click()
                check((value("find-from"), value("find-to")) == ("2028-02-01", "2028-02-29"),
                      f"at {width} px その月 from 2028-02-10 gives {value('find-from')}..{value('find-to')}")
                waited(driver, lambda d: d.find_element(By.ID, "find-count").text.endswith(" 件"),
                       f"at {width} px その月 searches")
                feb = len(native_json(args.cli, "--find", "大安", "--from", "2028-02-01",
                                      "--to", "2028-02-29", "--json")["days"])
                count = driver.find_element(By.ID, "find-count").text
                check(count == f"該当 {feb} 件", f"at {width} px その月 searches February 2028: {count} ({feb} by sorvane-cli)")
                driver.find_element(By.ID, "find-range-year").click()
                check((value("find-from"), value("find-to")) == ("2028-01-01", "2028-12-31"),
                      f"at {width} px その年 gives {value('find-from')}..{value('find-to')}")
                targets = driver.execute_script(
                    "return ['find-range-year', 'find-range-month'].map((i) => "
                    "document.getElementById(i).getBoundingClientRect().height)")
                if width < 500:
                    check(min(targets) >= 44, f"at {width} px その年 and その月 are at least 44 px tall ({targets})")
                shot(driver, f"find-range-{width}px.png")
            finally:
                driver.quit()
    finally:
        server.shutdown()
        server.server_close()


def pdf_text(pdf):
    """The text of a PDF as poppler's pdftotext reads it."""
    r = subprocess.run(["pdftotext", "-layout", "-", "-"], input=pdf, capture_output=True, check=True)
    return r.stdout.decode("utf-8", "replace")


def print_checks(args):
    """Printing from 年 and 日を探す prints what the view shows (the year's lines, the found
    days), not an empty page; the month's bands and squares keep their colours in print."""
    server = serve(args.site)
    base = f"http://127.0.0.1:{server.server_address[1]}/"
    driver = browser(1366, 900)
    pdf = lambda: base64.b64decode(driver.execute_cdp_cmd("Page.printToPDF", {"preferCSSPageSize": True})["data"])
    try:
        driver.get(base + "#2026-07")
        wait_ready(driver)
        driver.find_element(By.ID, "tab-year").click()
        waited(driver, lambda d: "立　春" in d.find_element(By.ID, "year-body").text, "the year view is drawn")
        text = re.sub(r"\s", "", pdf_text(pdf()))
        check("立春" in text and "冬至" in text and "夏至" in text,
              f"the year view prints its lines ({len(text.strip())} characters of text)")
        driver.find_element(By.ID, "tab-find").click()
        driver.find_element(By.ID, "find-query").send_keys("天赦日")
        waited(driver, lambda d: d.find_element(By.ID, "find-count").text.endswith(" 件"), "日を探す finds 天赦日")
        first = driver.find_element(By.CSS_SELECTOR, "#find-list li a").text
        text = re.sub(r"\s", "", pdf_text(pdf()))
        check(first.split("（")[0].replace(" ", "") in text,
              f"日を探す prints the found days (the first, {first}, is in the print)")
        driver.find_element(By.ID, "tab-month").click()
        driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"media": "print"})
        adjust = driver.execute_script(
            "const b = document.querySelector('#grid .band');"
            "return b ? getComputedStyle(b).printColorAdjust || getComputedStyle(b).webkitPrintColorAdjust : ''")
        check(adjust == "exact", f"in print the month's 土用 band keeps its colour (print-color-adjust: {adjust})")
    finally:
        driver.quit()
        server.shutdown()
        server.server_close()


def senjitsu_checks(args, shot):
    """選日 without the toggle at 1366 and 390 px: 2026-03-05 (天赦日 and 一粒万倍日 in
    sorvane-cli --notes) marked in its square and named in its details, the toggle called
    「暦注・選日」; a day opened from a 一粒万倍日 search says why it was found, and on a phone
    its details are in view; the search's check boxes are 44 px to touch on a phone."""
    native = native_json(args.cli, "2026", "--notes", "--json")
    march5 = next(d for d in native["days"] if d["date"] == "2026-03-05")
    server = serve(args.site)
    base = f"http://127.0.0.1:{server.server_address[1]}/"
    try:
        for width in (1366, 390):
            driver = browser(max(width, 500), 900)
            if width < 500:
                driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                                       {"width": width, "height": 844, "deviceScaleFactor": 1, "mobile": True})
            try:
                driver.get(base + "#2026-03-05")
                wait_ready(driver)
                driver.execute_script("localStorage.clear()")
                driver.refresh()
                wait_ready(driver)
                where = "#grid" if width >= 500 else "#daylist"
                square = driver.find_element(By.CSS_SELECTOR, f'{where} .day[data-date="2026-03-05"]').text
                check("天赦" in square and "一粒万倍" in square and not driver.find_element(By.ID, "notes-toggle").is_selected(),
                      f"at {width} px 2026-03-05's square shows 天赦 and 一粒万倍 without the toggle")
                waited(driver, lambda d: "2026" in d.find_element(By.ID, "details").text, "the details are drawn")
                details = driver.find_element(By.ID, "details").text
                check(all(n in details for n in march5["senjitsu"]),
                      f"at {width} px 2026-03-05's details name {march5['senjitsu']} without the toggle")
                label = driver.find_element(By.CSS_SELECTOR, "label.toggle").text.strip()
                check(label == "暦注・選日", f"at {width} px the toggle reads 「{label}」")
                driver.find_element(By.ID, "tab-find").click()
                driver.find_element(By.ID, "find-query").send_keys("一粒万倍日")
                waited(driver, lambda d: d.find_elements(By.CSS_SELECTOR, "#find-list li a"), "the search lists days")
                link = driver.find_element(By.CSS_SELECTOR, "#find-list li a")
                date = link.get_attribute("href").split("#")[1]
                if width < 500:
                    boxes = driver.execute_script(
                        "return Array.from(document.querySelectorAll('#find-form label')).filter((l) => l.offsetParent)"
                        ".map((l) => l.getBoundingClientRect().height)")
                    check(boxes and min(boxes) >= 44, f"at {width} px the search's check boxes are at least 44 px tall ({min(boxes)})")
                link.click()
                waited(driver, lambda d: "見つかった" in d.find_element(By.ID, "details").text,
                       f"at {width} px the day opened from the search says why it was found")
                details = driver.find_element(By.ID, "details")
                check("日を探すで見つかった日：一粒万倍日" in details.text,
                      f"at {width} px {date} opened from the search says 「日を探すで見つかった日：一粒万倍日」")
                top = driver.execute_script(
                    "const r = arguments[0].getBoundingClientRect(); return [r.top, window.innerHeight]", details)
                check(0 <= top[0] < top[1], f"at {width} px the found day's details are in view (top {top[0]:.0f} of {top[1]})")
                shot(driver, f"found-day-{width}px.png")
            finally:
                driver.quit()
    finally:
        server.shutdown()
        server.server_close()


# Every refusal a user can meet on the page, one row each: the view, the fields set (id and
# value; a button id to press or None when typing runs it), the line the answer goes to, the
# core's code, the input it marks and a part of the message that says what to change. The
# message must be Japanese (no English word, no option).
REFUSALS = [
    # カレンダーファイル: the year's file and its 選日, the feeds.
    ("files", (("files-year", "abc"),), "files-year-ics", "files-status", "file-year-unreadable", "files-year", "数字で"),
    ("files", (("files-year", "99999"),), "files-year-ics", "files-status", "file-year-outside", "files-year", "年を変えて"),
    ("files", (("files-year", "10000"),), "files-year-ics", "files-status", "file-year-outside", "files-year", "年を変えて"),
    ("files", (("files-year", "9000"),), "files-notes-ics", "files-status", "notes-year-outside", "files-year", "年を変えて"),
    ("files", (("feed-from", "2026"), ("feed-to", "2025")), 'button[data-feed="holidays"]', "files-status", "feed-reversed", "feed-to", "「まで」"),
    ("files", (("feed-from", "abc"), ("feed-to", "2026")), 'button[data-feed="holidays"]', "files-status", "feed-from-unreadable", "feed-from", "「から」"),
    ("files", (("feed-from", "1800"), ("feed-to", "1801")), 'button[data-feed="holidays"]', "files-status", "feed-years-outside", "feed-from", "年の間"),
    # 日を探す: the query and the range, as typed and through the calendar-file button.
    ("find", (("find-query", "結婚"),), None, "find-count", "query-unknown-name", "find-query", "結婚"),
    ("find", (("find-query", "結婚"),), "find-ics", "find-notes", "query-unknown-name", "find-query", "結婚"),
    ("find", (("find-query", "危"),), None, "find-count", "query-two-kinds", "find-query", "種類を付けて"),
    ("find", (("find-query", "大安||仏滅"),), None, "find-count", "query-unreadable", "find-query", "読めません"),
    # Nothing asked yet: a hint, the field not marked as wrong.
    ("find", (("find-query", ""),), None, "find-count", "query-empty", None, "条件を選ぶか"),
    ("find", (("find-query", "大安"), ("find-from", "")), None, "find-count", "from-unreadable", "find-from", "2027-01-01"),
    ("find", (("find-query", "大安"), ("find-from", "2026-12-31"), ("find-to", "2026-01-01")), None, "find-count", "range-reversed", "find-to", "「まで」"),
    ("find", (("find-query", "大安 仏滅"), ("find-from", "2026-01-01"), ("find-to", "2026-12-31")), "find-ics", "find-notes", "file-nothing-found", "find-query", "条件か期間を変えて"),
    # 行事: a 命日 after today, a kind's date left empty.
    ("life", (("life-kind", "法要"), ("life-date", "2030-01-01")), "life-go", "life-status", "life-death-in-future", "life-date", "命日"),
    ("life", (("life-kind", "法要"), ("life-date", "")), "life-go", "life-status", "life-needs-date", "life-date", "2026-04-04 のように"),
    # 和暦: a leap month the year did not have, a text too long to read.
    ("wareki", (("wareki-input", "元禄15年閏12月14日"),), "wareki-go", "wareki-status", "wareki-unreadable", "wareki-input", "閏12月はありません"),
    ("wareki", (("wareki-input", "元" * 300),), "wareki-go", "wareki-status", "wareki-too-long", "wareki-input", "のように入れて"),
]


def gedan_shio_checks(args, shot):
    """The 下段 and the 潮名 with the 暦注 toggle at 1366 and 390 px: 2026-02-04's square shows
    its 潮名 and the marks of its 下段 and its details name them in full, as sorvane-cli --notes
    gives them (大明日, 天恩日 and 十死日, 大潮); the 潮名 check box 大潮 with 土 finds the days
    sorvane-cli --find '大潮 土' finds."""
    native = native_json(args.cli, "2026", "--notes", "--json")
    feb4 = next(d for d in native["days"] if d["date"] == "2026-02-04")
    marks = {"大明日": "大明", "天恩日": "天恩", "十死日": "十死"}
    server = serve(args.site)
    base = f"http://127.0.0.1:{server.server_address[1]}/"
    try:
        for width in (1366, 390):
            driver = browser(max(width, 500), 900)
            if width < 500:
                driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                                       {"width": width, "height": 844, "deviceScaleFactor": 1, "mobile": True})
            try:
                driver.get(base + "#2026-02-04")
                wait_ready(driver)
                driver.execute_script("localStorage.clear()")
                driver.refresh()
                wait_ready(driver)
                where = "#grid" if width >= 500 else "#daylist"
                square = lambda: driver.find_element(By.CSS_SELECTOR, f'{where} .day[data-date="2026-02-04"]').text
                check(feb4["shio"] not in square(), f"at {width} px the square has no 潮名 without the toggle")
                driver.find_element(By.ID, "notes-toggle").click()
                waited(driver, lambda d: "下段" in d.find_element(By.ID, "details").text, "the details give the 下段")
                text = square()
                check(feb4["shio"] == "大潮" and "大潮" in text,
                      f"at {width} px 2026-02-04's square shows its 潮名 {feb4['shio']} with the toggle")
                check(all(g in marks for g in feb4["gedan"]) and all(marks[g] in text for g in feb4["gedan"]),
                      f"at {width} px 2026-02-04's square shows the marks of {feb4['gedan']}")
                details = driver.find_element(By.ID, "details").text
                check(all("下段 " + g in details for g in feb4["gedan"]) and "潮名 大潮" in details,
                      f"at {width} px 2026-02-04's details name {feb4['gedan']} and 潮名 大潮")
                shot(driver, f"notes-gedan-shio-{width}px.png")
                driver.find_element(By.ID, "tab-find").click()
                driver.execute_script("const f = document.getElementById('find-from'); f.value = '2026-01-01';"
                                      "const t = document.getElementById('find-to'); t.value = '2026-12-31';")
                for group, name in (("find-shio", "大潮"), ("find-week", "土")):
                    driver.find_element(By.CSS_SELECTOR, f'#{group} input[value="{name}"]').click()
                want = native_json(args.cli, "--find", "大潮 土", "--from", "2026-01-01", "--to",
                                   "2026-12-31", "--json")["count"]
                waited(driver, lambda d: d.find_element(By.ID, "find-count").text == f"該当 {want} 件",
                       f"at {width} px the check boxes 大潮 and 土 find {want} days")
                check(want > 0, f"at {width} px the check boxes 大潮 and 土 find the {want} days sorvane-cli finds")
                shot(driver, f"find-shio-{width}px.png")
            finally:
                driver.quit()
    finally:
        server.shutdown()
        server.server_close()


def message_checks(args):
    """Every refusal of REFUSALS at 1366 and 390 px: the core's code on the line, the field it
    names marked invalid, a Japanese message that says what to change; then a good answer
    clears the mark."""
    english = re.compile(r"[A-Za-z]{3,}|--")
    server = serve(args.site)
    base = f"http://127.0.0.1:{server.server_address[1]}/"
    try:
        for width in (1366, 390):
            driver = browser(max(width, 500), 900)
            if width < 500:
                driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                                       {"width": width, "height": 844, "deviceScaleFactor": 1, "mobile": True})
            try:
                driver.get(base + "#2026-02")
                wait_ready(driver)
                for view, fields, press, line, code, marked, want in REFUSALS:
                    driver.find_element(By.ID, "tab-" + view).click()
                    driver.execute_script("const l = document.getElementById(arguments[0]);"
                                          "l.textContent = ''; delete l.dataset.code;", line)
                    for field, value in fields:
                        # A select takes its value; a date or number box keeps '' for text it
                        # cannot hold, as a user's typing would leave it.
                        driver.execute_script(
                            "const e = document.getElementById(arguments[0]); e.value = arguments[1];"
                            "e.dispatchEvent(new Event(e.tagName === 'SELECT' ? 'change' : 'input', {bubbles: true}));",
                            field, value)
                    if press == "find-ics":
                        # The search the typing started answers first (its answer rewrites
                        # the notes line the file's message goes to).
                        time.sleep(0.4)
                        waited(driver, lambda d: d.find_element(By.ID, "find-count").text not in ("", "探しています…"),
                               "the search answers before its file is asked for")
                    if press:
                        button = (driver.find_element(By.CSS_SELECTOR, press) if press.startswith("button[")
                                  else driver.find_element(By.ID, press))
                        button.click()
                    # An answer to what the tab or the last row asked may come first (the
                    # empty query of a view just opened): wait for this row's code, and on a
                    # timeout check what the line says then.
                    try:
                        WebDriverWait(driver, 30).until(lambda d: d.find_element(By.ID, line).get_attribute("data-code") == code)
                    except TimeoutException:
                        pass
                    said = driver.find_element(By.ID, line).text
                    got = driver.find_element(By.ID, line).get_attribute("data-code")
                    invalid = driver.find_element(By.ID, marked or "find-query").get_attribute("aria-invalid")
                    check(got == code and invalid == ("true" if marked else None) and want in said
                          and not english.search(said),
                          f"at {width} px {view} {fields[0][1][:20]!r}… gives {got} on {marked} "
                          f"(marked {invalid}): 「{said}」")
                # A search the core answers clears the mark its refusal left.
                driver.find_element(By.ID, "tab-find").click()
                for field, value in (("find-from", "2026-01-01"), ("find-to", "2026-12-31"), ("find-query", "天赦日 一粒万倍日")):
                    driver.execute_script(
                        "const e = document.getElementById(arguments[0]); e.value = arguments[1];"
                        "e.dispatchEvent(new Event('input', {bubbles: true}));", field, value)
                waited(driver, lambda d: d.find_element(By.ID, "find-count").text == "該当 4 件", "the search counts 4 days")
                check(driver.find_element(By.ID, "find-query").get_attribute("aria-invalid") is None
                      and driver.find_element(By.ID, "find-count").get_attribute("data-code") is None,
                      f"at {width} px an answered search clears the refusal's mark")
            finally:
                driver.quit()
    finally:
        server.shutdown()
        server.server_close()


def lunar_note_checks(args, shot):
    """The 旧暦2033年問題 note: the months 2033-08 .. 2034-03 (the stretch 2033-08-25 ..
    2034-03-19 whose month numbers the rules do not give, as published) say under the month
    and in the details of such a day that the numbering is the 閏11月 recommendation and
    name the alternatives; 2033-07 and a day before the stretch say nothing."""
    server = serve(args.site)
    base = f"http://127.0.0.1:{server.server_address[1]}/"
    driver = browser(1366, 900)
    try:
        for date, noted in (("2033-12-22", True), ("2034-03-19", True), ("2033-08-24", False),
                            ("2034-03-20", False)):
            driver.get("about:blank")
            driver.get(base + "#" + date)
            wait_ready(driver)
            waited(driver, lambda d: date[:4] in d.find_element(By.ID, "details").text, "the details are drawn")
            month = "".join(e.text for e in driver.find_elements(By.ID, "lunar-note"))
            details = driver.find_element(By.ID, "details").text
            has = ["閏11月" in t and "閏7月" in t and "閏1月" in t for t in (month, details)]
            check(has[1] == noted, f"{date}'s details {'name' if noted else 'do not name'} the 2033 choice")
            # 2033-08 and 2034-03 hold days on both sides: their months carry the note.
            check(has[0] == (date[:7] != "2033-07"), f"the month of {date} carries the 2033 note: {has[0]}")
            if date == "2033-12-22":
                check("閏11月1日" in details, "2033-12-22 is 閏11月1日")
                shot(driver, "lunar-note-2033-12.png")
        driver.get("about:blank")
        driver.get(base + "#2033-07-10")
        wait_ready(driver)
        waited(driver, lambda d: "2033" in d.find_element(By.ID, "details").text, "the details are drawn")
        check(driver.find_elements(By.ID, "lunar-note") and driver.find_element(By.ID, "lunar-note").text == "",
              "2033-07 carries no 2033 note")
    finally:
        driver.quit()
        server.shutdown()
        server.server_close()


def wording_checks(args, shot):
    """Years and dates as a printed 暦 writes them: astronomical 0, -500 and -1999 as
    紀元前1年, 紀元前501年 and 紀元前2000年 in the month's title and the day's details; no era
    year for 9000 (the era list ends with 令和); the found days and the year's holidays as
    「1月17日」, not ISO dates; the year boxes refuse an empty box and 99999 with a Japanese
    message naming what to write, keeping the month shown."""
    server = serve(args.site)
    base = f"http://127.0.0.1:{server.server_address[1]}/"
    driver = browser(1366, 900)
    try:
        for address, title, first_line in (("0000-01-01", "紀元前1年", "紀元前1年1月1日"),
                                           ("-0500-03-01", "紀元前501年", "紀元前501年3月1日"),
                                           ("-1999-01-01", "紀元前2000年", "紀元前2000年1月1日"),
                                           ("2026-01-17", "2026年", "2026年1月17日")):
            driver.get("about:blank")
            driver.get(base + "#" + address)
            wait_ready(driver)
            waited(driver, lambda d: d.find_elements(By.CSS_SELECTOR, "#details h2"), "the details are drawn")
            shown = driver.find_element(By.ID, "title-year").text
            heading = driver.find_element(By.CSS_SELECTOR, "#details h2").text
            check(shown.startswith(title) and heading.startswith(first_line) and "-" not in shown + heading,
                  f"#{address} reads 「{shown}」 and 「{heading}」")
        driver.get("about:blank")
        driver.get(base + "#9000-01-01")
        wait_ready(driver)
        waited(driver, lambda d: "9000" in d.find_element(By.ID, "details").text, "the details are drawn")
        text = driver.find_element(By.ID, "title-year").text + driver.find_element(By.ID, "details").text
        check("令和" not in text, "9000 has no era year (no 令和6982年)")
        driver.get("about:blank")
        driver.get(base + "#2026-01")
        wait_ready(driver)
        waited(driver, lambda d: d.find_elements(By.CSS_SELECTOR, "#details h2"), "the details are drawn")
        for box, value in (("year-input", "99999"), ("year-input", ""), ("year-only", "99999")):
            if box == "year-only":
                driver.find_element(By.ID, "tab-year").click()
                waited(driver, lambda d: "立　春" in d.find_element(By.ID, "year-body").text, "the year view is drawn")
            driver.execute_script("document.getElementById('status').textContent = '';"
                                  "const b = document.getElementById(arguments[0]); b.value = arguments[1];"
                                  "b.dispatchEvent(new Event('change'));", box, value)
            time.sleep(0.5)
            message = driver.find_element(By.ID, "status").text
            check("年は" in message and "整数" in message and "-500" in message,
                  f"{box} holding 「{value}」 says 「{message}」")
            if box == "year-input":
                check(driver.find_element(By.ID, "title-year").text.startswith("2026年")
                      and driver.find_element(By.ID, "year-input").get_attribute("value") == "2026",
                      f"{box} holding 「{value}」 keeps 2026 shown")
        holidays = [e.text for e in driver.find_elements(By.CSS_SELECTOR, "#year-body ul.plain li")
                    if "元日" in e.text]
        check(holidays and holidays[0].startswith("1月1日"), f"the year's holidays read 「{holidays[:1]}」")
        driver.find_element(By.ID, "tab-find").click()
        driver.find_element(By.ID, "find-query").send_keys("大安")
        waited(driver, lambda d: d.find_elements(By.CSS_SELECTOR, "#find-list li a"), "the search lists days")
        found = [a.text for a in driver.find_elements(By.CSS_SELECTOR, "#find-list li a")][:5]
        check(found and all(re.match(r"^\d+年\d{1,2}月\d{1,2}日（.+?）", t) for t in found),
              f"the found days read like 「{found[:1]}」")
        shot(driver, "found-days-wording.png")
    finally:
        driver.quit()
        server.shutdown()
        server.server_close()


def eclipse_checks(args, shot):
    """The annular eclipse of 2030-06-01 at 札幌 and 東京, at 1366 and 390 px: the mark in its
    square, the kind and the place's contacts in its details (札幌's first contact 15:41 as
    日食ナビ publishes it, every contact at the minute of sorvane-cli --eclipses --json), and
    the year view of 2030 listing the year's eclipses with the place's lines."""
    server = serve(args.site)
    base = f"http://127.0.0.1:{server.server_address[1]}/"

    def minutes(iso):  # "2030-06-01T15:41:10+09:00" to ["15:41"]: the minutes it rounds to
        h, m, sec = (int(x) for x in iso[11:19].split(":"))
        ups = {0: [0], 30: [0, 1]}.get(sec, [1 if sec > 30 else 0])  # 30 s: either way
        return [f"{(h * 60 + m + up) // 60:02d}:{(h * 60 + m + up) % 60:02d}" for up in ups]

    try:
        for place, seen in (("札幌", "金環日食"), ("東京", "部分日食")):
            native = native_json(args.cli, "--eclipses", "2030", "--place", place, "--json")
            local = next(e for e in native["solar"] if e["greatest"].startswith("2030-06-01"))["local"]
            contacts = {"食の始め": local["begin"], "食の最大": local["maximum"], "食の終わり": local["end"]}
            for width in (1366, 390):
                driver = browser(max(width, 500), 900)
                if width < 500:
                    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                                           {"width": width, "height": 844, "deviceScaleFactor": 1, "mobile": True})
                try:
                    driver.get(base + "#2030-06-01")
                    wait_ready(driver)
                    driver.execute_script("localStorage.clear()")
                    driver.refresh()
                    wait_ready(driver)
                    Select(driver.find_element(By.ID, "place-select")).select_by_value(place)
                    waited(driver, lambda d: f"{place}では" in d.find_element(By.ID, "details").text,
                           f"at {width} px the details of 2030-06-01 name {place}")
                    where = "#grid" if width >= 500 else "#daylist"
                    square = driver.find_element(By.CSS_SELECTOR, f'{where} .day[data-date="2030-06-01"]')
                    check("金環日食" in square.text, f"at {width} px 2030-06-01's square is marked 金環日食")
                    others = [e.text for e in driver.find_elements(By.CSS_SELECTOR, f"{where} .mark.eclipse")]
                    check(others == ["金環日食", "部分月食"],
                          f"at {width} px June 2030 marks its two eclipses, 06-01 and 06-16 ({others})")
                    details = driver.find_element(By.ID, "details")
                    # The contacts' lines begin with an ideographic space, which .text leaves out.
                    lines = [p.text.lstrip("\u3000") for p in details.find_elements(By.CSS_SELECTOR, "p.eclipse")]
                    check(lines and lines[0] == f"金環日食　{place}では{seen}（食分 {local['magnitude']:.3f}）",
                          f"at {width} px the details say 金環日食, {place}では{seen} ({lines[:1]})")
                    for name, c in contacts.items():
                        shown = minutes(c["time"])
                        check(any(l.startswith(f"{name} {m}") for l in lines for m in shown),
                              f"at {width} px {place}'s {name} is {shown[-1]} as sorvane-cli gives it")
                    if place == "札幌":
                        check(any(l.startswith("食の始め 15:41") for l in lines),
                              f"at {width} px 札幌's first contact is 15:41 (published)")
                    if width < 500:
                        driver.execute_script("arguments[0].scrollIntoView({block: 'center'})", square)
                        shot(driver, f"eclipse-2030-06-{place}-{width}px-day.png")
                        driver.execute_script("arguments[0].scrollIntoView({block: 'start'})", details)
                    shot(driver, f"eclipse-2030-06-{place}-{width}px.png")
                    driver.find_element(By.ID, "tab-year").click()
                    box = driver.find_element(By.ID, "year-only")
                    box.clear()
                    box.send_keys("2030")
                    driver.execute_script("arguments[0].dispatchEvent(new Event('change'))", box)
                    waited(driver, lambda d: f"日食・月食（{place}）" in d.find_element(By.ID, "year-body").text
                           and "2030年" in d.find_element(By.ID, "year-body").text,
                           f"at {width} px the year view of 2030 lists the eclipses at {place}")
                    heads = [e.text for e in driver.find_elements(By.CSS_SELECTOR, "#year-body .eclipse-head")]
                    want = [f"6月1日　金環日食　{place}では{seen}", "6月16日　部分月食", "11月25日　皆既日食",
                            "12月10日　半影月食"]
                    check(len(heads) == 4 and all(h.startswith(w) for h, w in zip(heads, want)),
                          f"at {width} px the year view lists 2030's four eclipses for {place} ({heads})")
                    first = driver.find_element(By.CSS_SELECTOR, '#year-body .eclipse-year[data-date="2030-06-01"]')
                    driver.execute_script("arguments[0].scrollIntoView({block: 'start'})", first)
                    shot(driver, f"year-2030-{place}-{width}px.png")
                finally:
                    driver.quit()
    finally:
        server.shutdown()
        server.server_close()


def page_checks(args, shot):
    """The page for anyone: subscriptions, the search's range, print, 選日 and found days,
    the eclipses."""
    feed_checks(args, shot)
    find_range_checks(args, shot)
    print_checks(args)
    senjitsu_checks(args, shot)
    gedan_shio_checks(args, shot)
    message_checks(args)
    lunar_note_checks(args, shot)
    wording_checks(args, shot)
    eclipse_checks(args, shot)


def browser(width, height):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    # The last four keep Chromium from reaching for the network on its own (updates, sync,
    # the first-run page): on a machine without the internet those calls only wait.
    for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                f"--window-size={width},{height}", "--lang=ja", "--hide-scrollbars",
                "--disable-background-networking", "--disable-component-update",
                "--disable-sync", "--no-first-run"):
        options.add_argument(arg)
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    driver.set_script_timeout(120)
    return driver


def wait_ready(driver, timeout=60):
    WebDriverWait(driver, timeout).until(
        lambda d: d.execute_script("return document.body.dataset.ready === 'true'"))


def cell_text(driver, date):
    cells = driver.find_elements(By.CSS_SELECTOR, f'#grid .day[data-date="{date}"]')
    return cells[0].text if cells else ""


def native_json(cli, *args):
    out = subprocess.run([cli, *args], check=True, capture_output=True, cwd="/tmp").stdout
    return json.loads(out)


def api(driver, call):
    return driver.execute_async_script(
        "const done = arguments[arguments.length - 1];"
        f"{call}.then((v) => done({{ok: v}}), (e) => done({{error: String(e.message)}}));")


def cold_load(driver, base, url, settle=None):
    """Loads base + url as a first visit does: nothing in the HTTP cache, no service worker nor
    its cache; waits until the page is ready. settle, when given, is called just before the
    page is asked for."""
    driver.get("about:blank")
    driver.execute_cdp_cmd("Network.clearBrowserCache", {})
    driver.execute_cdp_cmd("Storage.clearDataForOrigin", {"origin": base.rstrip("/"), "storageTypes": "all"})
    if settle:
        settle()
    driver.get(base + url)
    wait_ready(driver)


def layout_shift(driver, site_base, width, height):
    """The cumulative layout shift of a first load of 2026-02 in a window of that size (390:
    an emulated phone), as Chromium's layout-shift entries add up without user input."""
    if width < 500:
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                               {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": True})
    driver.get("about:blank")
    driver.get(site_base + "#2026-02")
    wait_ready(driver)
    time.sleep(0.5)
    return driver.execute_async_script(
        "const done = arguments[arguments.length - 1]; let sum = 0;"
        "new PerformanceObserver((l) => { for (const e of l.getEntries()) if (!e.hadRecentInput) sum += e.value; })"
        ".observe({type: 'layout-shift', buffered: true}); setTimeout(() => done(sum), 300);")


def life_and_wareki(driver, cli, shot, suffix):
    """行事 and 和暦 as the page shows them against the terminal program's --life --json and
    --wareki --json: the dates and candidates of a plan, and each converted day's fields."""
    driver.find_element(By.ID, "tab-life").click()
    today = driver.execute_script(
        "const t = new Intl.DateTimeFormat('en-CA', {timeZone: 'Asia/Tokyo'}).format(new Date());"
        "return t;")
    for kind, date, sex in (("お宮参り", "2026-04-04", "男"), ("法要", "2026-02-01", "")):
        Select(driver.find_element(By.ID, "life-kind")).select_by_value(kind)
        driver.execute_script("document.getElementById('life-date').value = arguments[0];", date)
        if sex:
            Select(driver.find_element(By.ID, "life-sex")).select_by_value(sex)
        driver.execute_script("document.getElementById('life-result').textContent = '';")
        driver.find_element(By.ID, "life-go").click()
        WebDriverWait(driver, 60).until(
            lambda d: d.find_elements(By.CSS_SELECTOR, "#life-result .life-dates li")
            or d.find_element(By.ID, "life-status").text)
        native = native_json(cli, "--life", kind, "--date", date, *(["--sex", sex] if sex else []),
                             "--today", today, "--json")
        shown_dates = [a.get_attribute("href").split("#")[1] for a in driver.find_elements(
            By.CSS_SELECTOR, "#life-result > .life-dates li a")]
        shown_candidates = [a.get_attribute("href").split("#")[1] for a in driver.find_elements(
            By.CSS_SELECTOR, "#life-result .found li a")]
        check(shown_dates == [d["date"] for d in native["dates"] if "date" in d]
              and shown_candidates == [c["date"] for c in native["candidates"]],
              f"行事 {kind} {date}{suffix}: the page's dates and candidates are --life --json's "
              f"({len(shown_dates)} dates, {len(shown_candidates)} candidates)")
        shot(driver, f"life-{native['kind']}{suffix}.png")
    driver.find_element(By.ID, "tab-wareki").click()
    # Ten well-known days, as the window's test converts them too.
    for text, julian in (("元禄15年12月14日", False), ("天正10年6月2日", False), ("慶長5年9月15日", False),
                         ("安政7年3月3日", False), ("慶応3年11月15日", False), ("延元元年5月25日", False),
                         ("明暦3年1月18日", False), ("大化元年6月19日", False), ("1703-01-30", False),
                         ("1582-06-21", True)):
        box = driver.find_element(By.ID, "wareki-input")
        box.clear()
        box.send_keys(text)
        check_box = driver.find_element(By.ID, "wareki-julian")
        if check_box.is_selected() != julian:
            check_box.click()
        driver.execute_script("document.getElementById('wareki-result').textContent = '';")
        driver.find_element(By.ID, "wareki-go").click()
        WebDriverWait(driver, 30).until(lambda d: d.find_elements(By.CSS_SELECTOR, "table.wareki"))
        native = native_json(cli, "--wareki", text, *(["--julian"] if julian else []), "--json")
        cells = {r.find_element(By.TAG_NAME, "th").text: r.find_element(By.TAG_NAME, "td").text
                 for r in driver.find_elements(By.CSS_SELECTOR, "table.wareki tr")}
        check(cells.get("グレゴリオ暦", "").startswith(native["gregorian"])
              and cells.get("ユリウス暦", "").startswith(native["julian"])
              and cells.get("干支") == native["sexagenary"] and cells.get("六曜") == native["rokuyo"]
              and cells.get("和暦", "").split("　") == native["wareki"],
              f"和暦 {text}{suffix}: the page gives what --wareki --json gives ({native['gregorian']})")
    shot(driver, f"wareki{suffix}.png")
    box = driver.find_element(By.ID, "wareki-input")
    box.clear()
    box.send_keys("元禄15年閏12月14日")
    driver.find_element(By.ID, "wareki-go").click()
    WebDriverWait(driver, 30).until(lambda d: d.find_element(By.ID, "wareki-status").text)
    check("閏12月はありません" in driver.find_element(By.ID, "wareki-status").text,
          f"和暦{suffix}: a leap month the year did not have is refused in Japanese")


def viewport_fits(driver):
    return driver.execute_script(
        "return document.documentElement.scrollWidth <= window.innerWidth")


def test(args):
    os.makedirs(args.shots, exist_ok=True)
    shot = lambda d, name: (d.save_screenshot(os.path.join(args.shots, name)),
                            print("     screenshot " + os.path.join(args.shots, name)))
    server = serve(args.site)
    base = f"http://127.0.0.1:{server.server_address[1]}/"
    driver = browser(1400, 1000)
    try:
        driver.get(base + "#2026-02")
        wait_ready(driver)
        check("立春 05:02" in cell_text(driver, "2026-02-04"), "2026-02-04 shows 立春 05:02")
        check("旧正月" in cell_text(driver, "2026-02-17"), "2026-02-17 shows 旧正月")
        check("建国記念の日" in cell_text(driver, "2026-02-11"), "2026-02-11 shows 建国記念の日")
        check(len(driver.find_elements(By.CSS_SELECTOR, '#grid .day[data-date^="2026-02-"]')) == 28,
              "the grid has the 28 days of 2026-02")
        driver.find_element(By.CSS_SELECTOR, '#grid .day[data-date="2026-02-04"]').click()
        WebDriverWait(driver, 10).until(
            lambda d: "2026年2月4日" in d.find_element(By.ID, "details").text)
        shot(driver, "month-2026-02-desktop.png")

        # The module runs in the page's worker: the page's own thread never loads it.
        check(driver.execute_script("return typeof SorvaneModule") == "undefined",
              "the page's thread has no module of its own (it runs in worker.js)")
        # The module travels once: the page's first worker downloads and compiles it and gives
        # it to the page for its later workers, whose own fetch would download it a second
        # time. The service worker's copy
        # for use offline (registered once the module is ready) is fetched past the HTTP cache
        # (Cache-Control: no-cache), apart.
        driver.execute_async_script(
            "const done = arguments[arguments.length - 1];"
            "navigator.serviceWorker.ready.then(() => done(true));")
        downloads = [r for r in server.requests if r[0] == "/sorvane-cli.wasm" and "no-cache" not in r[1]]
        check(len(downloads) == 1, f"the first load downloads the module once ({len(downloads)} downloads)")

        # The footer names the version the native terminal program prints (both from the
        # project version).
        native_version = subprocess.run([args.cli, "--version"], check=True, capture_output=True,
                                        text=True).stdout.split()[-1]
        footer = driver.find_element(By.ID, "version").text
        check(footer == native_version, f"the footer's version {footer} is sorvane-cli's")

        # One core, one answer: the page's API against the native terminal program.
        calls = [
            ("sorvane.days(2026)", ["2026", "--days", "--json"]),
            ("sorvane.notes(2026)", ["2026", "--notes", "--json"]),
            ("sorvane.year(2026)", ["2026", "--json"]),
            ("sorvane.find('天赦日 一粒万倍日', '2026-01-01', '2026-12-31')",
             ["--find", "天赦日 一粒万倍日", "--from", "2026-01-01", "--to", "2026-12-31", "--json"]),
            ("sorvane.sun(2026, '札幌')", ["2026", "--sun", "--place", "札幌", "--json"]),
            ("sorvane.sun(2026, {lat: 26.2, lon: 127.68})",
             ["2026", "--sun", "--lat", "26.2", "--lon", "127.68", "--json"]),
            ("sorvane.days(-500)", ["-500", "--days", "--json"]),
        ]
        for call, cli_args in calls:
            got = api(driver, "window." + call)
            check(got.get("ok") == native_json(args.cli, *cli_args),
                  f"window.{call} equals sorvane-cli {' '.join(cli_args)}")
        got = api(driver, "window.sorvane.sun(2026, '月')")
        check("not a known place" in got.get("error", ""), "window.sorvane.sun with an unknown place rejects")

        # 日を探す: the count for 天赦日 一粒万倍日 in 2026.
        driver.find_element(By.ID, "tab-find").click()
        for field, value in (("find-from", "2026-01-01"), ("find-to", "2026-12-31")):
            driver.execute_script(
                "const e = document.getElementById(arguments[0]); e.value = arguments[1];"
                "e.dispatchEvent(new Event('input', {bubbles: true}));", field, value)
        box = driver.find_element(By.ID, "find-query")
        box.clear()
        box.send_keys("天赦日 一粒万倍日")
        WebDriverWait(driver, 60).until(
            lambda d: d.find_element(By.ID, "find-count").text.endswith(" 件")
            and "探して" not in d.find_element(By.ID, "find-count").text)
        check(driver.find_element(By.ID, "find-count").text == "該当 4 件",
              "日を探す counts 4 days for 天赦日 一粒万倍日 in 2026 (" +
              driver.find_element(By.ID, "find-count").text + ")")
        check(len(driver.find_elements(By.CSS_SELECTOR, "#find-list li")) == 4, "日を探す lists 4 days")
        shot(driver, "find-2026.png")
        # The check boxes write the query: 大安 and 土 as the terminal program counts them.
        box.clear()
        box.send_keys(" ")
        for group, name in (("find-rokuyo", "大安"), ("find-week", "土")):
            driver.find_element(By.CSS_SELECTOR, f'#{group} input[value="{name}"]').click()
        want = native_json(args.cli, "--find", "大安 土", "--from", "2026-01-01", "--to",
                           "2026-12-31", "--json")["count"]
        WebDriverWait(driver, 60).until(
            lambda d: d.find_element(By.ID, "find-count").text == f"該当 {want} 件")
        check(True, f"the check boxes 大安 and 土 find the {want} days sorvane-cli finds")
        for group, name in (("find-rokuyo", "大安"), ("find-week", "土")):
            driver.find_element(By.CSS_SELECTOR, f'#{group} input[value="{name}"]').click()
        box.clear()
        box.send_keys("天赦日 一粒万倍日")
        WebDriverWait(driver, 60).until(lambda d: d.find_element(By.ID, "find-count").text == "該当 4 件")
        driver.find_element(By.CSS_SELECTOR, "#find-list a").click()
        WebDriverWait(driver, 10).until(lambda d: "2026年3月5日" in d.find_element(By.ID, "details").text)
        check(not driver.find_element(By.ID, "view-month").get_attribute("hidden"),
              "a found day opens the month page on that day")

        # A place change: the details give 札幌's times (as sorvane-cli --sun --place 札幌).
        driver.get(base + "#2026-02-04")
        wait_ready(driver)
        Select(driver.find_element(By.ID, "place-select")).select_by_value("札幌")
        sapporo = native_json(args.cli, "2026", "--sun", "--place", "札幌", "--json")["days"][34]
        want = f"日の出 {sapporo['sunrise']}　日の入 {sapporo['sunset']}"
        WebDriverWait(driver, 10).until(lambda d: "札幌" in d.find_element(By.ID, "details").text)
        check(want in driver.find_element(By.ID, "details").text,
              f"the place 札幌 gives {want} on 2026-02-04")
        driver.find_element(By.ID, "notes-toggle").click()
        WebDriverWait(driver, 10).until(lambda d: "暦注" in d.find_element(By.ID, "details").text)
        check("危・軫・一白" in cell_text(driver, "2026-02-04"), "the 暦注 toggle adds the notes to the cells")
        shot(driver, "month-2026-02-notes-sapporo.png")
        driver.refresh()
        wait_ready(driver)
        check(driver.find_element(By.ID, "notes-toggle").is_selected(), "the 暦注 toggle is remembered")
        driver.find_element(By.ID, "notes-toggle").click()

        # Keyboard: Page Down turns the month, an arrow moves the day.
        driver.find_element(By.TAG_NAME, "body").send_keys("\ue00f")  # Page Down
        WebDriverWait(driver, 10).until(lambda d: d.current_url.endswith("#2026-03-04"))
        driver.find_element(By.TAG_NAME, "body").send_keys("\ue014")  # Arrow Right
        WebDriverWait(driver, 10).until(lambda d: d.current_url.endswith("#2026-03-05"))
        check(True, "Page Down and the arrow keys move the month and the day")

        # A year no int holds (WebAssembly would cut 4294969322 to 2026) or no whole number:
        # refused with the way to write it, the month shown left as it was.
        for typed in ("4294969322", "2026.5", "40000"):
            driver.execute_script(
                "const e = document.getElementById('year-input'); e.value = arguments[0];"
                "e.dispatchEvent(new Event('change'));", typed)
            WebDriverWait(driver, 10).until(
                lambda d: "年は -32768〜32767 の整数で" in d.find_element(By.ID, "status").text)
            check(driver.current_url.endswith("#2026-03-05") and
                  "3月" == driver.find_element(By.ID, "title-month").text,
                  f"the year {typed} is refused and 2026-03 stays shown")

        # The year view.
        driver.find_element(By.ID, "tab-year").click()
        WebDriverWait(driver, 20).until(lambda d: "立　春" in d.find_element(By.ID, "year-body").text)
        lines = [e["line"] for e in native_json(args.cli, "2026", "--json", "--precise")["events"]]
        shown = [td.get_attribute("textContent") for td in
                 driver.find_elements(By.CSS_SELECTOR, "#year-body .moments td.line")]
        check(shown == lines, "the year view shows the 28 lines of sorvane-cli 2026 --precise")
        check(len(driver.find_elements(By.CSS_SELECTOR, "#year-body .moments tr")) == 28,
              "the year view lists the 28 moments")
        shot(driver, "year-2026.png")

        # Addresses the page cannot read: dropped with a note, a month shown, never left
        # on 読み込み中….
        for hash_, month in (("%", None), ("40000-01", None), ("2026-02-30", "2026-02"),
                             ("2026-13", None), ("abc", None), ("%E3%81", None)):
            driver.get("about:blank")
            driver.get(base + "#" + hash_)
            wait_ready(driver, 30)
            notice = driver.find_element(By.ID, "notice").text
            days = driver.find_elements(By.CSS_SELECTOR, "#grid .day[data-date]")
            in_month = month is None or all(
                d.get_attribute("data-date").startswith(month) for d in days)
            check("アドレス" in notice and days and in_month and
                  driver.find_element(By.ID, "status").text != "読み込み中…" and
                  driver.find_element(By.ID, "details").text.strip() != "",
                  f"#{hash_} is dropped with a note and a month is shown ({notice[:60]!r})")
            if hash_ == "2026-02-30":
                shot(driver, "hash-2026-02-30.png")

        # Stored values the page cannot use: each dropped with a note, the page drawn.
        bad_values = (("place", "null"), ("place", '"' + "x" * 2000000 + '"'),
                      ("place", '{"lat": 100, "lon": 0}'), ("place", "not json"),
                      ("place", '"月"'), ("notes", '"yes"'), ("find", '{"query": 5}'),
                      ("find", '{"query": "大安", "from": "%"}'))
        for key, value in bad_values:
            driver.execute_script("localStorage.setItem(arguments[0], arguments[1])",
                                  "sorvane." + key, value)
            driver.get("about:blank")
            driver.get(base + "#2026-02-04")
            wait_ready(driver, 30)
            kept = driver.execute_script("return localStorage.getItem(arguments[0])", "sorvane." + key)
            check(kept is None and "保存されていた" in driver.find_element(By.ID, "notice").text and
                  "2026年2月4日" in driver.find_element(By.ID, "details").text,
                  f"a stored {key} of {value[:30]!r} is dropped with a note and the day is shown")
        check("東京" in driver.find_element(By.ID, "details").text,
              "after a bad stored place the details give 東京's times")
        driver.set_window_size(1366, 900)
        shot(driver, "stored-bad-values-1366px.png")
        driver.set_window_size(1400, 1000)

        # Over-long input: a 6 MB search text is refused in Japanese, the calendar-file button
        # too, and the next search and call answer as before.
        driver.find_element(By.ID, "tab-find").click()
        driver.execute_script(
            "const e = document.getElementById('find-query'); e.value = 'x'.repeat(6 * 1024 * 1024);"
            "e.dispatchEvent(new Event('input', {bubbles: true}));")
        WebDriverWait(driver, 60).until(
            lambda d: "長すぎます" in d.find_element(By.ID, "find-count").text)
        check(True, "a 6 MB search text is refused: " + driver.find_element(By.ID, "find-count").text)
        driver.find_element(By.ID, "find-ics").click()
        WebDriverWait(driver, 30).until(
            lambda d: "長すぎます" in d.find_element(By.ID, "find-notes").text)
        check(True, "the calendar-file button refuses the 6 MB text: " +
              driver.find_element(By.ID, "find-notes").text)
        for field, value in (("find-from", "2026-01-01"), ("find-to", "2026-12-31"),
                             ("find-query", "天赦日 一粒万倍日")):
            driver.execute_script(
                "const e = document.getElementById(arguments[0]); e.value = arguments[1];"
                "e.dispatchEvent(new Event('input', {bubbles: true}));", field, value)
        WebDriverWait(driver, 60).until(lambda d: d.find_element(By.ID, "find-count").text == "該当 4 件")
        check(True, "after the 6 MB text the search counts 4 days again")
        got = api(driver, "window.sorvane.run(['--find', 'x'.repeat(6 * 1024 * 1024), '--json'])")
        check(got.get("ok", {}).get("status") == 2, "window.sorvane.run with a 6 MB argument gives status 2")
        got = api(driver, "window.sorvane.year(2026)")
        check(got.get("ok") == native_json(args.cli, "2026", "--json"),
              "after it window.sorvane.year(2026) equals sorvane-cli 2026 --json")
        driver.execute_script("localStorage.removeItem('sorvane.find')")

        # A calendar file: made in a worker (the page's timers keep running meanwhile), the
        # same bytes as sorvane-cli writes (the DTSTAMP, the clock, set aside).
        driver.find_element(By.ID, "tab-files").click()
        driver.execute_script(
            "window.__blobs = []; const make = URL.createObjectURL;"
            "URL.createObjectURL = (b) => { window.__blobs.push(b); return make(b); };"
            "window.__ticks = 0; window.__ticker = setInterval(() => {"
            " if (/書き出しています/.test(document.getElementById('files-status').textContent)) window.__ticks++; }, 20);"
            "for (const [id, v] of [['feed-from', '2000'], ['feed-to', '2100']]) document.getElementById(id).value = v;")
        driver.find_element(By.CSS_SELECTOR, '[data-feed="rokuyo"]').click()
        WebDriverWait(driver, 180).until(
            lambda d: "保存しました" in d.find_element(By.ID, "files-status").text or
            "書き出しています" not in d.find_element(By.ID, "files-status").text)
        got = driver.execute_async_script(
            "const done = arguments[arguments.length - 1]; clearInterval(window.__ticker);"
            "const b = window.__blobs[window.__blobs.length - 1];"
            "(b ? b.text() : Promise.resolve('')).then((t) => done({text: t, ticks: window.__ticks}));")
        want = subprocess.run([args.cli, "--feed", "rokuyo", "--from", "2000", "--to", "2100"],
                              check=True, capture_output=True, cwd="/tmp").stdout.decode()
        mask = lambda t: re.sub(r"^DTSTAMP:[0-9TZ]+\r$", "DTSTAMP:*\r", t, flags=re.M)
        check(mask(got["text"]) == mask(want) and len(want) > 1000000,
              f"the 六曜 feed 2000..2100 is sorvane-cli's {len(want)} bytes "
              f"({driver.find_element(By.ID, 'files-status').text})")
        check(got["ticks"] >= 3, f"the page's timers ran while the file was made ({got['ticks']} ticks)")

        life_and_wareki(driver, args.cli, shot, "")

        # Print: the month alone on one A4 landscape page (841.92 x 594.96 pt).
        driver.get(base + "#2026-03")
        wait_ready(driver)
        pdf = base64.b64decode(driver.execute_cdp_cmd(
            "Page.printToPDF", {"preferCSSPageSize": True, "printBackground": True})["data"])
        with open(os.path.join(args.shots, "month-2026-03-print.pdf"), "wb") as f:
            f.write(pdf)
        pages = re.findall(rb"/Type\s*/Page[^s]", pdf)
        boxes = set(re.findall(rb"/MediaBox\s*\[([^\]]*)\]", pdf))
        a4 = lambda box: [round(float(v)) for v in box.split()[2:4]] == [842, 595]
        check(len(pages) == 1 and boxes and all(a4(b) for b in boxes),
              f"the month prints on one A4 landscape page ({len(pages)} page(s), {boxes})")

        # The buttons keep the focus, so that Enter turns the page again; the keys take it to
        # the selected day, and the arrows move it from day to day.
        driver.get(base + "#2026-02-10")
        wait_ready(driver)
        title = lambda d: d.find_element(By.ID, "title-month").text
        focused = "const e = document.activeElement; return e.id || e.dataset.date || e.tagName;"
        steps = (("a click on 次の月", lambda: driver.find_element(By.ID, "next-month").click(), "3月", "next-month"),
                 ("Enter on 次の月", lambda: driver.switch_to.active_element.send_keys(Keys.ENTER), "4月", "next-month"),
                 ("PageDown", lambda: driver.switch_to.active_element.send_keys(Keys.PAGE_DOWN), "5月", "2026-05-10"),
                 ("ArrowRight", lambda: driver.switch_to.active_element.send_keys(Keys.ARROW_RIGHT), "5月", "2026-05-11"),
                 ("Shift+PageUp", lambda: driver.switch_to.active_element.send_keys(Keys.SHIFT, Keys.PAGE_UP), "5月", "2025-05-11"))
        for what, act, month, where in steps:
            act()
            try:
                WebDriverWait(driver, 10).until(lambda d: title(d) == month and d.execute_script(focused) == where)
            except TimeoutException:
                pass  # reported below
            check(title(driver) == month and driver.execute_script(focused) == where,
                  f"after {what}: {title(driver)}, the focus on {driver.execute_script(focused)} (expected {month}, {where})")
        check(driver.execute_script("return location.hash") == "#2025-05-11",
              f"the address follows the keys ({driver.execute_script('return location.hash')})")

        # Offline: the service worker keeps the site after the first visit.
        kept_by_worker(driver, base + "#2026-02")
        check(driver.execute_script("return !!navigator.serviceWorker.controller"),
              "the service worker controls the page")
    finally:
        server.shutdown()
        server.server_close()
    try:
        driver.get(base + "#2026-02-17")
        wait_ready(driver, 30)
        check("旧正月" in cell_text(driver, "2026-02-17"), "without the server the site shows 2026-02")
        shot(driver, "month-2026-02-offline.png")
        driver.find_element(By.ID, "next-month").click()
        WebDriverWait(driver, 10).until(lambda d: "春分" in cell_text(d, "2026-03-20"))
        check(True, "without the server the next month is computed (春分 on 2026-03-20)")
    except Exception as e:  # noqa: BLE001 - reported as a failure
        check(False, f"without the server the site loads ({e.__class__.__name__})")
    finally:
        driver.quit()

    # Phones: 390 px wide, nothing to scroll sideways.
    server = serve(args.site)
    base = f"http://127.0.0.1:{server.server_address[1]}/"
    phone = browser(500, 900)
    # Headless Chromium's windows are at least 500 px wide: the phone's screen is emulated.
    phone.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                          {"width": 390, "height": 844, "deviceScaleFactor": 1, "mobile": True})
    try:
        phone.get(base + "#2026-02-11")
        wait_ready(phone)
        width = phone.execute_script("return window.innerWidth")
        check(width <= 400, f"the phone window is {width} px wide")
        check(viewport_fits(phone), "at 390 px nothing scrolls sideways")
        check("建国記念の日" in phone.find_element(By.ID, "daylist").text, "at 390 px the day list shows the holiday")
        shot(phone, "month-2026-02-390px.png")
        phone.get("about:blank")
        phone.get(base + "#" + "9" * 300)
        wait_ready(phone)
        check("アドレス" in phone.find_element(By.ID, "notice").text and viewport_fits(phone),
              "at 390 px the note on a long bad address does not scroll sideways")
        shot(phone, "hash-bad-390px.png")
        for tab in ("tab-year", "tab-find", "tab-life", "tab-wareki", "tab-files"):
            phone.find_element(By.ID, tab).click()
            time.sleep(0.5)
            check(viewport_fits(phone), f"at 390 px {tab[4:]} does not scroll sideways")
        life_and_wareki(phone, args.cli, shot, "-390px")
        check(viewport_fits(phone), "at 390 px 行事 and 和暦 with their answers do not scroll sideways")
    finally:
        phone.quit()
        server.shutdown()
        server.server_close()

    # The first month drawn moves nothing already shown (the status line, the grid's rows and
    # the install button keep their room): a layout shift under 0.1, the threshold web.dev
    # calls good (https://web.dev/articles/cls).
    for width, height in ((1366, 900), (390, 844)):
        server = serve(args.site)
        driver = browser(max(width, 500), height)
        try:
            shift = layout_shift(driver, f"http://127.0.0.1:{server.server_address[1]}/", width, height)
            check(shift <= 0.1, f"at {width} px the first month shifts the layout by {shift:.3f}")
        finally:
            driver.quit()
            server.shutdown()
            server.server_close()

    app_checks(args)
    made_ahead_checks(args)
    page_checks(args, shot)

    if failures:
        print(f"browser test: {len(failures)} check(s) failed")
        return 1
    print("browser test: every check passed")
    return 0


# Put before worker.js by the bench's server while it slows the CPU: DevTools slows only the
# page's own thread (Emulation.setCPUThrottlingRate answers "only supported for pages, not
# workers" for a worker), so the worker slows itself as much, spinning (rate - 1) times as long
# as each step took: loading the module's script, making the module, each call.
WORKER_SLOWDOWN = """(() => {
  const rate = RATE;
  const spin = (t) => { const end = performance.now() + (rate - 1) * (performance.now() - t); while (performance.now() < end) {} };
  const slowed = (f) => function (...a) { const t = performance.now(); try { return f.apply(this, a); } finally { spin(t); } };
  const load = self.importScripts;
  self.importScripts = (...urls) => {
    const t = performance.now();
    load(...urls);
    spin(t);
    const make = self.SorvaneModule;
    self.SorvaneModule = (...a) => {
      const t0 = performance.now();
      return make(...a).then((m) => {
        spin(t0);
        for (const k of ['pageCall', 'runCli', '_sorvane_page_new']) m[k] = slowed(m[k]);
        return m;
      });
    };
  };
})();
"""


class Compressed(Handler):
    """Serves as a web host does: the page's text and WebAssembly gzip-compressed for a browser
    that accepts it (the figures of a load then count the bytes that travel). While
    slowdown[0] > 1, worker.js comes after WORKER_SLOWDOWN of that rate. sent lists (when the
    last byte was written, seconds since the epoch; the bytes) of each answer, whether the page
    or one of its workers asked."""
    kinds = (".html", ".js", ".css", ".wasm", ".json", ".svg", ".webmanifest", ".ics")
    packed = {}
    slowdown = [1]
    sent = []
    busy = [0, 0.0]  # answers being written; when the last one ended (seconds since the epoch)
    lock = threading.Lock()

    def do_GET(self):  # noqa: N802 - the name http.server calls
        with self.lock:
            self.busy[0] += 1
        try:
            self.answer()
        finally:
            with self.lock:
                self.busy[0] -= 1
                self.busy[1] = time.time()

    @classmethod
    def quiet(cls, seconds=0.3, timeout=10):
        """Waits until no answer has been written for `seconds` (at most timeout)."""
        end = time.time() + timeout
        while time.time() < end:
            with cls.lock:
                if cls.busy[0] == 0 and time.time() - cls.busy[1] >= seconds:
                    return
            time.sleep(0.05)

    def copyfile(self, source, outputfile):  # the files served as they are
        super().copyfile(source, outputfile)
        self.sent.append((time.time(), os.fstat(source.fileno()).st_size))

    def answer(self):  # do_GET, counted
        path = self.translate_path(self.path)
        if path.endswith("/worker.js") and self.slowdown[0] > 1 and os.path.isfile(path):
            with open(path, "rb") as f:
                body = WORKER_SLOWDOWN.replace("RATE", str(self.slowdown[0])).encode() + f.read()
            self.send_response(200)
            self.send_header("Content-Type", "text/javascript")
            self.send_header("Content-Length", str(len(body)))
            self.send_header("Cache-Control", "no-store")
            self.end_headers()
            self.wfile.write(body)
            self.sent.append((time.time(), len(body)))
            return
        if (os.path.isfile(path) and path.endswith(self.kinds) or os.path.isdir(path)) and \
                "gzip" in self.headers.get("Accept-Encoding", ""):
            if os.path.isdir(path):
                path = os.path.join(path, "index.html")
            key = (path, os.stat(path).st_mtime_ns)
            if key not in self.packed:
                with open(path, "rb") as f:
                    self.packed[key] = gzip.compress(f.read(), 9)
            body = self.packed[key]
            self.send_response(200)
            self.send_header("Content-Type", self.guess_type(path))
            self.send_header("Content-Encoding", "gzip")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            try:
                self.wfile.write(body)
                self.sent.append((time.time(), len(body)))
            except (BrokenPipeError, ConnectionResetError):
                pass  # the browser dropped a request it no longer needed (a load cleared)
            return
        super().do_GET()


def snippet(details):
    """The HTML of the first element a Lighthouse audit's details name, or ''."""
    if isinstance(details, dict):
        if isinstance(details.get("snippet"), str):
            return details["snippet"]
        details = list(details.values())
    if isinstance(details, list):
        for d in details:
            found = snippet(d)
            if found:
                return found
    return ""


def lighthouse(cli, url, runs):
    """Lighthouse's mobile preset (its default: a mid-range phone, slow 4G and the CPU four
    times slower, simulated) on url, `runs` times: each run's performance score, LCP (ms), TBT
    (ms) and CLS; or the error that stopped the runs."""
    results = []
    for _ in range(runs):
        done = subprocess.run(
            ["node", cli, url, "--only-categories=performance", "--output=json",
             "--output-path=stdout", "--quiet", "--max-wait-for-load=90000",
             "--chrome-flags=--headless=new --no-sandbox --disable-gpu --disable-dev-shm-usage"
             " --disable-background-networking --disable-component-update --no-first-run"],
            capture_output=True, timeout=300, env={**os.environ, "CHROME_PATH": "/usr/bin/chromium"})
        try:
            report = json.loads(done.stdout)
        except ValueError:
            return f"Lighthouse gave no report (status {done.returncode}): {done.stderr.decode()[-300:]}"
        if report.get("runtimeError"):
            return f"Lighthouse failed: {report['runtimeError'].get('message')}"
        audits = report["audits"]
        results.append({
            "score": round(100 * (report["categories"]["performance"]["score"] or 0)),
            "lcp": audits["largest-contentful-paint"]["numericValue"],
            "tbt": audits["total-blocking-time"]["numericValue"],
            "cls": audits["cumulative-layout-shift"]["numericValue"],
            "lcpElement": snippet(audits.get("largest-contentful-paint-element", {}).get("details")),
        })
    return results


def site_size(site, feeds):
    """The site's bytes as each file gzip -9 compresses: its top folder (the page's files), and
    with feeds also the subscription feeds below it."""
    total = 0
    for folder, _, names in os.walk(site):
        if folder != site and not feeds:
            continue
        for name in names:
            with open(os.path.join(folder, name), "rb") as f:
                total += len(gzip.compress(f.read(), 9))
    return total


def one_month(site):
    """The gzip -9 bytes of 2026-02's file of the documents made ahead, or 0 without it."""
    path = os.path.join(site, "pages", "2026-02.json")
    if not os.path.isfile(path):
        return 0
    with open(path, "rb") as f:
        return len(gzip.compress(f.read(), 9))


def bench_site(site, lighthouse_cli):
    """The bench's figures of the site in folder `site`, each load cold: a dict that
    bench_report prints."""
    server = http.server.ThreadingHTTPServer(
        ("127.0.0.1", 0), functools.partial(Compressed, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    base = f"http://127.0.0.1:{server.server_address[1]}/"
    driver = browser(1400, 1000)
    heading = ("const heading = () => { const h = document.querySelector('#details h2');"
               " return document.getElementById('title-month').textContent +"
               " document.getElementById('title-year').textContent + '|' + (h ? h.textContent : ''); };")

    def measure(rate, loads):
        """First month (cold, each of `loads` after the cache is cleared) and six month
        switches, with the CPU slowed `rate` times (CDP Emulation.setCPUThrottlingRate). A
        switch lasts from the click until the new month's title and its day's details are
        shown, the first three clicked at once after the load, the last three after a second
        of reading. Also where the first load's time went (the worker's own timings)."""
        driver.execute_cdp_cmd("Emulation.setCPUThrottlingRate", {"rate": rate})
        Compressed.slowdown[0] = rate
        got = {"firsts": [], "switches": [], "parts": None, "computed": [], "made": [],
               "fetched": [], "fetched_computed": []}

        def cold(month):
            # What the load before still fetches (its service worker's copy for use offline)
            # is over before the count starts.
            def settle():
                Compressed.quiet()
                Compressed.sent.clear()
            cold_load(driver, base, "#" + month, settle)
            # performance.now() counts from the navigation's start; fetched is the bytes (as
            # they travelled, compressed) of every file the server had sent before the first
            # month, to the page or to its workers (whose downloads the page's own timings do
            # not list): the server's clock against the page's, on the same machine.
            times = driver.execute_script(
                "const t = window.sorvaneTimes; t.drawn = performance.timeOrigin + t.firstMonth; return t;")
            times["fetched"] = sum(size for at, size in Compressed.sent if at * 1000 <= times["drawn"])
            return times

        for _ in range(loads):
            # A month well after the years made ahead, which only the module can give.
            times = cold("2040-02")
            got["computed"].append(times["firstMonth"])
            got["fetched_computed"].append(times["fetched"])
            got["parts"] = got["parts"] or times
        for _ in range(loads):
            times = cold("2026-02")
            got["firsts"].append(times["firstMonth"])
            got["fetched"].append(times["fetched"])
            got["made"].append(bool(times.get("madeAhead")))
        for step in range(6):
            if step >= 3:
                time.sleep(1)
            got["switches"].append(driver.execute_async_script(
                "const done = arguments[arguments.length - 1];" + heading +
                "const before = heading().split('|'); const t = performance.now();"
                "document.getElementById(arguments[0]).click();"
                "const poll = () => { const now = heading().split('|');"
                " if (now[0] !== before[0] && now[1] !== before[1] && now[1] !== '') done(performance.now() - t);"
                " else setTimeout(poll, 1); };"
                "poll();", "next-month" if step < 3 else "next-year"))
        driver.execute_cdp_cmd("Emulation.setCPUThrottlingRate", {"rate": 1})
        Compressed.slowdown[0] = 1
        return got

    try:
        normal = measure(1, 3)
        slow = measure(4, 2)
        shifts = [layout_shift(driver, base, 1366, 900)]
        phone = browser(500, 844)
        try:
            shifts.append(layout_shift(phone, base, 390, 844))
        finally:
            phone.quit()
        audits = lighthouse(lighthouse_cli, base, 3) if lighthouse_cli else []
    finally:
        driver.quit()
        server.shutdown()
        server.server_close()
    # The 2026-02 loads' source and bytes from both rates; the rest of each rate apart.
    return {**normal, "made": normal["made"] + slow["made"], "fetched": normal["fetched"] + slow["fetched"],
            "fetched_computed": normal["fetched_computed"] + slow["fetched_computed"],
            "slow_firsts": slow["firsts"], "slow_switches": slow["switches"], "slow_parts": slow["parts"],
            "slow_computed": slow["computed"], "shifts": shifts, "audits": audits,
            "page": site_size(site, False), "everything": site_size(site, True), "one_month": one_month(site)}


def bench_report(f):
    """Prints bench_site's figures, each beside its target."""
    firsts, switches, parts = f["firsts"], f["switches"], f["parts"]
    slow_firsts, slow_switches, slow_parts = f["slow_firsts"], f["slow_switches"], f["slow_parts"]
    shifts, audits, page, everything = f["shifts"], f["audits"], f["page"], f["everything"]
    met = lambda ok: "met" if ok else "not met"
    ms = lambda values: ", ".join(f"{t:.0f}" for t in values)

    def breakdown(times):
        if not times or not times.get("startup"):
            return "(the page gave no timings)"
        s = times["startup"]
        return (f"worker script {s['script']:.0f} ms after navigation, module fetched and compiled"
                f" in {s['module']:.0f} ms, tables {s['tables']:.0f} ms"
                + (f", the month opened on computed ahead in {s['warm']:.0f} ms" if s.get("warm") else "")
                + f"; the core's calls up to the first month {ms(times.get('calls', []))} ms")
    made = f["made"]
    source = ("drawn from the documents made ahead" if made and all(made) else
              "computed by the module" if not any(made) else f"made ahead in {sum(made)} of {len(made)} loads")
    print(f"first month (2026-02) in the DOM after navigation: {ms(firsts)} ms ({source})")
    print(f"month switch (3 months at once, then 3 years after a second each): {ms(switches)} ms")
    print(f"first month outside the years made ahead (2040-02, computed by the module): {ms(f['computed'])} ms")
    print(f"  where it went: {breakdown(parts)}")
    print(f"at CPU x4: first month {ms(slow_firsts)} ms (target 1000 ms, {met(max(slow_firsts) <= 1000)});"
          f" month switch {ms(slow_switches)} ms (target 50 ms, {met(max(slow_switches) <= 50)})")
    print(f"  at CPU x4, 2040-02 from the module: {ms(f['slow_computed'])} ms"
          f" (target 1000 ms, {met(max(f['slow_computed']) <= 1000)}); where it went: {breakdown(slow_parts)}")
    print(f"site: {page / 1024:.0f} KB gzip, the page's files (each file gzip -9; target 600 KB,"
          f" {met(page <= 600 * 1024)}); {everything / 1024:.0f} KB with the subscription feeds"
          + (f" and the documents made ahead (one month's file: {f['one_month'] / 1024:.1f} KB)"
             if f.get("one_month") else ""))
    kb = lambda values: f"{max(values) / 1024:.0f} KB" if values else "?"
    print(f"fetched before the first month (compressed, the most of each load's): 2026-02 {kb(f['fetched'])},"
          f" 2040-02 {kb(f['fetched_computed'])}")
    print(f"layout shift of the first month: {shifts[0]:.3f} at 1366 px, {shifts[1]:.3f} at 390 px"
          f" (target 0.1, {met(max(shifts) <= 0.1)})")
    if isinstance(audits, str):
        print(audits)
    elif audits:
        median = lambda key: sorted(a[key] for a in audits)[len(audits) // 2]
        print("Lighthouse mobile (median of "
              f"{len(audits)}; each: {', '.join(str(a['score']) for a in audits)}): performance"
              f" {median('score')} (target 90, {met(median('score') >= 90)}), LCP {median('lcp') / 1000:.1f} s"
              f" (target 2.5 s, {met(median('lcp') <= 2500)}), TBT {median('tbt'):.0f} ms (target 200 ms,"
              f" {met(median('tbt') <= 200)}), CLS {median('cls'):.3f} (target 0.1, {met(median('cls') <= 0.1)})")
        if audits[0]["lcpElement"]:
            print(f"  the largest paint of the first run: {audits[0]['lcpElement'][:120]}")


def bench(args):
    """The bench of args.site; with args.beside, the same figures of that other site (an
    earlier build) first, in the same run, so that both are measured under one load."""
    if args.beside:
        before = bench_site(args.beside, args.lighthouse)
        print(f"--- beside: the site in {args.beside}")
        bench_report(before)
        print(f"--- this site: {args.site}")
    bench_report(bench_site(args.site, args.lighthouse))
    print(f"load: {open('/proc/loadavg').read().strip()}")
    return 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--site", required=True)
    parser.add_argument("--cli")
    parser.add_argument("--shots", default="screenshots")
    parser.add_argument("--bench", action="store_true")
    parser.add_argument("--lighthouse", help="Lighthouse's cli/index.js, for --bench")
    parser.add_argument("--beside", help="for --bench: an earlier build's site, measured in the same run")
    parser.add_argument("--only", choices=["page"], help="only the checks of the page's usability")
    args = parser.parse_args()
    if args.cli:
        args.cli = os.path.abspath(args.cli)
    if args.bench:
        return bench(args)
    if not args.cli:
        parser.error("--cli is needed for the test")
    if args.only == "page":
        os.makedirs(args.shots, exist_ok=True)
        page_checks(args, lambda d, name: (d.save_screenshot(os.path.join(args.shots, name)),
                                           print("     screenshot " + os.path.join(args.shots, name))))
        print(f"browser test: {len(failures)} check(s) failed" if failures else "browser test: every check passed")
        return 1 if failures else 0
    return test(args)


if __name__ == "__main__":
    sys.exit(main())
