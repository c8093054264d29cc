#!/usr/bin/env python3
"""COUNT clients download PATH from the server at PORT at once: each sends its request and reads the first
megabyte, so that every download is under way together, then all read to the end. Prints the server's
resident memory before, its peak, and whether every download came whole.

    downloads.py PORT PATH COUNT SERVER_PID LENGTH
"""
import selectors
import socket
import sys

port, path, count, pid, length = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4], int(sys.argv[5])


def memory(field):
    with open("/proc/%s/status" % pid) as status:
        for line in status:
            if line.startswith(field + ":"):
                return int(line.split()[1]) // 1024  # MB
    return -1


before = memory("VmRSS")
clients = []
for _ in range(count):
    s = socket.create_connection(("127.0.0.1", int(port)))
    s.sendall(("GET %s HTTP/1.0\r\n\r\n" % path).encode())
    clients.append([s, 0])
for client in clients:  # every download under way before any ends
    while client[1] < 1 << 20:
        data = client[0].recv(1 << 16)
        if not data:
            break
        client[1] += len(data)
selector = selectors.DefaultSelector()
for client in clients:
    client[0].setblocking(False)
    selector.register(client[0], selectors.EVENT_READ, client)
buffer = bytearray(1 << 20)
open_ = len(clients)
while open_:
    for key, _ in selector.select():
        client = key.data
        n = client[0].recv_into(buffer)
        client[1] += n
        if n == 0:
            selector.unregister(client[0])
            client[0].close()
            open_ -= 1
whole = sum(1 for client in clients if client[1] > length)  # the header before the file
print("%3d downloads: resident %4d MB before, peak %4d MB; %d of %d whole" %
      (count, before, memory("VmHWM"), whole, count))
