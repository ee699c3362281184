#!/usr/bin/python3
"""A loopback FTP server for the upload tests.

Usage: ftp_server.py ROOT WRITER_PASSWORD READER_PASSWORD [stall]
Serves ROOT on 127.0.0.1 on a free port with the accounts "writer" (full rights) and
"reader" (list and read only), prints "PORT <n>" once it listens, and stops when its
standard input closes or it is killed. With "stall" the server takes the first block of an
upload and then reads nothing more, like a server that hangs in the middle of a transfer.
"""
import sys
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer


def main():
    root, writer_password, reader_password = sys.argv[1:4]
    authorizer = DummyAuthorizer()
    authorizer.add_user("writer", writer_password, root, perm="elradfmwMT")
    authorizer.add_user("reader", reader_password, root, perm="elr")
    handler = FTPHandler
    handler.authorizer = authorizer
    handler.timeout = 30
    handler.auth_failed_timeout = 0.2
    if len(sys.argv) > 4 and sys.argv[4] == "stall":
        dtp = ThrottledDTPHandler
        dtp.read_limit = 1  # bytes per second: after the first block the next read waits for days
        handler.dtp_handler = dtp
    server = FTPServer(("127.0.0.1", 0), handler)
    print("PORT %d" % server.socket.getsockname()[1], flush=True)

    def stop_when_stdin_closes():
        sys.stdin.read()
        server.close_all()

    threading.Thread(target=stop_when_stdin_closes, daemon=True).start()
    server.serve_forever(timeout=0.2, handle_exit=False)


if __name__ == "__main__":
    main()
