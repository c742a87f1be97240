"""A display that drops its first client, as an X server does for a moment
while it starts or resets: listens on a display's unix socket, closes the
first connection at once and forwards every later one to a real server.
Writes "refused" or "forwarded" to the log for each connection.
Usage: refuseFirstConnection.py LISTEN_SOCKET SERVER_SOCKET LOG"""
import os
import signal
import socket
import sys
import threading

listen_path, server_path, log_path = sys.argv[1:4]


def log(line):
    with open(log_path, "a") as out:
        out.write(line + "\n")


def pump(source, sink):
    try:
        while data := source.recv(65536):
            sink.sendall(data)
    except OSError:
        pass
    finally:
        for end in (source, sink):
            try:
                end.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass


# Ended with TERM by the test's clean-up: the socket file goes with it.
signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
listener = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
listener.bind(listen_path)
listener.listen(8)
try:
    refused = False
    while True:
        client, _ = listener.accept()
        if not refused:
            refused = True
            client.close()
            log("refused")
            continue
        server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        server.connect(server_path)
        log("forwarded")
        for ends in ((client, server), (server, client)):
            threading.Thread(target=pump, args=ends, daemon=True).start()
finally:
    os.unlink(listen_path)
