#!/usr/bin/python3
"""Local HTTPS site for Tavlo's tests and demo.

Serves a folder of documents on port 443 over TLS only, with a CA made for this run and trusted
by the host for as long as the site runs. Every request is appended to <state>/requests.log as
one line: method, path with query, user agent and Host header, separated by tabs.

Files:
  name.sjis.ext      stored as UTF-8, served as Shift-JIS (code page 932)
  name.eucjp.ext     stored as UTF-8, served as EUC-JP
  name.ext@query     served for "name.ext?query" (e.g. "a.html@page=2"); a document that has
                     such variants answers 404 for any other query
  missing files      404 with an HTML page

Faults, chosen by path:
  /_fault/empty                 200 with an empty body
  /_fault/slow/<file>           <file> in pieces of 1 KiB, 0.2 s apart (?delay=seconds)
  /_fault/trickle/<file>        <file> one byte at a time, 1 s apart (?delay=seconds)
  /_fault/cut/<file>            announces the whole <file> but closes halfway through
  /_fault/big?bytes=N           N bytes (default 5 MiB), byte i is 'a' + i % 26
  /_fault/nul                   the body "before\\0after"
  /_fault/silent?seconds=N      reads the request, answers nothing, closes after N s (90)
  /_fault/unknown-ca?count=N    the next N connections get a certificate from a CA that
                                nobody trusts (default 1); answers "armed"
  /_fault/redirect?to=A         a 302 (?status=N) whose Location is A (without it, the
                                request's own path), with a small body
"""

import argparse
import fcntl
import glob
import http.server
import os
import shutil
import signal
import socket
import ssl
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse

TRUST_DIR = "/usr/local/share/ca-certificates"
TRUST_PREFIX = "tavlo-test-site-"
TRUST_LOCK = "/run/lock/tavlo-test-site-ca.lock"

NOT_FOUND_PAGE = (
    b"<!DOCTYPE html>\n<html><head><meta charset=\"UTF-8\"><title>404 Not Found</title></head>\n"
    b"<body><h1>Not Found</h1><p>The requested document does not exist.</p></body></html>\n")


def log(message):
    print("site: " + message, file=sys.stderr, flush=True)


def openssl(*args):
    subprocess.run(["openssl", *args], check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.PIPE)


def make_ca(folder, name, label):
    key, crt = os.path.join(folder, name + ".key"), os.path.join(folder, name + ".crt")
    openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", crt,
            "-days", "2", "-subj", "/CN=" + label,
            "-addext", "basicConstraints=critical,CA:TRUE",
            "-addext", "keyUsage=critical,keyCertSign,cRLSign")
    return key, crt


def make_server_cert(folder, name, ca_key, ca_crt):
    key, csr = os.path.join(folder, name + ".key"), os.path.join(folder, name + ".csr")
    crt, ext = os.path.join(folder, name + ".crt"), os.path.join(folder, name + ".ext")
    with open(ext, "w") as f:
        f.write("basicConstraints=CA:FALSE\n"
                "keyUsage=critical,digitalSignature,keyEncipherment\n"
                "extendedKeyUsage=serverAuth\n"
                "subjectAltName=DNS:localhost,IP:127.0.0.1\n")
    openssl("req", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", csr,
            "-subj", "/CN=localhost")
    openssl("x509", "-req", "-in", csr, "-CA", ca_crt, "-CAkey", ca_key, "-CAcreateserial",
            "-out", crt, "-days", "2", "-sha256", "-extfile", ext)
    return key, crt


def tls_context(key, crt, ca_crt):
    ctx = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    # Send the whole chain so clients see the CA that issued the leaf.
    chain = crt + ".chain"
    with open(chain, "wb") as out:
        for part in (crt, ca_crt):
            with open(part, "rb") as f:
                out.write(f.read())
    ctx.load_cert_chain(chain, key)
    return ctx


class TrustStore:
    """Puts the run's CA into the host's trust store and takes it out again."""

    def __init__(self, ca_crt):
        self.path = os.path.join(TRUST_DIR, "%s%d.crt" % (TRUST_PREFIX, os.getpid()))
        self.ca_crt = ca_crt
        self.installed = False

    @staticmethod
    def _change(edit):
        """Edits the folder of CAs and updates the store under one lock shared by every site on
        the host (sites in other network namespaces run at the same time): a file taken away
        while another site's update reads the folder makes that update fail."""
        os.makedirs(os.path.dirname(TRUST_LOCK), exist_ok=True)
        with open(TRUST_LOCK, "w") as lock:
            fcntl.flock(lock, fcntl.LOCK_EX)
            edit()
            subprocess.run(["update-ca-certificates"], check=True,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def install(self):
        def add():
            os.makedirs(TRUST_DIR, exist_ok=True)
            # CAs left behind by sites that were killed: their process is gone.
            for stale in glob.glob(os.path.join(TRUST_DIR, TRUST_PREFIX + "*.crt")):
                pid = os.path.basename(stale)[len(TRUST_PREFIX):-4]
                if pid.isdigit() and not os.path.exists("/proc/" + pid):
                    os.remove(stale)
            shutil.copyfile(self.ca_crt, self.path)
        self.installed = True
        self._change(add)

    def remove(self):
        if not self.installed:
            return
        self.installed = False

        def take_out():
            try:
                os.remove(self.path)
            except FileNotFoundError:
                pass
        self._change(take_out)


class Site(http.server.ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, port, docroot, log_path, trusted, untrusted):
        self.docroot = os.path.realpath(docroot)
        self.trusted, self.untrusted = trusted, untrusted
        self.unknown_ca_armed = 0
        self.lock = threading.Lock()
        self.log_file = open(log_path, "a", encoding="utf-8")
        super().__init__(("", port), Handler)

    def finish_request(self, request, client_address):
        # The handshake runs here, on the request's own thread, so that a client that stalls
        # in it holds up nobody else.
        with self.lock:
            ctx = self.trusted
            if self.unknown_ca_armed > 0:
                self.unknown_ca_armed -= 1
                ctx = self.untrusted
        request.settimeout(120)
        try:
            tls = ctx.wrap_socket(request, server_side=True)
        except (ssl.SSLError, OSError):
            return
        try:
            Handler(tls, client_address, self)
        except (OSError, ValueError):
            pass  # the client went away mid-answer (e.g. it had read all it wanted)
        finally:
            try:
                tls.close()
            except OSError:
                pass

    def record(self, line):
        with self.lock:
            self.log_file.write(line + "\n")
            self.log_file.flush()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"
    server_version = "TavloTestSite"
    sys_version = ""

    def log_message(self, format, *args):
        pass

    def do_HEAD(self):
        self.do_GET()

    def do_GET(self):
        self.server.record("\t".join([self.command, self.path,
                                      self.headers.get("User-Agent", ""),
                                      self.headers.get("Host", "")]))
        url = urllib.parse.urlsplit(self.path)
        query = urllib.parse.parse_qs(url.query)
        path = urllib.parse.unquote(url.path)

        def number(key, default, kind=int):
            try:
                return kind(query[key][0])
            except (KeyError, ValueError):
                return default

        if path == "/_fault/empty":
            return self.send_body(b"")
        if path == "/_fault/nul":
            return self.send_body(b"before\0after")
        if path == "/_fault/big":
            size = max(0, number("bytes", 5 * 1024 * 1024))
            line = bytes(range(ord("a"), ord("a") + 26))
            body = (line * (size // 26 + 1))[:size]
            return self.send_body(body, "application/octet-stream")
        if path == "/_fault/silent":
            time.sleep(max(0.0, number("seconds", 90.0, float)))
            self.close_connection = True
            return None
        if path == "/_fault/unknown-ca":
            with self.server.lock:
                self.server.unknown_ca_armed = max(1, number("count", 1))
            return self.send_body(b"armed", "text/plain")
        if path == "/_fault/redirect":
            return self.send_redirect(query.get("to", [self.path])[0], number("status", 302))
        if path.startswith("/_fault/slow/"):
            body = self.read_document(path[len("/_fault/slow"):], url.query)
            if body is None:
                return self.send_body(NOT_FOUND_PAGE, status=404)
            return self.send_slowly(body, number("delay", 0.2, float))
        if path.startswith("/_fault/trickle/"):
            body = self.read_document(path[len("/_fault/trickle"):], url.query)
            if body is None:
                return self.send_body(NOT_FOUND_PAGE, status=404)
            return self.send_slowly(body, number("delay", 1.0, float), piece=1)
        if path.startswith("/_fault/cut/"):
            body = self.read_document(path[len("/_fault/cut"):], url.query)
            if body is None:
                return self.send_body(NOT_FOUND_PAGE, status=404)
            return self.send_cut(body)
        body = self.read_document(path, url.query)
        if body is None:
            return self.send_body(NOT_FOUND_PAGE, status=404)
        return self.send_body(body, content_type(path))

    def read_document(self, path, query):
        base = os.path.realpath(os.path.join(self.server.docroot, path.lstrip("/")))
        if base != self.server.docroot and not base.startswith(self.server.docroot + os.sep):
            return None
        if os.path.isdir(base):
            base = os.path.join(base, "index.html")
        candidates = [base]
        if query:
            # A document with variants by query ("a.html@page=2") has no page for any other
            # query: "a.html?page=9" is missing, as on a real site.
            variants = glob.glob(glob.escape(base) + "@*")
            candidates = [base + "@" + query] + ([] if variants else [base])
        for name in candidates:
            if os.path.isfile(name):
                with open(name, "rb") as f:
                    data = f.read()
                if ".sjis." in os.path.basename(base):
                    data = data.decode("utf-8").encode("cp932")
                elif ".eucjp." in os.path.basename(base):
                    data = data.decode("utf-8").encode("euc_jp")
                return data
        return None

    def start(self, status, length, content_type):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(length))
        self.send_header("Connection", "close")
        self.end_headers()

    def send_body(self, body, content_type="text/html", status=200):
        self.start(status, len(body), content_type)
        if self.command != "HEAD":
            self.wfile.write(body)

    def send_redirect(self, location, status):
        body = b"<html><body>moved</body></html>"
        self.send_response(status)
        self.send_header("Location", location)
        self.send_header("Content-Type", "text/html")
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Connection", "close")
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)

    def send_slowly(self, body, delay, piece=1024):
        self.start(200, len(body), "text/html")
        for at in range(0, len(body), piece):
            self.wfile.write(body[at:at + piece])
            self.wfile.flush()
            time.sleep(delay)

    def send_cut(self, body):
        self.start(200, len(body), "text/html")
        self.wfile.write(body[:len(body) // 2])
        self.wfile.flush()
        # Drop the connection without a TLS close, as a broken network does.
        self.connection.shutdown(socket.SHUT_RDWR)
        self.close_connection = True


def content_type(path):
    if path.endswith((".html", ".htm")) or path.endswith("/"):
        return "text/html"
    if path.endswith((".xml", ".rdf", ".rss")):
        return "application/xml"
    return "text/plain"


def bind(port, args, trusted, untrusted, wait):
    deadline = time.monotonic() + wait
    said = False
    while True:
        try:
            return Site(port, args.docroot, os.path.join(args.state, "requests.log"),
                        trusted, untrusted)
        except OSError as e:
            if time.monotonic() >= deadline:
                log("port %d is still in use after %d s (%s); see `ss -ltnp 'sport = :%d'`"
                    % (port, wait, e.strerror, port))
                sys.exit(3)
            if not said:
                log("port %d is in use, waiting up to %d s for it" % (port, wait))
                said = True
            time.sleep(0.5)


def main():
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("--docroot", required=True)
    p.add_argument("--state", required=True, help="folder for the log and the ready mark")
    p.add_argument("--port", type=int, default=443)
    p.add_argument("--wait", type=int, default=120, help="seconds to wait for a busy port")
    p.add_argument("--lifetime", type=float, default=0, help="stop after this many s (0: never)")
    args = p.parse_args()

    os.makedirs(args.state, exist_ok=True)
    for name in ("ready", "ca.crt"):
        try:
            os.remove(os.path.join(args.state, name))
        except FileNotFoundError:
            pass

    keys = tempfile.mkdtemp(prefix="tavlo-site-keys-")
    store = None
    site = None
    serving = None
    stop = threading.Event()
    signal.signal(signal.SIGTERM, lambda *_: stop.set())
    signal.signal(signal.SIGINT, lambda *_: stop.set())
    try:
        stamp = time.strftime("%Y%m%d-%H%M%S")
        ca_key, ca_crt = make_ca(keys, "ca", "Tavlo test site CA %s-%d" % (stamp, os.getpid()))
        key, crt = make_server_cert(keys, "localhost", ca_key, ca_crt)
        other_key, other_crt = make_ca(keys, "other-ca", "Untrusted CA %s" % stamp)
        bad_key, bad_crt = make_server_cert(keys, "localhost-other", other_key, other_crt)
        trusted = tls_context(key, crt, ca_crt)
        untrusted = tls_context(bad_key, bad_crt, other_crt)

        site = bind(args.port, args, trusted, untrusted, args.wait)
        store = TrustStore(ca_crt)
        store.install()
        shutil.copyfile(ca_crt, os.path.join(args.state, "ca.crt"))
        serving = threading.Thread(target=site.serve_forever, daemon=True)
        serving.start()
        with open(os.path.join(args.state, "ready"), "w") as f:
            f.write("%d\n" % os.getpid())
        log("serving %s on https://localhost:%d/ (log %s)"
            % (site.docroot, args.port, os.path.join(args.state, "requests.log")))
        stop.wait(args.lifetime if args.lifetime > 0 else None)
    finally:
        if serving is not None:
            site.shutdown()
        if site is not None:
            site.server_close()
        if store is not None:
            store.remove()
        shutil.rmtree(keys, ignore_errors=True)
        try:
            os.remove(os.path.join(args.state, "ready"))
        except FileNotFoundError:
            pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
