"""A local HTTP server for the updater's tests and benchmark, on 127.0.0.1.

Files are served from a folder. The first path component picks how the body is sent:

  /normal/NAME    the whole file with its Content-Length
  /nolength/NAME  the whole file, no Content-Length, the connection closed at its end
  /drop/NAME      Content-Length of the whole file, half of it, then the connection closed
  /stall/NAME     Content-Length of the whole file, half of it, then nothing for STALL_S
  /slow/NAME      Content-Length, then 4 KiB a quarter of a second until the end
  /missing/...    a 404 with a body, as servers send them

Every request is recorded with its path (fragments included, were any sent) and the times
its first and last byte of the body went out.

As a script: http_server.py ROOT PORT_FILE [LOG_FILE] serves ROOT until killed, after writing
its port to PORT_FILE; each request is appended to LOG_FILE as "path start end"."""
import http.server
import os
import socketserver
import sys
import threading
import time

STALL_S = 120


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, root, log_file=None):
        super().__init__(('127.0.0.1', 0), Handler)
        self.root = root
        self.log_file = log_file
        self.requests = []
        self.lock = threading.Lock()

    @property
    def port(self):
        return self.server_address[1]

    def record(self, path, start, end):
        with self.lock:
            self.requests.append((path, start, end))
            if self.log_file:
                with open(self.log_file, 'a') as f:
                    f.write(f'{path} {start:.6f} {end:.6f}\n')


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = 'HTTP/1.1'

    def log_message(self, *args):
        pass

    def do_GET(self):
        parts = self.path.lstrip('/').split('/', 1)
        mode, name = (parts + [''])[:2]
        path = os.path.join(self.server.root, name)
        start = time.time()
        if mode == 'missing' or not os.path.isfile(path):
            body = b'<html><body>404 Not Found</body></html>'
            self.send_response(404)
            self.send_header('Content-Type', 'text/html')
            self.send_header('Content-Length', str(len(body)))
            self.end_headers()
            self.wfile.write(body)
            self.server.record(self.path, start, time.time())
            return
        size = os.path.getsize(path)
        self.send_response(200)
        self.send_header('Content-Type', 'application/zip')
        if mode == 'nolength':
            self.send_header('Connection', 'close')
            self.close_connection = True
        else:
            self.send_header('Content-Length', str(size))
        self.end_headers()
        try:
            with open(path, 'rb') as f:
                if mode in ('normal', 'nolength'):
                    self.wfile.flush()
                    self.connection.sendfile(f)
                elif mode in ('drop', 'stall'):
                    self.wfile.write(f.read(size // 2))
                    self.wfile.flush()
                    if mode == 'stall':
                        time.sleep(STALL_S)
                    self.close_connection = True
                elif mode == 'slow':
                    while chunk := f.read(4096):
                        self.wfile.write(chunk)
                        self.wfile.flush()
                        time.sleep(0.25)
        except (BrokenPipeError, ConnectionResetError):
            self.close_connection = True
        self.server.record(self.path, start, time.time())


def start(root, log_file=None):
    """Serves root on a free port in a thread of this process; the caller shuts it down."""
    server = Server(root, log_file)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


if __name__ == '__main__':
    server = Server(sys.argv[1], sys.argv[3] if len(sys.argv) > 3 else None)
    with open(sys.argv[2] + '.tmp', 'w') as f:
        f.write(str(server.port))
    os.replace(sys.argv[2] + '.tmp', sys.argv[2])
    server.serve_forever()
