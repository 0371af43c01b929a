#!/usr/bin/env python3
"""The web build end to end: the page served as static files and opened in a real headless
Chromium (SwiftShader's GL), driven over the DevTools protocol with a fixed seed. It checks that
the game starts and draws the scene and the heads-up line, pauses and resumes, inspects a ship
by a click, shows the help at once while paused and closes it with Escape, which never ends the
game, keeps a saved pool across a page reload, captures a frame identical to the screen,
meets the evolved aliens and watches evolution by the page's buttons, ends only at a second q and
plays again without a reload, shows its seed and replays a run from its link, plays on a phone
(touch at 390 x 844: the canvas fits, a finger drives the gun both ways, the fire button, a tap
inspects, a swipe never scrolls) and fits 320 x 240 and 1920 x 1080,
shows a bad params.ini's problems on the page, and ends with q writing the statistics' closing
line, without a script error. Every check waits for the state it tests.
Usage: web_test.py <site folder>; exit status 77 (skipped) when the site was not built."""
import functools
import json
import http.server
import os
import random
import re
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import cdp  # noqa: E402
import pictures  # noqa: E402

DEADLINE = 120
ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), '..', '..'))  # the shipped params.ini's
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


class HoldingHandler(QuietHandler):
    """Holds back the files whose names end as the server's `held` does until its `release`."""
    def do_GET(self):
        if self.server.held and self.path.split('?')[0].endswith(self.server.held):
            self.server.release.wait(DEADLINE)
        super().do_GET()


def serve(folder, held=None):
    """The folder as a static web site on a free port of this machine; files named with the
    ending `held` wait for server.release to be set."""
    handler = functools.partial(HoldingHandler, directory=folder)
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)
    server.held, server.release = held, threading.Event()
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


class Page:
    def __init__(self, browser, url):
        self.b, self.url = browser, url

    def said(self, pattern, since=0):
        return any(re.search(pattern, text) for _, text in self.b.console[since:])

    def wait_said(self, pattern, since=0):
        return self.b.wait_for(lambda: self.said(pattern, since), DEADLINE)

    def open(self, keep_first_screen=False, url=None):
        """Opens the page (or another address) and, as "Just look around" on its first screen,
        starts the game and waits for it; with the first screen kept, waits until the game could
        start."""
        self.b.navigate(url or self.url)
        ready = self.b.wait_for(lambda: self.b.evaluate("typeof Module !== 'undefined' && "
                                                        "typeof Module.korvaneGo === 'function'"), DEADLINE)
        return ready if keep_first_screen else ready and self.begin()

    def begin(self, choice='#intro-close'):
        """A choice of the first screen, and the game's start that follows it."""
        since = len(self.b.console)
        self.b.evaluate(f"document.querySelector('{choice}').click()")
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
                'f': ('f', 'KeyF', 70), 'n': ('n', 'KeyN', 78), 'a': ('a', 'KeyA', 65), ' ': (' ', 'Space', 32),
                'q': ('q', 'KeyQ', 81), 'C': ('C', 'KeyC', 67), 'F1': ('F1', 'F1', 112),
                'Escape': ('Escape', 'Escape', 27)}
        key, code, key_code = keys[name]
        text = {'F1': None, 'Escape': '\x1b'}.get(name, key)
        self.b.key(key, code, key_code, text, shift=name == 'C')


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

    escape_and_help(page)

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
    page.key('Escape')
    page.key('q')
    b.pump(0.5)
    check('QEscapeQEndsTheGameIsMended: Escape takes back the question, q asks again', not ended(b))
    page.key('q')
    check('a second q ends the game and the page says so', b.wait_for(lambda: ended(b), DEADLINE))
    stats = b.evaluate("FS.readdir('/game').filter(n => n.startsWith('KVN_STAT__')).sort()")
    closing = b.evaluate(f"FS.readFile('/game/{stats[-1]}', {{encoding: 'utf8'}})") if stats else ''
    check('the statistics file ends with its closing line',
          re.search(r'\n\n\n\nOverall number of dead:\d+\n$', closing) is not None)
    check('and it is kept in the browser too', bool(stats) and stats[-1] in b.evaluate("FS.readdir('/keep')"))

    since = len(b.console)
    frames = b.evaluate('Module._korvaneFramesShown()')
    b.evaluate("document.getElementById('again').click()")
    check('"Play again" starts a new game without a reload', page.wait_said('^Statistics (go to|will not be saved)', since)
          and not ended(b) and b.wait_for(lambda: b.evaluate('Module._korvaneFramesShown()') > frames + 10, DEADLINE))
    check('the saved pool is still kept', 'GreenAliens_saved.txt' in b.evaluate("FS.readdir('/keep')"))
    run_links(page)


def ended(b):
    return b.evaluate("getComputedStyle(document.getElementById('ended')).display") == 'block'


def escape_and_help(page):
    """In the paused game F1 shows the help at once, and Escape, a reflex key in a browser,
    closes it and never ends the game."""
    b = page.b
    b.wait_for(lambda: not redraws(page), DEADLINE)
    before = page.shot()
    page.key('F1')
    check('F1 shows the help at once in the paused game', b.wait_for(lambda: page.shot() != before, 5))
    page.key('Escape')
    check('Escape closes the help page', b.wait_for(lambda: page.shot() == before, DEADLINE))
    page.key('Escape')
    b.pump(0.5)
    check('Escape with nothing open leaves the game running', not ended(b))


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


def run_links(page):
    """The seed shows on the page, and "Copy a link to this run" puts it with the values that
    differ from the shipped params.ini in the address, which replays the run."""
    b = page.b
    seed = b.evaluate('Module.korvaneRun.seed')
    check('the page shows the seed', f'Seed {seed}' in b.evaluate("document.getElementById('seed').textContent"))
    b.evaluate("document.getElementById('link').click()")
    check('the link to the run is in the address',
          b.wait_for(lambda: b.evaluate('location.search') == f'?seed={seed}&set=', DEADLINE))
    check('a link with values opens their run',
          page.open(url=page.url.split('?')[0] + '?seed=5&set=' + 'Alien_NumberOfRed%3D3%2CAlien_MaxSpeed%3D0.25') and
          b.evaluate('[Module.korvaneRun.seed, Module.korvaneRun.changed].join(" ")') ==
          '5 Alien_MaxSpeed=0.25,Alien_NumberOfRed=3')
    page.open(keep_first_screen=True, url=page.url.split('?')[0] + '?seed=5&set=Alien_Mass%3D0')
    b.evaluate("document.getElementById('intro-close').click()")
    check("a link whose values cannot run says so, as the link's", b.wait_for(
        lambda: b.evaluate('status.textContent') == "The game cannot start with this link's values:" and
        'Alien_Mass = 0 must be positive' in b.evaluate('problems.textContent'), DEADLINE))
    page.open()


def origin(page):
    return page.url.split('/index.html')[0]


def refused_and_lost_saves(url):
    """A save the browser's storage refuses says why, and "saved" comes only once it took it;
    a reload right after s keeps the pool. In a browser of its own: a storage that once held a
    pool has room for another where the old one was, and lets it through."""
    b = cdp.Browser(WIDTH, HEIGHT)
    page = Page(b, url)
    try:
        page.open()
        b.limit_storage(origin(page), 1)
        since, stores = len(b.console), b.evaluate('Module.korvaneStores || 0')
        page.key('s')
        check('SaveReportedAsSavedWhenTheStorageRefusedIsMended: a storage that does not take it gets no "saved", '
              'and the page says why the pool is not kept',
              page.wait_said(r"^Cannot keep GreenAliens_saved\.txt in this browser: the browser's storage refused it",
                             since) and b.evaluate('Module.korvaneStores || 0') == stores)
        b.limit_storage(origin(page))
        page.key('s')
        saved = b.evaluate("FS.readFile('/game/GreenAliens_saved.txt', {encoding: 'utf8'})")
        page.open()  # at once, the save perhaps still on its way
        check('PoolSavedRightBeforeAReloadLostIsMended: the pool saved just before the reload is kept',
              b.evaluate("FS.readFile('/keep/GreenAliens_saved.txt', {encoding: 'utf8'})") == saved)
    finally:
        b.close()


def unusable_kept_files(page, folder):
    """Files the page cannot use: a chosen params.ini over 1 MB, refused before it is kept; a
    kept params.ini over 16 MB and a folder in the pool's place, dropped with the reason."""
    b = page.b
    huge = os.path.join(folder, 'params.ini')
    with open(huge, 'w') as f:
        f.write(' ' * (1 << 20) + '\n')
    b.choose_file('#params', huge)
    check('ChosenParamsOverOneMegabyteKeptAndRefusedLaterIsMended: refused at once, in the desktop\'s words',
          b.wait_for(lambda: 'params.ini: is larger than 1048576 bytes' in
                     (b.evaluate("document.getElementById('problems').textContent") or ''), DEADLINE)
          and 'params.ini' not in b.evaluate("FS.readdir('/keep')"))
    b.evaluate("FS.writeFile('/keep/params.ini', new Uint8Array(17 << 20)); "
               "try { FS.unlink('/keep/GreenAliens_saved.txt'); } catch (e) {} "
               "FS.mkdir('/keep/GreenAliens_saved.txt'); new Promise(done => FS.syncfs(false, done))")
    page.open()
    check('KeptParamsThatCannotBeRestoredPlayedSilentlyIsMended: the page says it is dropped', b.wait_for(
        lambda: 'cannot be used (is larger than 16777216 bytes): it is dropped' in
        b.evaluate("document.getElementById('own').textContent"), DEADLINE)
          and 'params.ini' not in b.evaluate("FS.readdir('/keep')"))
    since = len(b.console)
    page.key('l')
    check('KeptPoolThatIsAFolderLoadedAsMissingIsMended: l gives the real cause',
          page.wait_said(r'Cannot load GreenAliens_saved\.txt: is a folder', since))
    b.evaluate("void FS.mkdir('/keep/GreenAliens_saved.txt')")
    page.key('s')
    check('a save that cannot reach the kept folder says why',
          page.wait_said(r'^Cannot keep GreenAliens_saved\.txt in this browser: .*folder', since))
    b.evaluate("FS.rmdir('/keep/GreenAliens_saved.txt')")


def leaks_and_picks(page, downloads):
    """A capture leaves the page's memory once downloaded; the browser keeps the newest ten
    statistics files; "Download the statistics" offers the newest by time."""
    b = page.b
    page.key('C')
    b.wait_for(lambda: any(n.startswith('frame') for n in os.listdir(downloads)), DEADLINE)
    check('CapturesKeptInThePagesMemoryIsMended: the frame is gone from the page once downloaded', b.wait_for(
        lambda: not [n for n in b.evaluate("FS.readdir('/game')") if n.startswith('frame')], DEADLINE))
    b.evaluate("for (let k = 1; k <= 12; ++k) { const name = '/keep/KVN_STAT__2020_1_1__0_0' + (k > 1 ? '_' + k : '')"
               " + '.txt'; FS.writeFile(name, 'old ' + k + '\\n'); const t = Date.now() - (13 - k) * 1000;"
               " FS.utime(name, t, t); } new Promise(done => FS.syncfs(false, done))")
    # This visit's file is written last, as the page closes: it and the eight newest others stay.
    this_visit = b.evaluate("filesByTime('/game', STATS).pop()")
    before = [n for n in b.evaluate("filesByTime('/keep', STATS)") if n != this_visit]
    page.open()
    kept = set(b.evaluate("filesByTime('/keep', STATS)"))
    check(f'StatisticsFilesPilingUpInTheBrowserIsMended: the newest nine are kept, room for this visit\'s '
          f'({len(before) + 1} before, {len(kept)} kept)',
          kept >= {this_visit, *before[-8:]} and len(kept) <= 10 and not kept & set(before[:-8]))
    newest = b.evaluate("filesByTime('/game', STATS).pop()")
    b.evaluate("document.getElementById('stats').click()")
    check('DownloadOfTheStatisticsPickingAnOlderFileIsMended: the newest by time is offered',
          b.wait_for(lambda: os.path.exists(os.path.join(downloads, newest)), DEADLINE) and not newest.startswith('KVN_STAT__2020'))


def big_world_and_a_fault(page):
    """A world as big as korvane-sim runs draws in the page; an uncaught error reaches the
    status line in words."""
    b = page.b
    started = page.open(url=page.url.split('?')[0] + '?seed=3&set=' + 'Window_Width%3D3200%2CWindow_Height%3D2400%2C'
                        'Alien_NumberOfRed%3D3000%2CAlien_Red_FireDelay%3D0')
    frames = b.evaluate('window.korvaneFirstFrame ? Module._korvaneFramesShown() : 0')
    drawn = started and b.wait_for(lambda: b.evaluate('Module._korvaneFramesShown()') > frames + 30, DEADLINE)
    status = b.evaluate('status.textContent')
    check(f'BigWorldsStoppingThePageIsMended: 3,000 red aliens firing at will in 3200 x 2400 keep being drawn '
          f'(started {started}, frames {frames} to {b.evaluate("Module._korvaneFramesShown()")}, {status!r}, '
          f'{b.exceptions})', drawn and not b.exceptions and status.startswith('Playing'))
    b.evaluate("setTimeout(() => { throw new Error('a fault of the test'); })")
    check('UncaughtErrorUnderPlayingIsMended: an uncaught error reaches the status line', b.wait_for(
        lambda: b.evaluate('status.textContent').startswith('The game stopped: '), DEADLINE))
    b.exceptions.clear()


def shown(b, sheet):
    return b.evaluate(f"document.getElementById('{sheet}').classList.contains('shown')")


def first_screen_and_challenge(url):
    """The first screen says what the game is and how to play, keys first on a desktop, and
    offers its three ways in; Play starts a challenge, which ends in page text a screen reader
    reads, keeps the best score in the browser's storage and plays again against the same
    aliens; a storage that refuses the best scores says so."""
    b = cdp.Browser(WIDTH, HEIGHT + 800)
    page = Page(b, url)
    try:
        page.open(keep_first_screen=True)
        intro = b.evaluate("(() => { const i = document.getElementById('intro'); return [i.getAttribute('role'),"
                           " i.innerText, Array.from(i.querySelectorAll('button')).map(e => e.textContent)]; })()")
        check(f'the first screen is a dialog of page text with its three ways in ({intro[2]})',
              shown(b, 'intro') and intro[0] == 'dialog' and
              {'Play', 'Watch evolution', 'Meet evolved aliens'} <= set(intro[2]))
        check('it says how to play, by keys first on a desktop',
              0 <= intro[1].find('By keys') < intro[1].find('By touch'))
        page.begin('#intro [data-start=challenge]')
        check('Play starts a challenge', not shown(b, 'intro') and
              b.wait_for(lambda: '"challenge":true' in b.evaluate('UTF8ToString(Module._korvaneToggles())'), DEADLINE))
        b.limit_storage(origin(page), 1)
        since = len(b.console)
        for key in 'a', ' ', 'f':  # the gun plays and fires; at full speed the aliens wear it down in seconds
            page.key(key)
        check('the game ends: the page shows its end as text', b.wait_for(lambda: shown(b, 'gameover'), DEADLINE))
        text = b.evaluate("document.getElementById('gameover-text').textContent")
        check(f'with the score, the time survived and how long the aliens evolved ({text!r})',
              all(word in text for word in ('score: ', 'survived: ', 'aliens evolving: ')) and
              b.evaluate("document.getElementById('gameover').getAttribute('role')") == 'alertdialog')
        check('a storage that refuses the best scores says so', page.wait_said(
            r"^Cannot keep KorvaneBest\.txt in this browser: the browser's storage refused it", since))
        b.limit_storage(origin(page))
        b.evaluate("document.getElementById('gameover-again').click()")
        check('Play again: a new challenge against the same aliens, no new world',
              not shown(b, 'gameover') and not page.said('^A new world', since) and
              b.wait_for(lambda: '"challenge":true' in b.evaluate('UTF8ToString(Module._korvaneToggles())'), DEADLINE))
        check('the best score is in the game\'s folder', 'KorvaneBest.txt' in b.evaluate("FS.readdir('/game')"))
        page.key('f')
        b.wait_for(lambda: shown(b, 'gameover'), DEADLINE)
        check('and kept in the browser once the storage takes it', b.wait_for(
            lambda: 'KorvaneBest.txt' in b.evaluate("FS.readdir('/keep')"), DEADLINE))
        b.evaluate("document.getElementById('gameover-free').click()")
        check('Free play after the end: no challenge', b.wait_for(
            lambda: '"challenge":false' in b.evaluate('UTF8ToString(Module._korvaneToggles())') and
            not shown(b, 'gameover'), DEADLINE))
    finally:
        b.close()


def landscape(url):
    """A phone on its side: the buttons beside the picture and inside the screen, every one a
    finger's size; full screen takes them along and has a way out."""
    width, height, scale = 844, 390, 3
    b = cdp.Browser(width, height)
    b.emulate(width, height, scale, mobile=True, touch=True)
    page = Page(b, url)
    try:
        page.open()
        box = layout(b)
        bar = b.evaluate("(() => { const r = touchbar.getBoundingClientRect(); return [r.left, r.top, r.right, r.bottom];"
                         " })()")
        buttons = b.evaluate("Array.from(document.querySelectorAll('#touchbar button')).map(e => { const r = "
                             "e.getBoundingClientRect(); return [r.left, r.top, r.right, r.bottom]; })")
        check(f'LandscapeHidesTheButtonsIsMended: the bar beside the picture, inside the screen ({box}, {bar})',
              bar[0] >= box['left'] + box['width'] - 1 and bar[2] <= width and bar[3] <= height and
              box['top'] + box['height'] <= height)
        check(f'every button of the bar on the screen and a finger\'s size ({buttons})',
              buttons and all(r <= width and bt <= height + 1 and bt - t >= 44 for _, t, r, bt in buttons))
        where = "(() => { const r = document.getElementById('barfullscreen').getBoundingClientRect();" \
                " return [r.left + r.width / 2, r.top + r.height / 2]; })()"
        b.tap(*b.evaluate(where))  # a finger's tap: full screen wants a gesture of the player's
        full = lambda: b.evaluate("document.fullscreenElement ? document.fullscreenElement.id : ''") == 'play'
        if check('FullScreenRemovesEveryButtonIsMended: full screen takes the picture with its buttons',
                 b.wait_for(full, DEADLINE)):
            check('and offers a way out', b.wait_for(lambda: b.evaluate(
                "document.getElementById('barfullscreen').textContent") == 'Leave full screen', DEADLINE))
            b.tap(*b.evaluate(where))
            check('which leaves it', b.wait_for(lambda: not full(), DEADLINE))
    finally:
        b.close()


def kept_versions(b):
    return b.evaluate("caches.keys().then(names => names.filter(n => n.startsWith('korvane-')))")


def offline(site):
    """Installable and playable offline: the manifest names its icons; after the first visit the
    service worker keeps the site, and the page plays with the network cut; a new build replaces
    the kept one at the next visit."""
    import shutil
    with tempfile.TemporaryDirectory() as folder:
        copy = os.path.join(folder, 'site')
        shutil.copytree(site, copy)
        server = serve(copy)
        url = f'http://127.0.0.1:{server.server_address[1]}/index.html'
        b = cdp.Browser(WIDTH, HEIGHT)
        page = Page(b, url)
        try:
            page.open()
            manifest = b.evaluate("fetch('manifest.webmanifest').then(r => r.json())")
            check('the page has a manifest with icons for a home screen',
                  manifest['display'] == 'standalone' and {i['sizes'] for i in manifest['icons']} >= {'192x192', '512x512'})
            check('a service worker keeps the site after the first visit', b.wait_for(
                lambda: b.evaluate("navigator.serviceWorker.controller !== null") and len(kept_versions(b)) == 1 and
                b.evaluate(f"caches.open({kept_versions(b)[0]!r}).then(c => c.keys()).then(k => k.length)") >= 8,
                DEADLINE))
            first = kept_versions(b)
            b.call('Network.enable', session=True)
            b.call('Network.emulateNetworkConditions', {'offline': True, 'latency': 0, 'downloadThroughput': -1,
                                                        'uploadThroughput': -1}, session=True)
            check('PageOfflineDoesNotOpenIsMended: with the network cut, the page opens and the game plays',
                  page.open(url=url + '?seed=4'))
            b.call('Network.emulateNetworkConditions', {'offline': False, 'latency': 0, 'downloadThroughput': -1,
                                                        'uploadThroughput': -1}, session=True)
            # A new build: another page and its service worker's new version.
            with open(os.path.join(copy, 'index.html'), 'a') as f:
                f.write('<!-- a new build -->\n')
            with open(os.path.join(copy, 'sw.js')) as f:
                worker = f.read()
            with open(os.path.join(copy, 'sw.js'), 'w') as f:
                f.write(re.sub(r"const VERSION = '[^']*'", "const VERSION = 'newbuild'", worker))
            page.open()
            check('a new build replaces the kept one', b.wait_for(lambda: kept_versions(b) == ['korvane-newbuild'],
                                                                  DEADLINE) and first != ['korvane-newbuild'])
            page.open()
            check('and the next visit plays it', 'a new build' in b.evaluate('document.documentElement.outerHTML'))
        finally:
            b.close()
            server.shutdown()


def calls_before_the_game_loaded(site):
    """A player who presses keys and chooses while the game's WebAssembly is still on its way:
    the page waits for it, calling nothing of the game's (its script defines the functions
    before they can run), and the game then starts as chosen."""
    server = serve(site, held='.wasm')
    b = cdp.Browser(WIDTH, HEIGHT + 800)
    page = Page(b, f'http://127.0.0.1:{server.server_address[1]}/index.html?seed=5')
    try:
        b.navigate(page.url)
        b.wait_for(lambda: after_reload(b, "typeof Module._korvaneToggles === 'function'"), DEADLINE)
        page.key('p')
        b.evaluate("document.getElementById('intro-close').click(); window.heldSince = performance.now()")
        # Long enough for the page's timers to have called into the game, had they.
        b.wait_for(lambda: b.evaluate('performance.now() - heldSince > 1500'), DEADLINE)
        waiting = b.evaluate('status.textContent')
        answers = []
        for button in ('stats', 'pool', 'shipped'):
            b.evaluate(f"document.getElementById('{button}').click()")
            answers.append(b.evaluate('saidLine.textContent'))
        path = os.path.join(ROOT, 'params.ini')
        b.choose_file('#params', path)
        check(f'while it loads, its buttons and the params.ini picker answer in words ({answers})', b.wait_for(
            lambda: 'choose your params.ini again' in b.evaluate('saidLine.textContent'), DEADLINE) and
            answers[0].startswith('No statistics file yet') and answers[1].startswith('No saved green pool yet')
            and answers[2].startswith('The game is still starting'))
        server.release.set()
        check(f'CallsIntoTheGameBeforeItLoadedThrowingIsMended: nothing thrown while it loads ({b.exceptions}), '
              f'"{waiting}", and the game starts as chosen', not b.exceptions and waiting == 'Loading the game...'
              and page.wait_said('^Statistics (go to|will not be saved)'))
    finally:
        b.close()
        server.shutdown()


def cannot_start(site):
    """From a file, and in a browser without WebGL, the page says why it cannot start."""
    b = cdp.Browser(WIDTH, HEIGHT)
    try:
        b.navigate('file://' + os.path.join(site, 'index.html'))
        check('PageFromAFileLoadingForEverIsMended: it says to open it through a web server', b.wait_for(
            lambda: 'open it through a web server' in
            (b.evaluate("(document.getElementById('status') || {}).textContent") or ''),
            DEADLINE))
    finally:
        b.close()
    server = serve(site)
    b = cdp.Browser(WIDTH, HEIGHT, flags=['--disable-webgl'])
    try:
        b.navigate(f'http://127.0.0.1:{server.server_address[1]}/index.html')
        b.wait_for(lambda: after_reload(b, "!!document.getElementById('intro-close')"), DEADLINE)
        b.evaluate("document.getElementById('intro-close').click()")
        check('PageWithoutWebGlLoadingForEverIsMended: it says the browser has no WebGL', b.wait_for(
            lambda: 'has no WebGL' in (b.evaluate("(document.getElementById('status') || {}).textContent") or ''),
            DEADLINE))
        b.evaluate("document.getElementById('pool').click()")
        check('PoolDownloadBeforeAnySaveDoingNothingIsMended: it says there is none yet',
              'No saved green pool yet' in b.evaluate("document.getElementById('said').textContent"))
    finally:
        b.close()
        server.shutdown()


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
    b.evaluate("window.notReloaded = true; document.getElementById('shipped').click()")
    check('the refused file left the shipped params.ini playing: the button says so, and the game plays on',
          b.wait_for(lambda: 'in use already' in b.evaluate('saidLine.textContent'), DEADLINE) and
          b.evaluate('window.notReloaded === true') and not page.said('^Statistics (go to|will not be saved)', since))


PHONE = (390, 844, 3)  # CSS pixels and device pixels a CSS pixel


def layout(b):
    """The canvas's box and the page's widths, in CSS pixels."""
    return b.evaluate('(() => { const r = canvas.getBoundingClientRect(); const d = document.documentElement;'
                      ' return {left: r.left, top: r.top, width: r.width, height: r.height, buffer: canvas.width,'
                      ' client: d.clientWidth, scroll: d.scrollWidth, inner: innerHeight}; })()')


def fits(box, aspect=4 / 3):
    """The canvas fills the width or the height of the first screen, in the picture's proportions,
    and the page never scrolls sideways."""
    return (box['scroll'] <= box['client'] and box['left'] >= 0 and box['left'] + box['width'] <= box['client'] and
            box['top'] >= 0 and box['top'] + box['height'] <= box['inner'] and
            abs(box['width'] - box['height'] * aspect) <= 2 and
            (box['width'] >= box['client'] - 1 or box['height'] >= box['inner'] - 1))


def gun_x(rows):
    """Where the gun stands along the canvas, from its grey shape in the strip it slides in."""
    height, width = len(rows), len(rows[0])
    columns = [0] * width
    for row in rows[int(0.86 * height):int(0.94 * height)]:
        for x, (r, g, b) in enumerate(row):
            if min(r, g, b) > 100 and max(r, g, b) - min(r, g, b) < 60:
                columns[x] += 1
    windows = [sum(columns[max(0, x - 5):x + 6]) for x in range(width)]
    best = max(range(width), key=lambda x: windows[x])
    return best if windows[best] >= 8 else None


def phone(url):
    """The page as a phone shows it: it fits, a finger drives the gun both ways, the fire button
    fires, a tap looks into a ship, and a swipe on the canvas never scrolls the page."""
    width, height, scale = PHONE
    b = cdp.Browser(width, height)
    b.emulate(width, height, scale, mobile=True, touch=True)
    page = Page(b, url)
    try:
        check('the page starts on a phone', page.open(keep_first_screen=True))
        words = b.evaluate("document.getElementById('intro').innerText")
        check('its first screen says how to play by touch first', shown(b, 'intro') and
              0 <= words.find('By touch') < words.find('By keys'))
        check('"Just look around" starts the game', page.begin())
        box = layout(b)
        check(f'on a phone the page is as wide as the phone, the canvas fills it in the first screen, sharp ({box})',
              box['client'] == width and fits(box) and box['buffer'] == round(box['width'] * scale))
        buttons = b.evaluate("Array.from(document.querySelectorAll('#touchbar button')).map(e => "
                             "[e.dataset.command, e.getBoundingClientRect().width, e.getBoundingClientRect().height])")
        check(f'touch buttons big enough for a finger ({buttons})',
              {c for c, _, _ in buttons} >= {'fire', 'auto', 'pause', 'fast', 'graph', 'help', 'watch', 'evolved',
                                              'challenge', 'mute'} and
              all(w >= 44 and h >= 44 for _, w, h in buttons))
        page_buttons = b.evaluate("Array.from(document.querySelectorAll('main button, main label.file'))"
                                  ".filter(e => e.offsetParent).map(e => e.getBoundingClientRect().height)")
        check(f"the page's own buttons a finger's height ({page_buttons})", all(h >= 44 for h in page_buttons))
        picture = lambda: pictures.png_pixels(b.screenshot(0, 0, box['width'], box['height'], 1 / scale))
        row = box['height'] * 0.9
        b.wait_for(lambda: gun_x(picture()) is not None, DEADLINE)
        for side, target, arrived in (('left', 10, lambda x: x <= 60), ('right', box['width'] - 10, lambda x: x >= box['width'] - 60)):
            b.touch('touchStart', target, row)
            check(f'a finger held at the {side} drives the gun there',
                  b.wait_for(lambda: (lambda x: x is not None and arrived(x))(gun_x(picture())), DEADLINE))
            b.touch('touchEnd')
        b.tap(*centre(b, '#touchbar [data-command=fire]'))
        check('FireAndAutoHideTheirStateIsMended: Fire looks pressed and says so', b.wait_for(lambda: b.evaluate(
            "document.querySelector('#touchbar [data-command=fire]').getAttribute('aria-pressed')") == 'true', DEADLINE))
        firing = (220, 60, 50)
        check('the fire button fires: the FIRING badge shows', b.wait_for(
            lambda: pictures.count(picture()[:20], lambda p: abs(p[0] - firing[0]) + abs(p[1] - firing[1]) +
                                   abs(p[2] - firing[2]) < 30) > 30, DEADLINE))
        since = len(b.console)
        check('a tap on a ship looks into it', b.wait_for(lambda: tap_a_red_ship(b, picture()) and
                                                          page.said(r'^Inspecting red alien \d+$', since), DEADLINE))
        b.touch('touchStart', box['width'] / 2, box['height'] / 2)
        for step in range(1, 6):
            b.touch('touchMove', box['width'] / 2, box['height'] / 2 - 60 * step)
        b.touch('touchEnd')
        check('a swipe on the canvas never scrolls the page', b.evaluate('scrollY') == 0)
        b.tap(*centre(b, '#touchbar [data-command=help]'))
        words = b.evaluate("document.getElementById('touchhelp').innerText")
        check(f'HelpOnATouchScreenIsTheKeyboardPageIsMended: Help lists the gestures and the buttons ({words!r})',
              shown(b, 'touchhelp') and 'Hold a finger' in words and 'Fire: ' in words and 'enlarge' not in words)
        b.evaluate("document.getElementById('touchhelp-close').click()")
        b.tap(*centre(b, '#touchbar [data-command=mute]'))
        kept = "(() => { try { return FS.readFile('/keep/KorvaneSound.txt', {encoding: 'utf8'}); } catch (e) { return ''; } })()"
        check('MuteThrewInThePageIsMended: Mute looks pressed and its choice is kept in the browser', b.wait_for(lambda: b.evaluate(
            "document.querySelector('#touchbar [data-command=mute]').getAttribute('aria-pressed')") == 'true' and
            b.evaluate(kept) == 'muted 1\n', DEADLINE))
        check('the page found a sound device once touched', not page.said(r'^No sound device', 0))
    finally:
        b.close()


def refused_link(b, url, problem):
    """The page opened at the address refuses it before loading the game, the problem shown."""
    b.navigate(url)
    return b.wait_for(lambda: b.evaluate('status.textContent') == "The game cannot start with this link's values:"
                      and problem in b.evaluate('problems.textContent'), DEADLINE) and \
        b.evaluate("typeof Module._korvaneStart") == 'undefined'


def hostile_links(url):
    """Links the page cannot play are refused in the desktop's words, quoting the value: a seed
    it cannot read, a key given twice, a member named twice, a statistics period its storage
    cannot keep up with."""
    b = cdp.Browser(WIDTH, HEIGHT + 800)
    page = Page(b, url)
    base = url.split('?')[0]
    try:
        bad_seeds = [('99999999999999999999', "'99999999999999999999'"), ('4294967296', "'4294967296'"),
                     ('-1', "'-1'"), ('NaN', "'NaN'"), ('1e5', "'1e5'"), ('0x10', "'0x10'"),
                     ('%EF%BC%91%EF%BC%92', r"'\xEF\xBC\x91\xEF\xBC\x92'"), ('', "''")]
        refused = [value for value, quoted in bad_seeds if not refused_link(
            b, f'{base}?seed={value}', f'seed: {quoted} is not a whole number from 0 to 4294967295')]
        check(f'SeedChangedWithoutAWordIsMended: every seed the page cannot read is refused, quoted ({refused} not)',
              not refused)
        check('RepeatedKeyDroppedIsMended: a seed given twice is refused, both quoted',
              refused_link(b, f'{base}?seed=12&seed=34', "seed: given 2 times ('12', '34'): give it once"))
        check('and values given twice too',
              refused_link(b, f'{base}?set=Alien_Mass%3D5&set=Alien_Mass%3D7', 'set: given 2 times'))
        page.open(keep_first_screen=True, url=f'{base}?seed=3&set=Alien_Mass%3D5%2CAlien_Mass%3D7')
        b.evaluate("document.getElementById('intro-close').click()")
        check('a member named twice in the values is refused as the link\'s', b.wait_for(
            lambda: "'Alien_Mass' is given more than once" in b.evaluate('problems.textContent'), DEADLINE))
        check('LinkRunningPastTheGamesStackIsMended: values longer than a sound link are refused',
              refused_link(b, f'{base}?set=' + 'A' * 40000, "is 40000 characters long, more than the 32768"))
        # A thousand refused values: a line each kept the tab busy (12,000 for minutes).
        many = '%2C'.join(f'U{i}%3D0' for i in range(1000))
        page.open(keep_first_screen=True, url=f'{base}?seed=3&set={many}')
        b.evaluate("document.getElementById('intro-close').click()")
        b.wait_for(lambda: 'more values refused' in b.evaluate('problems.textContent'), DEADLINE)
        lines = b.evaluate("problems.textContent.split('\\n').filter(l => l.startsWith(\"The link's settings\")).length")
        check(f'LinkOfThousandsOfValuesBusyForMinutesIsMended: the first refusals and how many more ({lines} lines)',
              'The link\'s settings: 980 more values refused' in b.evaluate('problems.textContent') and lines == 21)
        page.open(keep_first_screen=True, url=f'{base}?seed=3&set=Stats_SaveInterval%3D1')
        b.evaluate("document.getElementById('intro-close').click()")
        check('LinkThatEatsMemoryIsMended: a statistics period shorter than the storage keeps up with is refused',
              b.wait_for(lambda: 'Stats_SaveInterval = 1 must be at least 1000 in a web page' in
                         b.evaluate('problems.textContent'), DEADLINE))
        b.evaluate("document.getElementById('shipped').click()")
        check('a game that could not start goes back to the shipped values at once, without the link\'s',
              b.wait_for(lambda: after_reload(b, "location.search === '' && typeof Module.korvaneRun === 'object'"),
                         DEADLINE))
        # The shortest period it takes, in fast mode: one sync of the storage at a time, and
        # what the page remembers of the game's words bounded.
        check('the shortest period it takes plays', page.open(url=f'{base}?seed=3&set=Stats_SaveInterval%3D1000'))
        b.evaluate("window.syncs = { now: 0, most: 0, done: 0 }; const sync = FS.syncfs; FS.syncfs = (populate, then) => {"
                   " syncs.now++; syncs.most = Math.max(syncs.most, syncs.now);"
                   " sync(populate, error => { syncs.now--; syncs.done++; then(error); }); };")
        since = len(b.console)
        page.key('f')
        # Past twice what the page remembers of the game's words, so that a bound must have cut it.
        check('fast mode keeps the statistics file again and again', b.wait_for(
            lambda: len(b.console) - since > 2100, 3 * DEADLINE))
        syncs = b.evaluate('syncs')
        check(f'OneSyncAtATimeIsMended: never more than one sync of the storage in flight ({syncs})', syncs['most'] == 1)
        kept = b.evaluate('said.length')
        check(f'what the page keeps of the game\'s words is bounded ({kept} lines of {len(b.console) - since})', kept <= 2000)
        page.key('f')
    finally:
        b.close()


def after_reload(b, expression):
    """The expression's value once a reload has brought the page back; false meanwhile, while
    the old page goes and the new one's script has not run."""
    try:
        return b.evaluate(f"(() => {{ try {{ return {expression}; }} catch (e) {{ return false; }} }})()")
    except RuntimeError:
        return False


def stat_files(b, folder):
    return b.evaluate(f"FS.readdir('{folder}').filter(n => /^KVN_STAT__/.test(n)).length")


def restarts_and_the_shipped_params(url):
    """Play again keeps ten statistics files; "Play with the shipped params.ini" does nothing
    but say so when it plays already, and otherwise asks twice and keeps the link's seed."""
    b = cdp.Browser(WIDTH, HEIGHT + 800)
    page = Page(b, url)
    base = url.split('?')[0]
    try:
        page.open(url=f'{base}?seed=77')
        old = "for (let i = 0; i < 12; ++i) for (const f of ['/keep', '/game']) {" \
              " const n = f + '/KVN_STAT__2020_01_01__00_00_' + i + '.txt'; FS.writeFile(n, 'old'); FS.utime(n, i * 1000, i * 1000); }"
        b.evaluate(old)
        page.key('q')
        page.key('q')
        b.wait_for(lambda: ended(b), DEADLINE)
        since = len(b.console)
        b.evaluate("document.getElementById('again').click()")
        page.wait_said('^Statistics (go to|will not be saved)', since)
        b.wait_for(lambda: stat_files(b, '/keep') <= 10 and stat_files(b, '/game') <= 10, DEADLINE)
        counts = (stat_files(b, '/keep'), stat_files(b, '/game'))
        refusals = [text for _, text in b.console[since:] if 'Cannot' in text]
        check(f'PlayAgainKeepsEveryStatisticsFileIsMended: ten kept and ten in the game\'s folder ({counts}{refusals})',
              counts[0] <= 10 and counts[1] <= 10 and not refusals)
        # A file removed while a sync is under way, as "Play again" removes old statistics files.
        b.evaluate("window.answers = []; FS.writeFile('/keep/KVN_STAT__2020_01_01__00_00_99.txt', 'old');"
                   " keep(why => answers.push(why)); changeKept(() => FS.unlink('/keep/KVN_STAT__2020_01_01__00_00_99.txt'));"
                   " keep(why => answers.push(why))")
        b.wait_for(lambda: b.evaluate('answers.length') == 2, DEADLINE)
        answers = b.evaluate('answers')
        check(f'RemovalDuringASyncFailingItIsMended: both syncs keep what they hold ({answers})', answers == ['', ''])
        b.evaluate("window.notReloaded = true; document.getElementById('shipped').click()")
        b.pump(1)
        check('ShippedParamsReloadingAtOnceIsMended: with the shipped params.ini in use it says so and plays on',
              b.evaluate('window.notReloaded === true') and
              'in use already' in b.evaluate('saidLine.textContent') and not ended(b))
        own = open(os.path.join(ROOT, 'params.ini')).read()
        b.evaluate(f"FS.writeFile('/keep/params.ini', {json.dumps(own)}); keep(() => {{}})")
        b.wait_for(lambda: b.evaluate('!syncing'), DEADLINE)
        page.open(url=f'{base}?seed=77')
        check('a kept params.ini of the player\'s plays', b.evaluate('Module.korvaneRun.ownParams') is True)
        b.evaluate("window.notReloaded = true; document.getElementById('shipped').click()")
        b.pump(1)
        check('with it in use the first press asks, and the game plays on',
              b.evaluate('window.notReloaded === true') and 'again' in b.evaluate('saidLine.textContent'))
        b.evaluate("document.getElementById('shipped').click()")
        check('the second starts again with the shipped one, the link\'s seed kept', b.wait_for(
            lambda: after_reload(b, "typeof window.notReloaded === 'undefined' && typeof Module.korvaneRun === 'object' && "
                                    "Module.korvaneRun.ownParams === false && location.search === '?seed=77' && "
                                    "Module.korvaneRun.seed === 77"), DEADLINE))
    finally:
        b.close()


def touch_storm(url):
    """Three thousand touches of one to five fingers anywhere on the page and far beyond it,
    buttons and file input included: the page stays, and the game plays on."""
    width, height, scale = PHONE
    b = cdp.Browser(width, height)
    b.emulate(width, height, scale, mobile=True, touch=True)
    page = Page(b, url)
    try:
        page.open()
        here = b.evaluate('window.beforeTheStorm = true; location.origin + location.pathname')
        rng = random.Random(1)  # a storm whose taps reached "Play with the shipped params.ini"
        far = (-1e9, 1e9, -5000, 5000)
        for _ in range(3000):
            fingers = rng.randint(1, 5)
            points = [{'x': rng.choice(far) if rng.random() < 0.05 else rng.uniform(-50, width + 50),
                       'y': rng.choice(far) if rng.random() < 0.05 else rng.uniform(-50, 2 * height),
                       'id': i + 1} for i in range(fingers)]
            kind = rng.choice(['touchStart', 'touchMove', 'touchEnd', 'touchCancel'])
            try:
                b.call('Input.dispatchTouchEvent', {'type': kind, 'touchPoints': [] if kind in (
                    'touchEnd', 'touchCancel') else points}, session=True)
            except RuntimeError:
                pass  # a point the browser refuses to dispatch
        try:
            b.call('Input.dispatchTouchEvent', {'type': 'touchCancel', 'touchPoints': []}, session=True)
        except RuntimeError:
            pass  # no finger was down
        b.pump(1)
        frames = b.evaluate('Module._korvaneFramesShown ? Module._korvaneFramesShown() : -1')
        where = b.evaluate('location.origin + location.pathname')
        check(f'TouchStormBlankingThePageIsMended: the page stays where it was ({where})',
              where == here and b.evaluate('window.beforeTheStorm === true') and frames >= 0 and
              b.wait_for(lambda: b.evaluate('Module._korvaneFramesShown()') > frames + 10, DEADLINE))
    finally:
        b.close()


def centre(b, selector):
    """The middle of an element, in the page's pixels."""
    return b.evaluate(f"(() => {{ const r = document.querySelector('{selector}').getBoundingClientRect(); "
                      "return [r.left + r.width / 2, r.top + r.height / 2]; })()")


def tap_a_red_ship(b, rows):
    """Taps a finger's breadth beside the first red ship in the picture; false when none shows."""
    for y in range(25, len(rows) - 60):
        for x in range(len(rows[0]) - 12):
            r, g, blue = rows[y][x]
            if r > 120 and g < 0.35 * r and blue < 0.35 * r:
                box = pictures.crop(rows, x, y, 12, 8)
                if pictures.count(box, lambda p: p[0] > 120 and p[1] < 0.35 * p[0] and p[2] < 0.35 * p[0]) > 10:
                    b.tap(x + 6, y + 12)
                    return True
    return False


def screens(url):
    """A small screen and a large one: the canvas fits the first screen, the page never scrolls
    sideways."""
    for width, height in ((320, 240), (1920, 1080)):
        b = cdp.Browser(width, height)
        try:
            page = Page(b, url)
            page.open()
            box = layout(b)
            check(f'at {width} x {height} the whole canvas fits the first screen ({box})', fits(box))
        finally:
            b.close()


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
            unusable_kept_files(page, folder)
            leaks_and_picks(page, folder)
            big_world_and_a_fault(page)
            phone(page.url)
            landscape(page.url)
            first_screen_and_challenge(page.url)
            screens(page.url)
            refused_and_lost_saves(page.url)
            hostile_links(page.url)
            restarts_and_the_shipped_params(page.url)
            touch_storm(page.url)
            offline(site)
            calls_before_the_game_loaded(site)
            cannot_start(site)
            errors = [text for kind, text in browser.console if kind == 'error'] + browser.exceptions
            check('no script error in the console' + (': ' + '; '.join(errors) if errors else ''), not errors)
        finally:
            browser.close()
            server.shutdown()
    print(f'{len(failures)} failure(s)')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
