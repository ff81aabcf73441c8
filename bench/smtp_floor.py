#!/usr/bin/python3
"""The floor of sending: Python's smtplib sends one prepared message to COUNT recipients over one
connection (STARTTLS, login), the same way SmtpTransport does, and prints the wall and processor
seconds it took from connecting to saying goodbye. The password comes from ZW_SMTP_TEST_PASSWORD.

    smtp_floor.py PORT CA_FILE USER MESSAGE_FILE COUNT
"""

import os
import smtplib
import socket
import ssl
import sys
import time


def main():
    port, ca_file, user, message_file, count = sys.argv[1:6]
    with open(message_file, "rb") as f:
        message = f.read()
    context = ssl.create_default_context(cafile=ca_file)
    start = time.perf_counter()
    start_cpu = time.process_time()
    client = smtplib.SMTP("localhost", int(port))
    # As libcurl does: without it, the end-of-data line waits for the delayed acknowledgement of the
    # message (Nagle), 40 ms a message, and the floor would be no floor.
    client.sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
    client.starttls(context=context)
    client.login(user, os.environ["ZW_SMTP_TEST_PASSWORD"])
    for k in range(1, int(count) + 1):
        client.sendmail("versand@example.org", ["leser%d@example.net" % k], message)
    client.quit()
    print("%.6f %.6f" % (time.perf_counter() - start, time.process_time() - start_cpu))
    return 0


if __name__ == "__main__":
    sys.exit(main())
