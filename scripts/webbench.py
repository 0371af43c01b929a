#!/usr/bin/env python3
"""The web build's speed and size (make webbench): the page in headless Chromium with
SwiftShader's GL (its first frame after opening, its frame rate over ten seconds of the shipped
game), the world's steps in WebAssembly under node against the native build, the files a
visitor downloads, compressed as a web server sends them, and Lighthouse's audit of the page as
a phone opens it (performance, accessibility, best practices), served compressed as a web host
serves it.
Usage: webbench.py <site folder> <native korvane-stepbench> <wasm korvane-stepbench.js> <params.ini>
                   <lighthouse command>"""
import functools
import gzip
import http.server
import io
import json
import os
import re
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'web'))
import cdp  # noqa: E402
from web_test import serve  # noqa: E402


def steps_per_second(command):
    out = subprocess.run(command, capture_output=True, text=True, check=True).stdout
    return float(re.search(r'([0-9.]+) microseconds a step', out).group(1))


class CompressingHandler(http.server.SimpleHTTPRequestHandler):
    """The site's files gzipped for a client that takes them so, as a web host sends them."""
    def log_message(self, *args):
        pass

    def send_head(self):
        path = self.translate_path(self.path)
        if os.path.isdir(path):
            path = os.path.join(path, 'index.html')
        if not os.path.isfile(path):
            self.send_error(404)
            return None
        with open(path, 'rb') as f:
            data = f.read()
        packed = 'gzip' in self.headers.get('Accept-Encoding', '')
        body = gzip.compress(data, 6) if packed else data
        self.send_response(200)
        self.send_header('Content-Type', self.guess_type(path))
        if packed:
            self.send_header('Content-Encoding', 'gzip')
        self.send_header('Content-Length', str(len(body)))
        self.send_header('Cache-Control', 'max-age=3600')
        self.end_headers()
        return io.BytesIO(body)


LIGHTHOUSE_RUNS = 3
AUDITS = ('first-contentful-paint', 'largest-contentful-paint', 'total-blocking-time', 'cumulative-layout-shift',
          'speed-index')


def lighthouse_run(command, site):
    """One Lighthouse mobile audit of the page, served compressed, as its JSON report."""
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), functools.partial(CompressingHandler, directory=site))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    try:
        with tempfile.TemporaryDirectory() as folder:
            report = os.path.join(folder, 'report.json')
            subprocess.run([command, f'http://127.0.0.1:{server.server_address[1]}/index.html',
                            '--chrome-path=/usr/bin/chromium', '--quiet', '--output=json', f'--output-path={report}',
                            '--only-categories=performance,accessibility,best-practices',
                            '--chrome-flags=--headless=new --no-sandbox --use-angle=swiftshader '
                            '--enable-unsafe-swiftshader'], check=True)
            with open(report) as f:
                return json.load(f)
    finally:
        server.shutdown()


def lighthouse(command, site):
    """Lighthouse's mobile audit, LIGHTHOUSE_RUNS times: each run's figures and their medians, the
    largest paint's element and the longest main-thread tasks of the median run."""
    runs = [lighthouse_run(command, site) for _ in range(LIGHTHOUSE_RUNS)]
    print(f'Lighthouse, mobile (simulated slow 4G and a 4 times slower processor), {len(runs)} runs and the median:')
    for key in runs[0]['categories']:
        scores = [run['categories'][key]['score'] for run in runs]
        print(f'  {runs[0]["categories"][key]["title"]}: ' + ', '.join(f'{v:.2f}' for v in scores) +
              f'; median {sorted(scores)[len(scores) // 2]:.2f}')
    for audit in AUDITS:
        values = [run['audits'][audit]['numericValue'] for run in runs]
        shown = [run['audits'][audit]['displayValue'] for run in runs]
        median = sorted(range(len(runs)), key=lambda k: values[k])[len(runs) // 2]
        print(f'  {runs[0]["audits"][audit]["title"]}: {", ".join(shown)}; median {shown[median]}')
    order = sorted(range(len(runs)), key=lambda k: runs[k]['categories']['performance']['score'])
    middle = runs[order[len(order) // 2]]
    element = middle['audits'].get('largest-contentful-paint-element', {}).get('details', {})
    for item in element.get('items', [])[:1]:
        node = (item.get('items') or [item])[0].get('node', {})
        print(f'  largest paint: {node.get("snippet", "?")}')
    for key in ('accessibility', 'best-practices'):
        for ref in middle['categories'][key]['auditRefs']:
            audit = middle['audits'][ref['id']]
            if ref['weight'] > 0 and audit.get('score') is not None and audit['score'] < 1:
                print(f'  {middle["categories"][key]["title"]} lost on: {audit["title"]}')
    tasks = middle['audits'].get('long-tasks', {}).get('details', {}).get('items', [])
    print('  longest main-thread tasks (ms): ' + ', '.join(f'{t["duration"]:.0f}' for t in tasks[:8]))


def main():
    site, native, wasm, params, lighthouse_command = sys.argv[1:6]
    print('Files a visitor downloads (gzip -9, as a server compresses them):')
    total = 0
    for name in sorted(os.listdir(site)):
        with open(os.path.join(site, name), 'rb') as f:
            data = f.read()
        packed = len(gzip.compress(data, 9))
        total += packed
        print(f'  {name:14} {len(data):>9} bytes, {packed:>8} compressed')
    print(f'  in all: {total / 1e6:.2f} MB compressed')

    native_us = min(steps_per_second([native, params, '50000']) for _ in range(3))
    wasm_us = min(steps_per_second(['node', wasm, params, '50000']) for _ in range(3))
    print(f'World step, the shipped world (best of 3): native {native_us:.2f} us, WebAssembly under node '
          f'{wasm_us:.2f} us: {wasm_us / native_us:.2f} times the native')

    server = serve(site)
    browser = cdp.Browser(840, 800)
    try:
        browser.navigate(f'http://127.0.0.1:{server.server_address[1]}/index.html?seed=1')
        # A player who chooses "Just look around" at once: the game starts as soon as it can.
        browser.evaluate("document.getElementById('intro-close').click()")
        shown = 'window.korvaneFirstFrame ? Module._korvaneFramesShown() : 0'
        browser.wait_for(lambda: browser.evaluate(shown) > 0, 60)
        first = browser.evaluate('performance.now()')
        print(f'First frame shown {first / 1000:.2f} s after the page was opened, the first screen\'s choice made '
              'at once (at most)')
        frames = browser.evaluate(f'[{shown}, performance.now()]')
        time.sleep(10)
        later = browser.evaluate(f'[{shown}, performance.now()]')
        print(f'Frame rate of the shipped game: {(later[0] - frames[0]) / ((later[1] - frames[1]) / 1000):.1f} '
              'frames a second')
    finally:
        browser.close()
        server.shutdown()
    lighthouse(lighthouse_command, site)
    return 0


if __name__ == '__main__':
    sys.exit(main())
