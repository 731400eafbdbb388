#!/usr/bin/env python3
"""A few WebDriver calls to chromedriver on 127.0.0.1, for the phone pages' end-to-end run.

usage: webdriver.py PORT new            -> prints the session id (a phone-sized headless Chromium)
       webdriver.py PORT go SID URL
       webdriver.py PORT text SID       -> the page's visible text
       webdriver.py PORT shot SID FILE  -> a PNG of the page
       webdriver.py PORT quit SID
"""
import base64
import json
import sys
import urllib.request


def call(port, method, path, body=None):
    data = None if body is None else json.dumps(body).encode()
    req = urllib.request.Request(f"http://127.0.0.1:{port}{path}", data=data, method=method,
                                 headers={"Content-Type": "application/json"})
    with urllib.request.urlopen(req, timeout=60) as r:
        return json.loads(r.read().decode() or "{}")


def main():
    port, what = sys.argv[1], sys.argv[2]
    if what == "new":
        caps = {"capabilities": {"alwaysMatch": {"goog:chromeOptions": {
            "binary": "/usr/bin/chromium",
            "args": ["--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                     "--window-size=390,844", "--lang=zh-CN"],
            "mobileEmulation": {"deviceMetrics": {"width": 390, "height": 844, "pixelRatio": 1}}}}}}
        print(call(port, "POST", "/session", caps)["value"]["sessionId"])
    elif what == "go":
        call(port, "POST", f"/session/{sys.argv[3]}/url", {"url": sys.argv[4]})
    elif what == "text":
        value = call(port, "POST", f"/session/{sys.argv[3]}/execute/sync",
                     {"script": "return document.body.innerText", "args": []})["value"]
        sys.stdout.write(value + "\n")
    elif what == "shot":
        png = call(port, "GET", f"/session/{sys.argv[3]}/screenshot")["value"]
        with open(sys.argv[4], "wb") as f:
            f.write(base64.b64decode(png))
    elif what == "quit":
        call(port, "DELETE", f"/session/{sys.argv[3]}")


if __name__ == "__main__":
    main()
