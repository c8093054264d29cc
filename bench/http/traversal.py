#!/usr/bin/env python3
"""Requests that try to leave the served folder, sent as raw bytes to one server. Prints one line per
request: the status, the length of the body and whether the secret's text came back; then a summary
line "served-secret N not-404 M".

    traversal.py PORT SECRET_FOLDER_NAME SECRET_FILE SECRET_TEXT
"""
import socket
import sys

port = int(sys.argv[1])
secret_dir = sys.argv[2].encode()
secret_file = sys.argv[3].encode()
secret_text = sys.argv[4].encode()

targets = [
    b"/../" + secret_dir + b"/pw.css",
    b"\\..\\" + secret_dir + b"\\pw.css",
    b"/images/../../" + secret_dir + b"/pw.css",
    b"/%2e%2e/" + secret_dir + b"/pw.css",
    b"/%2E%2E%2F" + secret_dir + b"%2Fpw.css",
    b"/images/..%5c..%5c" + secret_dir + b"%5cpw.css",
    b"/%252e%252e/" + secret_dir + b"/pw.css",
    b"/images/felt.jpg%00.css",
    b"/images/felt.jpg\x00.css",
    b"/" + secret_file,
    b"/" + secret_file.replace(b"/", b"%2F"),
    b"/" + b"../" * 12 + secret_file.lstrip(b"/"),
    b"http://localhost/../" + secret_dir + b"/pw.css",
    b"/C:/Windows/win.ini.css",
    b"/ud.css",
    b"/ude/pw.css",
    b"/mappe.css",
]


def ask(target):
    s = socket.create_connection(("127.0.0.1", port), timeout=5)
    s.sendall(b"GET " + target + b" HTTP/1.0\r\n\r\n")
    data = b""
    try:
        while True:
            chunk = s.recv(65536)
            if not chunk:
                break
            data += chunk
    except (socket.timeout, ConnectionResetError):
        pass
    s.close()
    head, _, body = data.partition(b"\r\n\r\n")
    status = head.split(b" ")[1].decode() if head.count(b" ") >= 1 else "none"
    return status, body


served = not_found = 0
for target in targets:
    status, body = ask(target)
    leaked = secret_text in body
    served += leaked
    not_found += status != "404"
    shown = target.replace(b"\x00", b"\\0").decode("latin-1")
    print("  %-4s %6d bytes %-7s %s" % (status, len(body), "SECRET" if leaked else "", shown))
print("served-secret %d not-404 %d of %d" % (served, not_found, len(targets)))
