#!/usr/bin/env python3
"""Runs a command beside a local HTTP server for the Windows tests, which find it
through QB_TEST_HTTP_PORT. Paths: /echo answers with the request line and headers as
received; /manifest a small body; /notfound a 404 page; /empty a 200 without a body;
/big 20 MiB."""
import http.server
import os
import socketserver
import subprocess
import sys
import threading


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = 'HTTP/1.0'

    def log_message(self, *args):
        pass

    def send_body(self, status, body):
        self.send_response(status)
        self.send_header('Content-Length', str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        path = self.path
        if path.startswith('/echo'):
            lines = [self.requestline] + [f'{name}: {value}' for name, value in self.headers.items()]
            self.send_body(200, ''.join(line + '\r\n' for line in lines).encode('latin-1'))
        elif path == '/manifest':
            self.send_body(200, b'<root a="1"/>')
        elif path == '/notfound':
            self.send_body(404, b'<html><body>404 Not Found</body></html>')
        elif path == '/empty':
            self.send_body(200, b'')
        elif path == '/big':
            self.send_response(200)
            self.send_header('Content-Length', str(20 << 20))
            self.end_headers()
            chunk = b'x' * 65536
            try:
                for _ in range((20 << 20) // len(chunk)):
                    self.wfile.write(chunk)
            except (BrokenPipeError, ConnectionResetError):
                pass
        else:
            self.send_body(404, b'')


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True


def main():
    server = Server(('127.0.0.1', 0), Handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    env = dict(os.environ, QB_TEST_HTTP_PORT=str(server.server_address[1]))
    code = subprocess.call(sys.argv[1:], env=env)
    server.shutdown()
    sys.exit(code)


if __name__ == '__main__':
    main()
