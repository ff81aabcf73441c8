#!/usr/bin/python3
"""A real SMTP server for the sending tests, on Debian's aiosmtpd.

Listens on a free loopback port and prints "PORT <number>" on standard output once it accepts
connections. Everything lives in the folder given with --folder:

  mail/NNNNNN.eml   every accepted message, as received (dot-stuffing undone, CRLF kept)
  mail/index.tsv    one line per accepted message, written after its file and before the answer:
                    number, connection, envelope sender, recipients (comma-separated), the moment
                    (seconds since the epoch)
  events.log        "connect N", "login N USER", "refused-login N" per connection and login,
                    "limited N SECONDS" per MAIL FROM refused by the sending limit
  control.json      the faults, read again whenever the file is replaced (write it to a temporary
                    name and rename it over); counters start from zero with every new control file:
      {"temporary_rcpt": [k, ...],   answer 451 to the k-th RCPT command
       "refused": ["addr", ...],     answer 550 to these recipients
       "drop_in_data": [n, ...],     drop the connection in the middle of the n-th DATA
       "close_after": [n, ...],      close the connection after accepting the n-th message
       "delay_ms": d,                wait d milliseconds before every answer
       "refuse_login": true,         answer 535 to every login
       "refuse_sender": true,        answer 553 to every MAIL FROM
       "greet_421": true,            answer 421 to every new connection and close it
       "limit": {"count": n, "seconds": s, "answer": "450 4.7.0 ..."},
       "drop_after_data": [n, ...],  take the n-th message, then drop the connection unanswered
       "drop_after_data_always": true,   the same for every message
       "stall_mail": true,           never answer MAIL FROM (the connection stays open)
       "drip": {"reply": "MAIL" or "DATA", "ms": d}
                                     send the answer to MAIL FROM, or to the end of a message, one
                                     byte every d milliseconds}
                                     a provider's sending limit: its window opens with the first
                                     message taken; after n messages every MAIL FROM gets the
                                     answer until s seconds have passed, then a new window opens

Security: --tls starttls (STARTTLS required before anything else), implicit (TLS from the first
byte) or none. The login is required when --user is given; its password comes from the environment
variable ZW_SMTP_TEST_PASSWORD, so that it shows up on no command line.
"""

import argparse
import asyncio
import errno
import json
import logging
import os
import ssl
import sys
import time
import warnings

from aiosmtpd.smtp import SMTP, AuthResult


class Faults:
    """The control file's faults and the counters they refer to."""

    def __init__(self, path):
        self.path = path
        self.stamp = None
        self.load({})

    def load(self, values):
        self.temporary_rcpt = set(values.get("temporary_rcpt", []))
        self.refused = {a.lower() for a in values.get("refused", [])}
        self.drop_in_data = set(values.get("drop_in_data", []))
        self.close_after = set(values.get("close_after", []))
        self.delay = values.get("delay_ms", 0) / 1000.0
        self.refuse_login = bool(values.get("refuse_login", False))
        self.refuse_sender = bool(values.get("refuse_sender", False))
        self.greet_421 = bool(values.get("greet_421", False))
        self.drop_after_data = set(values.get("drop_after_data", []))
        self.drop_after_data_always = bool(values.get("drop_after_data_always", False))
        self.stall_mail = bool(values.get("stall_mail", False))
        self.drip = values.get("drip") or {}
        self.limit = values.get("limit")
        self.window_start = None
        self.window_count = 0
        self.rcpt_count = 0
        self.data_count = 0
        self.accepted_count = 0

    def limit_answer(self):
        """The limit's answer while the window's messages are used up, else None."""
        if not self.limit:
            return None
        now = time.monotonic()
        if self.window_start is not None and now - self.window_start >= self.limit["seconds"]:
            self.window_start = None
            self.window_count = 0
        if self.window_count >= self.limit["count"]:
            return self.limit["answer"]
        return None

    def taken(self):
        if self.window_start is None:
            self.window_start = time.monotonic()
        self.window_count += 1

    def refresh(self):
        try:
            st = os.stat(self.path)
        except FileNotFoundError:
            if self.stamp is not None:
                self.stamp = None
                self.load({})
            return self
        stamp = (st.st_ino, st.st_mtime_ns, st.st_size)
        if stamp != self.stamp:
            self.stamp = stamp
            with open(self.path, encoding="utf-8") as f:
                self.load(json.load(f))
        return self


class Store:
    """The folder of received messages and the event log."""

    def __init__(self, folder):
        self.mail = os.path.join(folder, "mail")
        os.makedirs(self.mail, exist_ok=True)
        self.index = open(os.path.join(self.mail, "index.tsv"), "a", encoding="utf-8")
        self.events = open(os.path.join(folder, "events.log"), "a", encoding="utf-8")
        self.count = 0
        self.connections = 0

    def event(self, text):
        self.events.write(text + "\n")
        self.events.flush()

    def save(self, connection, envelope):
        self.count += 1
        name = "%06d.eml" % self.count
        path = os.path.join(self.mail, name)
        with open(path + ".part", "wb") as f:
            f.write(envelope.original_content)
        os.rename(path + ".part", path)
        self.index.write("%d\t%d\t%s\t%s\t%.6f\n" % (self.count, connection, envelope.mail_from,
                                                    ",".join(envelope.rcpt_tos), time.time()))
        self.index.flush()
        return self.count


class Handler:
    def __init__(self, store, faults):
        self.store = store
        self.faults = faults

    async def handle_MAIL(self, server, session, envelope, address, options):
        faults = self.faults.refresh()
        if faults.refuse_sender:
            return "553 5.7.1 <%s>: Sender address rejected: not owned by user" % address
        if faults.stall_mail:
            # As a server that hangs: the connection stays open, and nothing more comes.
            self.store.event("stalled %d" % server.connection)
            await asyncio.sleep(24 * 3600)
        if faults.drip.get("reply") == "MAIL":
            server.drip = faults.drip.get("ms", 0) / 1000.0
        limited = faults.limit_answer()
        if limited:
            self.store.event("limited %d %.6f" % (server.connection, time.time()))
            return limited
        envelope.mail_from = address
        envelope.mail_options.extend(options)
        return "250 2.1.0 Ok"

    async def handle_RCPT(self, server, session, envelope, address, options):
        faults = self.faults.refresh()
        faults.rcpt_count += 1
        if faults.rcpt_count in faults.temporary_rcpt:
            return "451 4.3.0 <%s>: Temporary lookup failure, try again later" % address
        if address.lower() in faults.refused:
            return "550 5.1.1 <%s>: Recipient address rejected: User unknown" % address
        envelope.rcpt_tos.append(address)
        envelope.rcpt_options.extend(options)
        return "250 2.1.5 Ok"

    async def handle_DATA(self, server, session, envelope):
        number = self.store.save(server.connection, envelope)
        self.faults.accepted_count += 1
        self.faults.taken()
        server.close_after_answer = self.faults.accepted_count in self.faults.close_after
        # Taken, and then the answer is lost: the connection drops before it.
        server.drop_instead_of_answer = (self.faults.drop_after_data_always
                                         or self.faults.accepted_count in self.faults.drop_after_data)
        if self.faults.drip.get("reply") == "DATA":
            server.drip = self.faults.drip.get("ms", 0) / 1000.0
        return "250 2.0.0 Ok: queued as T%06d" % number


class TestSMTP(SMTP):
    """aiosmtpd's server with slow answers, a connection number, a drop in the middle of DATA and a
    connection closed after a message."""

    def __init__(self, store, faults, **kwargs):
        super().__init__(Handler(store, faults), **kwargs)
        self.store = store
        self.faults = faults
        self.connection = 0
        self.close_after_answer = False
        self.drop_instead_of_answer = False
        self.drip = 0

    def connection_made(self, transport):
        first = self._original_transport is None and self.transport is None
        super().connection_made(transport)
        if first:
            self.store.connections += 1
            self.connection = self.store.connections
            self.store.event("connect %d" % self.connection)

    async def _handle_client(self):
        if self.faults.refresh().greet_421:
            # As a provider that takes no more connections from this sender for now.
            self.store.event("greeted-421 %d" % self.connection)
            await self.push("421 4.7.0 smtp.test Too many connections, try again later")
            self.transport.close()
            return
        await super()._handle_client()

    async def push(self, status):
        delay = self.faults.refresh().delay
        if delay:
            await asyncio.sleep(delay)
        if self.drop_instead_of_answer:
            self.drop_instead_of_answer = False
            self.store.event("dropped-answer %d" % self.connection)
            self.transport.abort()
            return
        if self.drip:
            drip, self.drip = self.drip, 0
            for byte in (status + "\r\n").encode("utf-8"):
                if self.transport.is_closing():
                    return
                self._writer.write(bytes([byte]))
                await self._writer.drain()
                await asyncio.sleep(drip)
            return
        await super().push(status)

    async def smtp_DATA(self, arg):
        faults = self.faults.refresh()
        if self.envelope.rcpt_tos and not arg:
            faults.data_count += 1
            if faults.data_count in faults.drop_in_data:
                await self.push("354 End data with <CR><LF>.<CR><LF>")
                await self._reader.readuntil(b"\r\n")
                self.transport.abort()
                return
        await super().smtp_DATA(arg)
        if self.close_after_answer:
            # As a provider does after its number of messages per connection, or when idle too long.
            self.close_after_answer = False
            self.transport.close()


def make_authenticator(store, faults, user, password):
    def authenticate(server, session, envelope, mechanism, data):
        ok = (not faults.refresh().refuse_login and data.login == user.encode()
              and data.password == password.encode())
        store.event("%s %d %s" % ("login" if ok else "refused-login", server.connection,
                                  data.login.decode(errors="replace")))
        return AuthResult(success=ok, handled=False)
    return authenticate


async def serve(args):
    store = Store(args.folder)
    faults = Faults(os.path.join(args.folder, "control.json"))
    context = None
    if args.tls != "none":
        context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        context.load_cert_chain(args.cert, args.key)
    password = os.environ.get("ZW_SMTP_TEST_PASSWORD", "")
    loop = asyncio.get_running_loop()
    options = dict(hostname="smtp.test", ident="Zettelwerk test server", loop=loop)
    if args.user:
        options.update(auth_required=True,
                       authenticator=make_authenticator(store, faults, args.user, password))
    if args.tls == "starttls":
        options.update(tls_context=context, require_starttls=True)
    else:
        # On an implicit TLS connection aiosmtpd knows nothing of the TLS below it.
        options.update(auth_require_tls=False)

    def factory():
        return TestSMTP(store, faults, **options)

    implicit = context if args.tls == "implicit" else None
    # "localhost" may resolve to ::1 first: answer there on the same port as well, where the
    # machine has IPv6, so that no other program's server answers in our place.
    for attempt in range(20):
        server = await loop.create_server(factory, "127.0.0.1", 0, ssl=implicit)
        port = server.sockets[0].getsockname()[1]
        servers = [server]
        try:
            servers.append(await loop.create_server(factory, "::1", port, ssl=implicit))
        except OSError as error:
            if error.errno == errno.EADDRINUSE:
                server.close()
                continue
        break
    print("PORT %d" % port, flush=True)
    await asyncio.gather(*(s.serve_forever() for s in servers))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--folder", required=True)
    parser.add_argument("--tls", choices=["starttls", "implicit", "none"], default="starttls")
    parser.add_argument("--cert")
    parser.add_argument("--key")
    parser.add_argument("--user")
    args = parser.parse_args()
    if args.tls != "none" and not (args.cert and args.key):
        parser.error("--cert and --key are needed with TLS")
    logging.getLogger("mail.log").setLevel(logging.CRITICAL)
    # Implicit TLS is TLS all the same; aiosmtpd cannot see it below its connection and warns.
    warnings.filterwarnings("ignore", message="Requiring AUTH while not requiring TLS")
    try:
        asyncio.run(serve(args))
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
