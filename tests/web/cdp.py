"""A headless Chromium driven over the DevTools protocol through a pipe: nothing beyond Python's
standard library. One page, its console and exceptions kept, keys, clicks and screenshots."""
import base64
import json
import os
import select
import subprocess
import tempfile
import time


class Browser:
    FLAGS = ['--headless=new', '--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
             '--remote-debugging-pipe', '--no-first-run', '--disable-background-networking',
             '--disable-component-update', '--disable-sync', '--disable-quic', '--mute-audio',
             '--disable-features=Translate,MediaRouter', '--autoplay-policy=no-user-gesture-required']

    def __init__(self, width, height, chromium='chromium', flags=()):
        self.profile = tempfile.TemporaryDirectory(prefix='korvane-chromium-')
        to_browser_r, self.to_browser = os.pipe()
        self.from_browser, from_browser_w = os.pipe()
        # Chromium reads the protocol from descriptor 3 and writes it to 4.
        def descriptors():
            os.dup2(to_browser_r, 3)
            os.dup2(from_browser_w, 4)
        self.process = subprocess.Popen(
            [chromium, *self.FLAGS, *flags, '--user-data-dir=' + self.profile.name, 'about:blank'],
            pass_fds=(3, 4), preexec_fn=descriptors, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_browser_r)
        os.close(from_browser_w)
        self.buffer = b''
        self.next_id = 0
        self.events = []
        self.console = []     # (type, text) in order
        self.exceptions = []  # texts of uncaught exceptions
        target = self.call('Target.createTarget', {'url': 'about:blank'})['targetId']
        self.session = self.call('Target.attachToTarget', {'targetId': target, 'flatten': True})['sessionId']
        for domain in ('Page', 'Runtime', 'Log'):
            self.call(domain + '.enable', session=True)
        self.call('Emulation.setDeviceMetricsOverride',
                  {'width': width, 'height': height, 'deviceScaleFactor': 1, 'mobile': False}, session=True)

    def emulate(self, width, height, scale=1, mobile=False, touch=False):
        """A screen of this size in CSS pixels, at this pixel ratio; a phone's with touch."""
        self.call('Emulation.setDeviceMetricsOverride',
                  {'width': width, 'height': height, 'deviceScaleFactor': scale, 'mobile': mobile}, session=True)
        self.call('Emulation.setTouchEmulationEnabled', {'enabled': touch, 'maxTouchPoints': 5 if touch else 1},
                  session=True)

    def touch(self, kind, x=0, y=0):
        """A finger put down, moved or lifted (kind touchStart, touchMove, touchEnd) at x, y."""
        points = [] if kind == 'touchEnd' else [{'x': x, 'y': y, 'id': 1, 'radiusX': 8, 'radiusY': 8}]
        self.call('Input.dispatchTouchEvent', {'type': kind, 'touchPoints': points}, session=True)

    def tap(self, x, y):
        self.touch('touchStart', x, y)
        self.touch('touchEnd')

    def close(self):
        try:
            self.call('Browser.close', timeout=10)
        except Exception:
            pass
        try:
            self.process.wait(timeout=20)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        os.close(self.to_browser)
        os.close(self.from_browser)
        self.profile.cleanup()

    def _send(self, message):
        data = json.dumps(message).encode() + b'\0'
        while data:
            data = data[os.write(self.to_browser, data):]

    def _receive(self, timeout):
        """One message, or None when none came within the timeout."""
        deadline = time.monotonic() + timeout
        while b'\0' not in self.buffer:
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([self.from_browser], [], [], left)[0]:
                return None
            chunk = os.read(self.from_browser, 1 << 20)
            if not chunk:
                raise RuntimeError('Chromium ended')
            self.buffer += chunk
        message, self.buffer = self.buffer.split(b'\0', 1)
        return json.loads(message)

    def _note(self, event):
        method, params = event.get('method'), event.get('params', {})
        if method == 'Runtime.consoleAPICalled':
            text = ' '.join(str(a.get('value', a.get('description', ''))) for a in params.get('args', []))
            self.console.append((params.get('type'), text))
        elif method == 'Runtime.exceptionThrown':
            details = params.get('exceptionDetails', {})
            self.exceptions.append(details.get('exception', {}).get('description') or details.get('text', ''))
        elif method == 'Log.entryAdded':
            entry = params.get('entry', {})
            if entry.get('level') == 'error':
                self.console.append(('error', entry.get('text', '')))
        self.events.append(event)

    def call(self, method, params=None, session=False, timeout=60):
        self.next_id += 1
        message = {'id': self.next_id, 'method': method, 'params': params or {}}
        if session:
            message['sessionId'] = self.session
        self._send(message)
        deadline = time.monotonic() + timeout
        while True:
            reply = self._receive(max(0.0, deadline - time.monotonic()))
            if reply is None:
                raise TimeoutError(method)
            if reply.get('id') == self.next_id:
                if 'error' in reply:
                    raise RuntimeError(method + ': ' + reply['error'].get('message', ''))
                return reply.get('result', {})
            self._note(reply)

    def pump(self, seconds=0.05):
        """Takes in the events that arrive within the time (a page that keeps talking must not
        keep the caller here)."""
        deadline = time.monotonic() + seconds
        while True:
            event = self._receive(max(0.0, deadline - time.monotonic()))
            if event is None:
                return
            self._note(event)

    def wait_for(self, condition, timeout):
        """Waits for the state the condition checks, taking in events meanwhile."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if condition():
                return True
            self.pump(0.1)
        return condition()

    def navigate(self, url):
        self.call('Page.navigate', {'url': url}, session=True)

    def reload(self):
        self.call('Page.reload', {'ignoreCache': False}, session=True)

    def evaluate(self, expression):
        result = self.call('Runtime.evaluate', {'expression': expression, 'returnByValue': True,
                                                'awaitPromise': True}, session=True)
        if 'exceptionDetails' in result:
            raise RuntimeError(expression + ': ' + str(result['exceptionDetails'].get('text')))
        return result['result'].get('value')

    def key(self, key, code, key_code, text=None, shift=False):
        """A key pressed and let go, with its virtual key code."""
        modifiers = 8 if shift else 0
        base = {'key': key, 'code': code, 'windowsVirtualKeyCode': key_code, 'nativeVirtualKeyCode': key_code,
                'modifiers': modifiers}
        down = dict(base, type='keyDown' if text is None else 'keyDown')
        if text is not None:
            down['text'] = text
            down['unmodifiedText'] = text.lower()
        self.call('Input.dispatchKeyEvent', down, session=True)
        self.call('Input.dispatchKeyEvent', dict(base, type='keyUp'), session=True)

    def click(self, x, y, button='left'):
        for kind in ('mousePressed', 'mouseReleased'):
            self.call('Input.dispatchMouseEvent', {'type': kind, 'x': x, 'y': y, 'button': button,
                                                   'clickCount': 1}, session=True)

    def screenshot(self, left=None, top=None, width=None, height=None, scale=1):
        """The page, or the box of it given, as PNG bytes (scale 1 / the device's pixel ratio:
        a pixel a CSS pixel)."""
        params = {'format': 'png'}
        if left is not None:
            params['clip'] = {'x': left, 'y': top, 'width': width, 'height': height, 'scale': scale}
        return base64.b64decode(self.call('Page.captureScreenshot', params, session=True)['data'])

    def limit_storage(self, origin, size=None):
        """The origin's storage quota set to size bytes (None: as the browser has it)."""
        params = {'origin': origin}
        if size is not None:
            params['quotaSize'] = size
        self.call('Storage.overrideQuotaForOrigin', params, session=True)

    def allow_downloads(self, folder):
        self.call('Browser.setDownloadBehavior', {'behavior': 'allow', 'downloadPath': folder})

    def choose_file(self, selector, path):
        """Puts the file into the page's file input, as a player choosing it would."""
        root = self.call('DOM.getDocument', session=True)['root']['nodeId']
        node = self.call('DOM.querySelector', {'nodeId': root, 'selector': selector}, session=True)['nodeId']
        self.call('DOM.setFileInputFiles', {'files': [path], 'nodeId': node}, session=True)
