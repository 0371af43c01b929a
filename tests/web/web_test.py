#!/usr/bin/env python3
"""The web build end to end: the page served as static files and opened in a real headless
Chromium (SwiftShader's GL), driven over the DevTools protocol with a fixed seed. It checks that
the game starts and draws the scene and the heads-up line, pauses and resumes, inspects a ship
by a click, keeps a saved pool across a page reload, captures a frame identical to the screen,
meets the evolved aliens and watches evolution by the page's buttons,
shows a bad params.ini's problems on the page, and ends with q writing the statistics' closing
line, without a script error. Every check waits for the state it tests.
Usage: web_test.py <site folder>; exit status 77 (skipped) when the site was not built."""
import functools
import http.server
import os
import re
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import cdp  # noqa: E402
import pictures  # noqa: E402

DEADLINE = 120
WIDTH, HEIGHT = 800, 600  # the shipped window
PAUSED = (240, 170, 30)
failures = []


def check(what, ok):
    print(('ok: ' if ok else 'FAIL: ') + what, flush=True)
    if not ok:
        failures.append(what)
    return ok


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve(folder):
    """The folder as a static web site on a free port of this machine."""
    handler = functools.partial(QuietHandler, directory=folder)
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


class Page:
    def __init__(self, browser, url):
        self.b, self.url = browser, url

    def said(self, pattern, since=0):
        return any(re.search(pattern, text) for _, text in self.b.console[since:])

    def wait_said(self, pattern, since=0):
        return self.b.wait_for(lambda: self.said(pattern, since), DEADLINE)

    def open(self):
        since = len(self.b.console)
        self.b.navigate(self.url)
        return self.wait_said('^Statistics (go to|will not be saved)', since)

    def canvas_box(self):
        box = self.b.evaluate('(() => { const r = Module.canvas.getBoundingClientRect(); return [r.left, r.top]; })()')
        return box[0], box[1]

    def shot(self, left=0, top=0, width=WIDTH, height=HEIGHT):
        """A box of the canvas as the page shows it, as PNG bytes: alike pictures, alike bytes."""
        x, y = self.canvas_box()
        return self.b.screenshot(x + left, y + top, width, height)

    def picture(self, left=0, top=0, width=WIDTH, height=HEIGHT):
        """A box of the canvas as the page shows it, rows of (r, g, b)."""
        return pictures.png_pixels(self.shot(left, top, width, height))

    def key(self, name):
        keys = {'p': ('p', 'KeyP', 80), 'g': ('g', 'KeyG', 71), 's': ('s', 'KeyS', 83), 'l': ('l', 'KeyL', 76),
                'q': ('q', 'KeyQ', 81), 'C': ('C', 'KeyC', 67), 'F1': ('F1', 'F1', 112)}
        key, code, key_code = keys[name]
        self.b.key(key, code, key_code, None if name == 'F1' else key, shift=name == 'C')


def changes(page, *box):
    """Two pictures of the box (the whole canvas if none) half a second apart differ."""
    first = page.shot(*box)
    page.b.pump(0.5)
    return first != page.shot(*box)


def redraws(page):
    """The game shows a new picture within a second."""
    before = page.b.evaluate('Module._korvaneFramesShown()')
    page.b.pump(1.0)
    return page.b.evaluate('Module._korvaneFramesShown()') != before


def world_moves(page):
    return changes(page, 0, 30, WIDTH, 400)


def bright(pixel):
    return min(pixel) > 120


def red_ship(rows):
    """The middle of the first deep-red ship below the heads-up line, or None."""
    for y in range(30, 430):
        for x in range(WIDTH):
            r, g, b = rows[y][x]
            if r > 100 and g < 0.3 * r and b < 0.3 * r:
                box = pictures.crop(rows, max(0, x - 16), y, 32, 24)
                if pictures.count(box, lambda p: p[0] > 100 and p[1] < 0.3 * p[0] and p[2] < 0.3 * p[0]) > 40:
                    return x, y + 10
    return None


def play(page, downloads):
    b = page.b
    check('the page starts the game', page.open())

    def scene_drawn():
        rows = page.picture(0, 30, WIDTH, 500)
        ships = pictures.count(rows, lambda p: (p[1] > 120 and p[1] > p[0] + 40 and p[1] > p[2] + 20) or
                               (p[0] > 120 and p[0] > p[1] + 40 and p[0] > p[2] + 40))
        return len({p for row in rows for p in row}) > 200 and ships > 50
    check('it draws the background and the ships', b.wait_for(scene_drawn, DEADLINE))
    check('and the heads-up line on its dark strip',
          pictures.count(page.picture(0, 0, WIDTH, 20), bright) > 40)

    page.key('p')
    check('p pauses: the PAUSED badge shows', b.wait_for(
        lambda: pictures.count(page.picture(0, 0, WIDTH, 20), lambda p: p == PAUSED) > 100, DEADLINE))
    check('and the world stands still', b.wait_for(lambda: not world_moves(page), DEADLINE))
    page.key('p')
    check('p again resumes it', b.wait_for(lambda: world_moves(page), DEADLINE))

    # A ship is found in a picture of the paused world, where a click then lands.
    page.key('p')
    ship = None
    for _ in range(20):
        b.wait_for(lambda: not world_moves(page), DEADLINE)
        ship = red_ship(page.picture())
        if ship:
            break
        page.key('p')
        b.wait_for(lambda: world_moves(page), DEADLINE)
        page.key('p')
    left, top = page.canvas_box()
    since = len(b.console)
    if check('a red ship shows in the paused world', ship is not None):
        b.click(left + ship[0], top + ship[1])
        check('a click on it inspects it', page.wait_said(r'^Inspecting red alien \d+$', since))

    # The help page seen, the heads-up line no longer offers its key; once the messages have
    # faded, the paused game draws no more.
    page.key('F1')
    page.key('F1')
    check('the paused game stops drawing once the messages have faded', b.wait_for(lambda: not redraws(page), DEADLINE))
    screen = page.picture()
    page.key('C')
    frame = os.path.join(downloads, 'frame    0.bmp')
    check('C hands the frame over as a download', b.wait_for(lambda: os.path.exists(frame) and
                                                            os.path.getsize(frame) == 54 + WIDTH * 3 * HEIGHT,
                                                            DEADLINE))
    if os.path.exists(frame):
        with open(frame, 'rb') as f:
            captured = pictures.bmp_pixels(f.read())
        differing = [(x, y) for y in range(HEIGHT) for x in range(WIDTH) if captured[y][x] != screen[y][x]]
        where = f', from {min(differing)} to {max(differing)}' if differing else ''
        check(f'the captured frame is the screen ({len(differing)} pixels differ{where})', not differing)

    since = len(b.console)
    stores = b.evaluate('Module.korvaneStores || 0')
    page.key('s')
    check('s saves the green pool', page.wait_said(r'done\.$', since) and not page.said('Cannot save', since))
    check('the browser has stored it', b.wait_for(lambda: b.evaluate('Module.korvaneStores || 0') > stores, DEADLINE)
          and 'GreenAliens_saved.txt' in b.evaluate("FS.readdir('/keep')"))
    first_stats = b.evaluate("FS.readdir('/game').filter(n => n.startsWith('KVN_STAT__'))")
    check('the page reloads and the game starts again', page.open())
    closed = b.evaluate(f"FS.readFile('/keep/{first_stats[-1]}', {{encoding: 'utf8'}})") if first_stats else ''
    check('leaving the page wrote the statistics\' closing line, kept for the next visit',
          re.search(r'\n\n\n\nOverall number of dead:\d+\n$', closed) is not None)
    since = len(b.console)
    page.key('l')
    check('l loads the pool saved before the reload',
          page.wait_said(r'done\.$|Cannot load', since) and not page.said('Cannot load', since))

    watching(page)

    since = len(b.console)
    page.key('q')
    b.pump(0.5)
    check('one q leaves the game running', b.evaluate("getComputedStyle(document.getElementById('ended')).display") == 'none')
    page.key('q')
    check('a second q ends the game and the page says so', b.wait_for(
        lambda: b.evaluate("getComputedStyle(document.getElementById('ended')).display") == 'block', DEADLINE))
    stats = b.evaluate("FS.readdir('/game').filter(n => n.startsWith('KVN_STAT__')).sort()")
    closing = b.evaluate(f"FS.readFile('/game/{stats[-1]}', {{encoding: 'utf8'}})") if stats else ''
    check('the statistics file ends with its closing line',
          re.search(r'\n\n\n\nOverall number of dead:\d+\n$', closing) is not None)
    check('and it is kept in the browser too', bool(stats) and stats[-1] in b.evaluate("FS.readdir('/keep')"))


def stats_lines(b):
    """The data lines of this visit's statistics file so far."""
    name = b.evaluate("FS.readdir('/game').filter(n => n.startsWith('KVN_STAT__')).sort().pop() || ''")
    text = b.evaluate(f"FS.readFile('/game/{name}', {{encoding: 'utf8'}})") if name else ''
    return len([line for line in text.split('\n') if re.match(r'^[0-9.]+\t', line)])


def watching(page):
    """The page's buttons for watching evolution (w) and for evolved aliens (e)."""
    b = page.b
    since = len(b.console)
    b.evaluate("document.querySelector('#commands [data-command=evolved]').click()")
    check('"Meet evolved aliens" loads both shipped pools', b.wait_for(
        lambda: sum(1 for _, text in b.console[since:] if text.startswith('Loading... ')) >= 2, DEADLINE)
          and not page.said('Cannot load', since))
    lines = stats_lines(b)
    b.evaluate("document.querySelector('#commands [data-command=watch]').click()")
    # Ten game minutes of statistics lines come within the deadline only in fast mode.
    check('"Watch evolution" runs the world fast with the graph',
          b.wait_for(lambda: stats_lines(b) >= lines + 20, DEADLINE))
    b.evaluate("document.querySelector('#commands [data-command=watch]').click()")


def bad_params(page, folder):
    b = page.b
    bad = os.path.join(folder, 'params.ini')
    with open(os.path.join(os.path.dirname(__file__), '..', '..', 'params.ini')) as f:
        text = re.sub(r'(?m)^Alien_Mass .*$', 'Alien_Mass 0', f.read())
    with open(bad, 'w') as f:
        f.write(text)
    b.choose_file('#params', bad)
    check('a params.ini chosen on the page with a broken value shows why, on the page', b.wait_for(
        lambda: 'Alien_Mass = 0 must be positive' in (b.evaluate("document.getElementById('problems').textContent")
                                                     or ''), DEADLINE))
    since = len(b.console)
    b.evaluate("document.getElementById('shipped').click()")
    check('the shipped params.ini brings the game back', page.wait_said('^Statistics (go to|will not be saved)', since))


def main():
    site = os.path.abspath(sys.argv[1])
    if not os.path.exists(os.path.join(site, 'korvane.js')):
        print('the web build is not there (make web builds it): skipped')
        return 77
    server = serve(site)
    # As wide as the picture and tall enough for the whole page: the canvas fits the page's width
    # without a scroll bar, and shows the picture at its own size.
    browser = cdp.Browser(WIDTH, HEIGHT + 800)
    with tempfile.TemporaryDirectory() as folder:
        browser.allow_downloads(folder)
        page = Page(browser, f'http://127.0.0.1:{server.server_address[1]}/index.html?seed=7')
        try:
            play(page, folder)
            bad_params(page, folder)
            errors = [text for kind, text in browser.console if kind == 'error'] + browser.exceptions
            check('no script error in the console' + (': ' + '; '.join(errors) if errors else ''), not errors)
        finally:
            browser.close()
            server.shutdown()
    print(f'{len(failures)} failure(s)')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
