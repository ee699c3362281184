#!/usr/bin/python3
"""A loopback FTP server for the upload tests.

Usage: ftp_server.py ROOT WRITER_PASSWORD READER_PASSWORD [stall|pause]
Serves ROOT on 127.0.0.1 on a free port with the accounts "writer" (full rights) and
"reader" (list and read only), prints "PORT <n>" once it listens, and stops when its
standard input closes or it is killed. With "stall" the server takes the first block of an
upload and then reads nothing more, like a server that hangs in the middle of a transfer;
with "pause" it takes the first block of the first upload, makes the file ROOT.paused and
waits (20 s at most) for the file ROOT.go before it reads on.
"""
import os
import sys
import threading
import time

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer


def pausing_dtp(root):
    class PausingDTPHandler(DTPHandler):
        paused = False

        def recv(self, buffer_size):
            chunk = DTPHandler.recv(self, buffer_size)
            if chunk and not PausingDTPHandler.paused:
                PausingDTPHandler.paused = True
                open(root + ".paused", "w").close()
                deadline = time.time() + 20
                while not os.path.exists(root + ".go") and time.time() < deadline:
                    time.sleep(0.02)
            return chunk

    return PausingDTPHandler


def main():
    root, writer_password, reader_password = sys.argv[1:4]
    authorizer = DummyAuthorizer()
    authorizer.add_user("writer", writer_password, root, perm="elradfmwMT")
    authorizer.add_user("reader", reader_password, root, perm="elr")
    handler = FTPHandler
    handler.authorizer = authorizer
    handler.timeout = 30
    handler.auth_failed_timeout = 0.2
    mode = sys.argv[4] if len(sys.argv) > 4 else ""
    if mode == "stall":
        dtp = ThrottledDTPHandler
        dtp.read_limit = 1  # bytes per second: after the first block the next read waits for days
        handler.dtp_handler = dtp
    elif mode == "pause":
        handler.dtp_handler = pausing_dtp(root)
    server = FTPServer(("127.0.0.1", 0), handler)
    print("PORT %d" % server.socket.getsockname()[1], flush=True)

    def stop_when_stdin_closes():
        sys.stdin.read()
        server.close_all()

    threading.Thread(target=stop_when_stdin_closes, daemon=True).start()
    server.serve_forever(timeout=0.2, handle_exit=False)


if __name__ == "__main__":
    main()
