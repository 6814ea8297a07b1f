"""A web server on 127.0.0.1 for pages that the launcher's view opens, which notes every
request, so that a page can tell the test what it did (through requests it makes)."""

import http.server
import threading
import time
import urllib.parse


class PageServer:
    def __init__(self, pages):
        # path -> HTML text, or (HTML text, {header: value}) for a page with headers of its own
        self.pages = pages
        self.requests = []  # (path, query) in the order they came
        self._changed = threading.Condition()
        server = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                address = urllib.parse.urlsplit(self.path)
                with server._changed:
                    server.requests.append((address.path, urllib.parse.parse_qs(address.query)))
                    server._changed.notify_all()
                page = server.pages.get(address.path, "<!DOCTYPE html><title>noted</title>")
                text, headers = page if isinstance(page, tuple) else (page, {})
                body = text.encode()
                self.send_response(200)
                self.send_header("Content-Type", "text/html; charset=utf-8")
                for name, value in headers.items():
                    self.send_header(name, value)
                self.send_header("Content-Length", str(len(body)))
                self.send_header("Cache-Control", "no-store")
                self.end_headers()
                self.wfile.write(body)

            def log_message(self, *args):
                pass

        self._http = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.port = self._http.server_address[1]
        self._thread = threading.Thread(target=self._http.serve_forever, daemon=True)
        self._thread.start()

    def url(self, path):
        return f"http://127.0.0.1:{self.port}{path}"

    def wait_request(self, predicate, timeout, what):
        """The first request that predicate accepts, waiting for it at most timeout seconds."""
        deadline = time.monotonic() + timeout
        with self._changed:
            while True:
                for request in self.requests:
                    if predicate(*request):
                        return request
                left = deadline - time.monotonic()
                if left <= 0:
                    seen = ", ".join(path for path, _ in self.requests) or "nothing"
                    raise AssertionError(f"gave up after {timeout} s waiting for {what}; the server saw: {seen}")
                self._changed.wait(left)

    def close(self):
        self._http.shutdown()
        self._http.server_close()
