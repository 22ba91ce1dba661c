"""Headless Chromium driven over its DevTools protocol, for the tests that look at
the ranking site in a real browser (the site's own and the end-to-end test)."""

import base64
import itertools
import json
import os
import subprocess
import urllib.request

import websocket

from sitefixture import wait_until


class Browser:
    def __init__(self, profile):
        self.proc = subprocess.Popen(
            ["chromium", "--headless", "--disable-gpu", "--no-sandbox", "--no-first-run",
             "--remote-debugging-port=0", "--remote-debugging-address=127.0.0.1",
             "--user-data-dir=" + profile, "--window-size=900,1100", "--lang=ja", "about:blank"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        port_file = os.path.join(profile, "DevToolsActivePort")
        if not wait_until(lambda: os.path.exists(port_file) and open(port_file).read().strip(), 30):
            raise RuntimeError("Chromium did not open its DevTools port")
        port = int(open(port_file).read().split()[0])
        targets = json.load(urllib.request.urlopen("http://127.0.0.1:%d/json/list" % port, timeout=10))
        page = next(t for t in targets if t["type"] == "page")
        self.ws = websocket.create_connection(page["webSocketDebuggerUrl"], timeout=30)
        self.ids = itertools.count(1)

    def call(self, method, **params):
        id = next(self.ids)
        self.ws.send(json.dumps({"id": id, "method": method, "params": params}))
        while True:
            msg = json.loads(self.ws.recv())
            if msg.get("id") == id:
                if "error" in msg:
                    raise RuntimeError("%s: %s" % (method, msg["error"]))
                return msg.get("result", {})

    def eval(self, expression):
        result = self.call("Runtime.evaluate", expression=expression, returnByValue=True)
        return result["result"].get("value")

    def wait_for(self, expression, seconds=15):
        if not wait_until(lambda: self.eval(expression), seconds):
            raise AssertionError("never became true: " + expression)

    def open(self, url):
        self.call("Page.navigate", url=url)
        self.wait_for("document.readyState === 'complete' && location.href.startsWith(%s)" % json.dumps(url))

    def screenshot(self, path):
        data = self.call("Page.captureScreenshot", format="png", captureBeyondViewport=True)["data"]
        with open(path, "wb") as f:
            f.write(base64.b64decode(data))
        print("screenshot:", path)

    def close(self):
        try:
            self.ws.close()
        finally:
            self.proc.terminate()
            self.proc.wait(timeout=15)
