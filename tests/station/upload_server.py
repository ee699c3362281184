#!/usr/bin/python3
"""Stand-in for the production-data web service, loopback only, for the upload tests.

usage: upload_server.py <folder>
Prints the port it listens on (127.0.0.1, chosen by the system) as the first line. Every POST
is appended to <folder>/requests.jsonl as {"path", "content_type", "body_hex", "time" (local,
when it came), "time_ms" (the same in milliseconds since the epoch), "status" (the status it is
answered with)}; the answer is
taken from <folder>/reply.json just before: {"status": 200, "body": "...", "delay_s": 0,
"cut_after": n, "take_after_s": 0}; with "cut_after" the connection closes after n bytes of the
announced body; with "take_after_s" the service takes (and logs) the request that long after its
body came, and answers "delay_s" after that.
Lives as long as the test program that started it: it ends when its standard input closes (the
program closed it, or ended and the system closed it) or when that program is gone.
"""
import json
import os
import sys
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

FOLDER = sys.argv[1]
LOCK = threading.Lock()


class Handler(BaseHTTPRequestHandler):
    def do_POST(self):
        length = int(self.headers.get("Content-Length", "0"))
        body = self.rfile.read(length)
        # The answer is chosen before the request is logged: a request seen in the log has its
        # answer already, whatever reply.json says afterwards.
        try:
            with open(os.path.join(FOLDER, "reply.json"), encoding="utf-8") as f:
                reply = json.load(f)
        except (OSError, ValueError):
            reply = {}
        take_after = min(float(reply.get("take_after_s", 0)), 30.0)
        if take_after > 0:
            time.sleep(take_after)
        took = time.time()
        with LOCK:
            with open(os.path.join(FOLDER, "requests.jsonl"), "a", encoding="utf-8") as f:
                f.write(json.dumps({"path": self.path,
                                    "content_type": self.headers.get("Content-Type", ""),
                                    "body_hex": body.hex(),
                                    "time": time.strftime("%Y-%m-%d %H:%M:%S", time.localtime(took)),
                                    "time_ms": int(took * 1000),
                                    "status": int(reply.get("status", 200))}) + "\n")
        delay = min(float(reply.get("delay_s", 0)), 30.0)
        if delay > 0:
            time.sleep(delay)
        data = reply.get("body", '{"code":0,"msg":"ok"}').encode("utf-8")
        try:
            self.send_response(int(reply.get("status", 200)))
            self.send_header("Content-Type", "application/json")
            self.send_header("Content-Length", str(len(data)))
            self.end_headers()
            cut = reply.get("cut_after")
            self.wfile.write(data if cut is None else data[:int(cut)])
            self.close_connection = True
        except OSError:
            pass  # the client gave up

    def log_message(self, *args):
        pass


def main():
    # Room for many posts at once (the standard queue holds 5 connections waiting to be taken).
    ThreadingHTTPServer.request_queue_size = 128
    server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    print(server.server_address[1], flush=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()

    parent = os.getppid()

    def watch_stdin():
        sys.stdin.buffer.read()  # returns at the end of the input
        os._exit(0)

    threading.Thread(target=watch_stdin, daemon=True).start()
    # Whatever holds the input open, the server does not outlive the program that started it.
    while os.getppid() == parent:
        time.sleep(1)
    os._exit(0)


if __name__ == "__main__":
    main()
