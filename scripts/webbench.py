#!/usr/bin/env python3
"""The web build's speed and size (make webbench): the page in headless Chromium with
SwiftShader's GL (its first frame after opening, its frame rate over ten seconds of the shipped
game), the world's steps in WebAssembly under node against the native build, and the files a
visitor downloads, compressed as a web server sends them.
Usage: webbench.py <site folder> <native korvane-stepbench> <wasm korvane-stepbench.js> <params.ini>"""
import gzip
import os
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'web'))
import cdp  # noqa: E402
from web_test import serve  # noqa: E402


def steps_per_second(command):
    out = subprocess.run(command, capture_output=True, text=True, check=True).stdout
    return float(re.search(r'([0-9.]+) microseconds a step', out).group(1))


def main():
    site, native, wasm, params = sys.argv[1:5]
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
        shown = 'Module._korvaneFramesShown ? Module._korvaneFramesShown() : 0'
        browser.wait_for(lambda: browser.evaluate(shown) > 0, 60)
        first = browser.evaluate('performance.now()')
        print(f'First frame shown {first / 1000:.2f} s after the page was opened (at most)')
        frames = browser.evaluate(f'[{shown}, performance.now()]')
        time.sleep(10)
        later = browser.evaluate(f'[{shown}, performance.now()]')
        print(f'Frame rate of the shipped game: {(later[0] - frames[0]) / ((later[1] - frames[1]) / 1000):.1f} '
              'frames a second')
    finally:
        browser.close()
        server.shutdown()
    return 0


if __name__ == '__main__':
    sys.exit(main())
