#!/usr/bin/python3
"""An IMAP server on loopback that misbehaves on purpose, for the inbox check's limits.

Usage: bad_imap.py MODE [UID=FILE ...]
Prints the port it listens on, then serves one connection after another until killed. The messages
(UID=FILE) are what EXAMINE, UID SEARCH and UID FETCH know. Modes:
  normal        answers as a server should
  never-greets  accepts the connection and says nothing
  drip          answers EXAMINE one byte at a time, never ending the line
  slow-lines    answers EXAMINE with complete untagged lines, slowly and without end
  huge-literals answers a FETCH with eight literals of 60 MB each
  many-literals answers a FETCH with the same message over and over, each below the literal limit
  search-bad    answers UID SEARCH with a UID beyond 32 bits
  fetch-bad     answers UID FETCH with UID 0
  bye           answers EXAMINE with "* BYE" and keeps the connection open
  bye-at-N      ends a FETCH of whole messages with "* BYE" at UID N, after the ones before it
  logout-hangs  answers as a server should, but never LOGOUT
"""
import re
import socket
import sys
import threading
import time

MODE = sys.argv[1]
MESSAGES = {}
for arg in sys.argv[2:]:
    uid, path = arg.split("=", 1)
    with open(path, "rb") as f:
        MESSAGES[int(uid)] = f.read()


def uid_set(text):
    uids = set()
    for part in text.split(","):
        if ":" in part:
            a, b = part.split(":")
            hi = max(MESSAGES) if b == "*" and MESSAGES else int(b) if b != "*" else 0
            uids.update(u for u in MESSAGES if min(int(a), hi) <= u <= max(int(a), hi))
        else:
            uids.add(int(part))
    return sorted(uids)


def header_of(message):
    end = message.find(b"\r\n\r\n")
    return message if end < 0 else message[: end + 4]


def serve(conn):
    conn.settimeout(None)
    send = conn.sendall
    if MODE == "never-greets":
        while conn.recv(4096):
            pass
        return
    send(b"* OK fake IMAP server ready\r\n")
    pending = b""
    while True:
        while b"\r\n" not in pending:
            data = conn.recv(65536)
            if not data:
                return
            pending += data
        line, pending = pending.split(b"\r\n", 1)
        tag, _, rest = line.decode("latin-1").partition(" ")
        command = rest.split(" ", 1)[0].upper()
        args = rest[len(command) + 1:]
        if command == "CAPABILITY":
            send(b"* CAPABILITY IMAP4rev1\r\n" + tag.encode() + b" OK done\r\n")
        elif command == "LOGIN":
            send(tag.encode() + b" OK logged in\r\n")
        elif command == "LOGOUT":
            if MODE == "logout-hangs":
                while conn.recv(4096):
                    pass
                return
            send(b"* BYE bye\r\n" + tag.encode() + b" OK done\r\n")
            return
        elif command == "EXAMINE":
            if MODE == "drip":
                send(b"* OK ")
                while True:
                    time.sleep(0.2)
                    send(b".")
            if MODE == "slow-lines":
                while True:
                    send(b"* OK still working\r\n")
                    time.sleep(0.3)
            if MODE == "bye":
                send(b"* BYE going away\r\n")
                while conn.recv(4096):
                    pass
                return
            top = max(MESSAGES) if MESSAGES else 1
            send(b"* %d EXISTS\r\n* OK [UIDVALIDITY 77] ok\r\n* OK [UIDNEXT %d] ok\r\n" % (len(MESSAGES), min(top + 1, 4294967295)))
            send(tag.encode() + b" OK [READ-ONLY] done\r\n")
        elif command == "UID" and args.upper().startswith("SEARCH"):
            first = int(re.search(r"UID (\d+):\*", args).group(1))
            found = [u for u in sorted(MESSAGES) if u >= first] or sorted(MESSAGES)[-1:]
            words = " ".join(str(u) for u in found)
            if MODE == "search-bad":
                words += " 4294967296"
            send(b"* SEARCH " + words.encode() + b"\r\n" + tag.encode() + b" OK done\r\n")
        elif command == "UID" and args.upper().startswith("FETCH"):
            m = re.match(r"FETCH (\S+) \(UID BODY\.PEEK\[([A-Z]*)\]<0\.(\d+)>\)", args, re.I)
            uids, section, limit = uid_set(m.group(1)), m.group(2), int(m.group(3))
            if MODE == "huge-literals":
                for n in range(8):
                    send(b"* %d FETCH (UID %d BODY[HEADER]<0> {62914560}\r\n" % (n + 1, n + 1))
                    chunk = b"x" * (1 << 20)
                    for _ in range(60):
                        send(chunk)
                    send(b")\r\n")
            if MODE == "many-literals":
                body = b"y" * min(limit, 60000)
                while True:
                    send(b"* 1 FETCH (UID %d BODY[] {%d}\r\n" % (uids[0], len(body)) + body + b")\r\n")
            for n, uid in enumerate(uids):
                if MODE.startswith("bye-at-") and section == "" and uid == int(MODE[7:]):
                    send(b"* BYE shutting down\r\n")
                    while conn.recv(4096):
                        pass
                    return
                message = MESSAGES.get(uid)
                if message is None:
                    continue
                part = (header_of(message) if section == "HEADER" else message)[:limit]
                shown = 0 if MODE == "fetch-bad" else uid
                send(b"* %d FETCH (UID %d BODY[%s]<0> {%d}\r\n" % (n + 1, shown, section.encode(), len(part)) + part + b")\r\n")
            send(tag.encode() + b" OK done\r\n")
        else:
            send(tag.encode() + b" BAD unknown\r\n")


def main():
    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", 0))
    server.listen(8)
    print(server.getsockname()[1], flush=True)
    while True:
        conn, _ = server.accept()

        def run(c=conn):
            try:
                serve(c)
            except OSError:
                pass  # the client went away: it may
            finally:
                c.close()

        threading.Thread(target=run, daemon=True).start()


main()
