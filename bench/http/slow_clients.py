#!/usr/bin/env python3
"""Slow clients against one server: SLOW connections each send the start of a request and then one byte
a second, never finishing it (one that the server closes comes back at once), while PROBERS clients send
whole requests one after the other. Prints how many whole requests were answered within the limit.

    slow_clients.py PORT PATH [SLOW [SECONDS [PROBERS [LIMIT]]]]
"""
import socket
import sys
import threading
import time

port = int(sys.argv[1])
path = sys.argv[2]
slow_count = int(sys.argv[3]) if len(sys.argv) > 3 else 200
seconds = float(sys.argv[4]) if len(sys.argv) > 4 else 10
probers = int(sys.argv[5]) if len(sys.argv) > 5 else 4
limit = float(sys.argv[6]) if len(sys.argv) > 6 else 1.0
ramp = 1.0  # the slow clients are all there before the first whole request

stop = threading.Event()
lock = threading.Lock()
counts = {"answered": 0, "refused": 0, "waiting": 0, "reopened": 0}


def open_slow():
    s = socket.create_connection(("127.0.0.1", port))
    s.sendall(("GET %s HTTP/1.1\r\nHost: x\r\nX-Slow: " % path).encode())
    s.setblocking(False)
    return s


def trickle():
    slow = [open_slow() for _ in range(slow_count)]
    while not stop.wait(1.0):
        for i, s in enumerate(slow):
            try:
                if s.recv(4096, socket.MSG_PEEK) == b"":
                    raise ConnectionError
            except BlockingIOError:
                pass
            except OSError:
                s.close()
                slow[i] = open_slow()
                with lock:
                    counts["reopened"] += 1
                continue
            try:
                s.send(b"a")
            except OSError:
                s.close()
                slow[i] = open_slow()
                with lock:
                    counts["reopened"] += 1
    for s in slow:
        s.close()


def probe():
    request = ("GET %s HTTP/1.0\r\n\r\n" % path).encode()
    while not stop.is_set():
        start = time.monotonic()
        answer = b""
        ended = False
        try:
            with socket.create_connection(("127.0.0.1", port), timeout=limit) as s:
                s.sendall(request)
                while not ended:
                    left = limit - (time.monotonic() - start)
                    if left <= 0:
                        break
                    s.settimeout(left)
                    data = s.recv(65536)
                    ended = not data
                    answer += data
        except socket.timeout:
            pass
        except OSError:
            ended = True  # refused or reset
        with lock:
            if ended and answer.split(b" ", 2)[1:2] == [b"200"]:
                counts["answered"] += 1
            elif ended:
                counts["refused"] += 1
            else:
                counts["waiting"] += 1
        time.sleep(max(0.0, 0.05 - (time.monotonic() - start)))


trickler = threading.Thread(target=trickle)
trickler.start()
time.sleep(ramp)
threads = [threading.Thread(target=probe) for _ in range(probers)]
for t in threads:
    t.start()
time.sleep(seconds)
stop.set()
for t in threads + [trickler]:
    t.join()
# answered within the limit, all whole requests, refused ones, ones still waiting at the limit, slow
# connections the server closed
print("%d %d %d %d %d" % (counts["answered"], counts["answered"] + counts["refused"] + counts["waiting"],
                          counts["refused"], counts["waiting"], counts["reopened"]))
