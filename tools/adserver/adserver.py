#!/usr/bin/env python3
"""A small ad server for the three banner networks of the slot, on the loopback address.

It serves, from the standard library only:
  /ad.php                        kestrel answers (image banners in turn, now and then a web banner)
  /admob/ad, /iad/ad             the two other networks' answers (the platform's own fills every
                                 other request, so the chain of networks can be watched turning)
  /img/banner?w=&h=&n=&net=      a banner picture of that many pixels
  /img/common/optout/icon.png    the opt-out icon (and icon@2x.png)
  /img/notimage, /img/huge       bytes that are not a picture, and a picture far too large
  /web/banner?n=                 a web banner; /landing?ad= the page an ad opens
  /privacy/optsdkgate            the privacy page
Tests script the next answers of a route with POST /script/<route> (a JSON list of
{"status": 200, "json": {...}}, {"status": 200, "body": "raw text"} or {"body_hex": "7b7d"}), read what was asked
with GET /requests, and start afresh with POST /reset.

usage: adserver.py [--port N] [--host 127.0.0.1]   (port 0: any free port)
It prints "adserver listening on http://HOST:PORT" once it accepts requests.
"""

import argparse
import json
import os
import socket
import struct
import sys
import threading
import time
import zlib
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import parse_qs, urlsplit

# A 5 x 7 pixel font: each glyph is seven rows of five bits.
FONT = {
    'A': "01110 10001 10001 11111 10001 10001 10001", 'B': "11110 10001 10001 11110 10001 10001 11110",
    'C': "01110 10001 10000 10000 10000 10001 01110", 'D': "11110 10001 10001 10001 10001 10001 11110",
    'E': "11111 10000 10000 11110 10000 10000 11111", 'F': "11111 10000 10000 11110 10000 10000 10000",
    'G': "01110 10001 10000 10111 10001 10001 01111", 'H': "10001 10001 10001 11111 10001 10001 10001",
    'I': "01110 00100 00100 00100 00100 00100 01110", 'J': "00111 00010 00010 00010 00010 10010 01100",
    'K': "10001 10010 10100 11000 10100 10010 10001", 'L': "10000 10000 10000 10000 10000 10000 11111",
    'M': "10001 11011 10101 10101 10001 10001 10001", 'N': "10001 10001 11001 10101 10011 10001 10001",
    'O': "01110 10001 10001 10001 10001 10001 01110", 'P': "11110 10001 10001 11110 10000 10000 10000",
    'Q': "01110 10001 10001 10001 10101 10010 01101", 'R': "11110 10001 10001 11110 10100 10010 10001",
    'S': "01111 10000 10000 01110 00001 00001 11110", 'T': "11111 00100 00100 00100 00100 00100 00100",
    'U': "10001 10001 10001 10001 10001 10001 01110", 'V': "10001 10001 10001 10001 10001 01010 00100",
    'W': "10001 10001 10001 10101 10101 10101 01010", 'X': "10001 10001 01010 00100 01010 10001 10001",
    'Y': "10001 10001 01010 00100 00100 00100 00100", 'Z': "11111 00001 00010 00100 01000 10000 11111",
    '0': "01110 10001 10011 10101 11001 10001 01110", '1': "00100 01100 00100 00100 00100 00100 01110",
    '2': "01110 10001 00001 00010 00100 01000 11111", '3': "11111 00010 00100 00010 00001 10001 01110",
    '4': "00010 00110 01010 10010 11111 00010 00010", '5': "11111 10000 11110 00001 00001 10001 01110",
    '6': "00110 01000 10000 11110 10001 10001 01110", '7': "11111 00001 00010 00100 01000 01000 01000",
    '8': "01110 10001 10001 01110 10001 10001 01110", '9': "01110 10001 10001 01111 00001 00010 01100",
    ' ': "00000 00000 00000 00000 00000 00000 00000", '-': "00000 00000 00000 11111 00000 00000 00000",
    '!': "00100 00100 00100 00100 00100 00000 00100", '.': "00000 00000 00000 00000 00000 01100 01100",
}

COLOURS = {
    'kestrel': [(0xd9, 0x5b, 0x2b), (0x2b, 0x7a, 0xd9), (0x3c, 0xa5, 0x5c)],
    'admob': [(0x42, 0x85, 0xf4), (0x0f, 0x9d, 0x58), (0xf4, 0xb4, 0x00)],
    'iad': [(0x55, 0x55, 0x5a), (0x8e, 0x44, 0xad), (0x16, 0xa0, 0x85)],
}
SLOGANS = {
    'kestrel': ["KESTREL AD", "FLY WITH KESTREL", "KESTREL DEALS"],
    'admob': ["ADMOB BANNER", "ADMOB SALE", "ADMOB NEWS"],
    'iad': ["IAD BANNER", "IAD MUSIC", "IAD TRAVEL"],
}

MAX_SIDE = 2000


def png(width, height, row):
    """Encodes a picture of width x height; row(y) gives the row's RGB bytes."""
    rows = bytearray()
    for y in range(height):
        rows.append(0)
        rows.extend(row(y))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xffffffff)

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(rows), 6)) + chunk(b"IEND", b"")


def painted_rows(width, background, mask, ox, oy):
    """row(y) for a picture of background rows with the text's lit pixels in white."""
    by_row = {}
    for (x, y) in mask:
        by_row.setdefault(y + oy, []).append(x + ox)

    def row(y):
        line = bytearray(background(y) * width)
        for x in by_row.get(y, ()):
            if 0 <= x < width:
                line[3 * x:3 * x + 3] = b"\xff\xff\xff"
        return line

    return row


def text_mask(text, scale):
    """The set of lit pixels of the text in the 5 x 7 font, and its size."""
    lit = set()
    x0 = 0
    for ch in text.upper():
        rows = FONT.get(ch, FONT[' ']).split()
        for ry, row in enumerate(rows):
            for rx, bit in enumerate(row):
                if bit == '1':
                    for dy in range(scale):
                        for dx in range(scale):
                            lit.add((x0 + rx * scale + dx, ry * scale + dy))
        x0 += 6 * scale
    return lit, max(0, x0 - scale), 7 * scale


def banner_png(width, height, net, n):
    colours = COLOURS.get(net, COLOURS['kestrel'])
    base = colours[n % len(colours)]
    slogans = SLOGANS.get(net, SLOGANS['kestrel'])
    text = "%s %d" % (slogans[n % len(slogans)], n)
    scale = max(1, min(height // 12, width // (6 * len(text) + 6)))
    mask, tw, th = text_mask(text, scale)
    ox, oy = (width - tw) // 2, (height - th) // 2

    def background(y):
        shade = 0.75 + 0.25 * (1 - y / max(1, height - 1))
        return bytes(int(c * shade) for c in base)

    return png(width, height, painted_rows(width, background, mask, ox, oy))


def icon_png(scale):
    width, height = 90 * scale, 12 * scale
    mask, tw, th = text_mask("AD OPT-OUT", scale)
    ox, oy = width - tw - 2 * scale, (height - th) // 2
    left = 30 * scale

    def background(y):
        return b"\x60\x60\x66"

    row = painted_rows(width, background, mask, ox, oy)

    def with_panel(y):
        line = row(y)
        line[3 * left:] = bytearray(b"\x9a\x9a\xa0" * (width - left))
        for (x, my) in mask:
            if my + oy == y and 0 <= x + ox < width:
                line[3 * (x + ox):3 * (x + ox) + 3] = b"\xff\xff\xff"
        return line

    return png(width, height, with_panel)


class State:
    def __init__(self):
        self.lock = threading.Lock()
        self.reset()

    def reset(self):
        self.scripts = {}
        self.requests = []
        self.counters = {}
        self.pictures = {}

    def next_count(self, route):
        value = self.counters.get(route, 0)
        self.counters[route] = value + 1
        return value


STATE = State()


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "TessaroAdServer/1.0"

    def setup(self):
        super().setup()
        # Headers and body go out in two writes; without this each answer would wait for
        # the client's delayed acknowledgement.
        self.connection.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)

    def log_message(self, *args):
        pass

    def origin(self):
        host, port = self.server.server_address[:2]
        return "http://%s:%d" % (host, port)

    def send(self, status, body, kind="application/json"):
        if isinstance(body, str):
            body = body.encode("utf-8")
        self.send_response(status)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "no-store")
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)

    def send_json(self, value, status=200):
        self.send(status, json.dumps(value))

    def scripted(self, route):
        with STATE.lock:
            queue = STATE.scripts.get(route)
            if queue:
                return queue.pop(0)
        return None

    def serve_scripted(self, answer):
        status = int(answer.get("status", 200))
        if "json" in answer:
            self.send(status, json.dumps(answer["json"]))
        elif "body_hex" in answer:
            self.send(status, bytes.fromhex(answer["body_hex"]), answer.get("type", "application/json"))
        else:
            self.send(status, answer.get("body", ""), answer.get("type", "application/json"))

    def do_POST(self):
        url = urlsplit(self.path)
        length = int(self.headers.get("Content-Length", "0") or 0)
        body = self.rfile.read(length) if length > 0 else b""
        if url.path == "/reset":
            with STATE.lock:
                STATE.reset()
            self.send_json({"ok": True})
            return
        if url.path.startswith("/script/"):
            try:
                answers = json.loads(body.decode("utf-8"))
                assert isinstance(answers, list)
            except Exception:
                self.send_json({"ok": False, "error": "a JSON list of answers is expected"}, 400)
                return
            with STATE.lock:
                STATE.scripts.setdefault(url.path[len("/script/"):], []).extend(answers)
            self.send_json({"ok": True})
            return
        self.send(404, "not here", "text/plain")

    def do_GET(self):
        url = urlsplit(self.path)
        query = {k: v[-1] for k, v in parse_qs(url.query, keep_blank_values=True).items()}
        if url.path == "/requests":
            with STATE.lock:
                self.send_json(STATE.requests)
            return
        with STATE.lock:
            STATE.requests.append({"path": url.path, "query": url.query})
        route = {"/ad.php": "ad.php", "/admob/ad": "admob", "/iad/ad": "iad"}.get(url.path)
        if route:
            answer = self.scripted(route)
            if answer is not None:
                self.serve_scripted(answer)
            elif route == "ad.php":
                self.kestrel_answer(query)
            else:
                self.network_answer(route, query)
            return
        if url.path == "/img/banner":
            self.banner_picture(query)
        elif url.path in ("/img/common/optout/icon.png", "/img/common/optout/icon@2x.png"):
            scale = 2 if "@2x" in url.path else 1
            key = "icon%d" % scale
            with STATE.lock:
                picture = STATE.pictures.get(key)
            if picture is None:
                picture = icon_png(scale)
                with STATE.lock:
                    STATE.pictures[key] = picture
            self.send(200, picture, "image/png")
        elif url.path == "/img/notimage":
            self.send(200, b"this is not a picture", "image/png")
        elif url.path == "/img/huge":
            self.send(200, b"\x89PNG\r\n\x1a\n" + b"\0" * (6 * 1024 * 1024), "image/png")
        elif url.path == "/web/banner":
            self.web_banner(query)
        elif url.path == "/landing":
            ad = query.get("ad", "")
            self.send(200, "<html><head><title>Thank you for visiting</title></head><body><h1>%s</h1>"
                           "<p>This is the page the banner leads to.</p></body></html>" % escape(ad), "text/html; charset=utf-8")
        elif url.path == "/privacy/optsdkgate":
            self.send(200, "<html><head><title>Ad privacy</title></head><body><h1>Ad privacy</h1>"
                           "<p>Ads on this device are chosen by its applications. You can turn off ads "
                           "based on your interests here.</p><p><a href=\"/privacy/optout\">Opt out</a></p></body></html>",
                      "text/html; charset=utf-8")
        else:
            self.send(404, "not here", "text/plain")

    do_HEAD = do_GET

    def kestrel_answer(self, query):
        with STATE.lock:
            n = STATE.next_count("ad.php")
        origin = self.origin()
        if n % 4 == 3:
            self.send_json({"status_code": 200, "response_type": 2, "reload": 20, "width": 320, "height": 50,
                            "web_view_url": "%s/web/banner?n=%d" % (origin, n)})
            return
        self.send_json({
            "status_code": 200, "response_type": 1, "reload": 15, "width": 320, "height": 50,
            "default_ad": {"image_url": "%s/img/banner?w=640&h=100&net=kestrel&n=%d" % (origin, n),
                           "click_url": "%s/landing?ad=kestrel-%d" % (origin, n)},
        })

    def network_answer(self, route, query):
        with STATE.lock:
            n = STATE.next_count(route)
        # The platform's own network fills every other request.
        if route == "iad" and n % 2 == 1:
            self.send(204, b"", "text/plain")
            return
        scale = 2 if query.get("scale") == "2" else 1
        origin = self.origin()
        self.send_json({"image_url": "%s/img/banner?w=%d&h=%d&net=%s&n=%d" % (origin, 320 * scale, 50 * scale, route, n),
                        "click_url": "%s/landing?ad=%s-%d" % (origin, route, n),
                        "refresh": 30})

    def banner_picture(self, query):
        try:
            width, height = int(query.get("w", "320")), int(query.get("h", "50"))
            n = int(query.get("n", "0"))
        except ValueError:
            self.send(400, "bad size", "text/plain")
            return
        if not (0 < width <= MAX_SIDE and 0 < height <= MAX_SIDE):
            self.send(400, "bad size", "text/plain")
            return
        net = query.get("net", "kestrel")
        key = (width, height, net, n % 3)
        with STATE.lock:
            picture = STATE.pictures.get(key)
        if picture is None:
            picture = banner_png(width, height, net, n)
            with STATE.lock:
                STATE.pictures[key] = picture
        self.send(200, picture, "image/png")

    def web_banner(self, query):
        n = int(query.get("n", "0")) if query.get("n", "0").isdigit() else 0
        colours = ["#1d3557", "#6a040f", "#2d6a4f"]
        self.send(200, "<html><head><title>kestrel web banner</title></head>"
                       "<body style=\"margin:0;background-color:%s\">"
                       "<table width=\"100%%\" cellspacing=\"0\" cellpadding=\"14\" bgcolor=\"%s\"><tr><td align=\"center\">"
                       "<a href=\"/landing?ad=web-%d\" style=\"color:#ffffff;font-size:16px;font-weight:bold;text-decoration:none\">"
                       "Web banner %d &#8212; touch to visit</a></td></tr></table></body></html>"
                  % (colours[n % 3], colours[n % 3], n, n), "text/html; charset=utf-8")


def escape(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


class QuietServer(ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        # A banner client that goes away in the middle of a download is no fault of ours.
        if isinstance(sys.exc_info()[1], (BrokenPipeError, ConnectionResetError)):
            return
        super().handle_error(request, client_address)


def main():
    parser = argparse.ArgumentParser(description="Serves banners of the three networks on the loopback address.")
    parser.add_argument("--port", type=int, default=8080)
    parser.add_argument("--host", default="127.0.0.1")
    options = parser.parse_args()
    server = QuietServer((options.host, options.port), Handler)
    server.daemon_threads = True
    host, port = server.server_address[:2]
    # A server whose starter is gone (a test program killed half-way) goes with it instead of
    # holding its port for good.
    parent = os.getppid()

    def watch_parent():
        while os.getppid() == parent:
            time.sleep(1)
        os._exit(0)

    threading.Thread(target=watch_parent, daemon=True).start()
    print("adserver listening on http://%s:%d" % (host, port), flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()


if __name__ == "__main__":
    sys.exit(main())
