#!/usr/bin/python3
"""Loopback SMTP server for Sendwerk's tests and demo (aiosmtpd 1.4.3).

Keeps every accepted message as DIR/NNNN.eml with its envelope in DIR/NNNN.json, and
logs every command it sees (name only, never the argument, plus whether TLS was up at
that moment) to DIR/commands.jsonl, so tests can prove what a client did or did not
send. Files are written atomically (temporary name, then rename), so a reader never
sees half a file. Listens on 127.0.0.1 by default; runs until SIGTERM or SIGINT.
The port it listens on is written to --ready-file once it accepts connections.

Run it with Debian's /usr/bin/python3 (it needs python3-aiosmtpd).
"""

import argparse
import asyncio
import json
import os
import signal
import ssl
import sys

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword

# The DSN parameters of RFC 3461, which aiosmtpd refuses unless told otherwise.
DSN_PARAMETERS = ("NOTIFY", "ORCPT", "RET", "ENVID")


def write_atomically(path, data):
    temporary = path + ".tmp"
    with open(temporary, "wb") as out:
        out.write(data)
        out.flush()
        os.fsync(out.fileno())
    os.rename(temporary, path)


class Spool:
    """Numbered message files plus the command log, in one folder."""

    def __init__(self, folder):
        self.folder = folder
        os.makedirs(folder, exist_ok=True)
        self.count = 0
        self.commands = open(os.path.join(folder, "commands.jsonl"), "a", encoding="utf-8")

    def record_command(self, command, tls):
        self.commands.write(json.dumps({"command": command, "tls": tls}) + "\n")
        self.commands.flush()

    def save(self, content, envelope_record):
        self.count += 1
        stem = os.path.join(self.folder, "%04d" % self.count)
        write_atomically(stem + ".eml", content)
        write_atomically(stem + ".json",
                         json.dumps(envelope_record, indent=1, ensure_ascii=False).encode("utf-8"))


async def stall_forever():
    await asyncio.get_running_loop().create_future()


class Handler:
    def __init__(self, options, spool):
        self.options = options
        self.spool = spool

    async def handle_EHLO(self, server, session, envelope, hostname, responses):
        session.host_name = hostname
        session.ehlo_seen = True
        if self.options.dsn:
            responses.insert(len(responses) - 1, "250-DSN")
        return responses

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if address.lower() in self.options.reject550:
            return "550 5.1.1 <%s>: Recipient address rejected: user unknown" % address
        if address.lower() in self.options.reject450:
            return "450 4.2.0 <%s>: Recipient address rejected: try again later" % address
        envelope.rcpt_tos.append(address)
        envelope.rcpt_options.extend(rcpt_options)
        envelope.rcpt_records = getattr(envelope, "rcpt_records", [])
        envelope.rcpt_records.append({"address": address, "options": rcpt_options})
        return "250 2.1.5 OK"

    async def handle_DATA(self, server, session, envelope):
        login = getattr(session.auth_data, "login", None)
        self.spool.save(envelope.original_content, {
            "mail_from": envelope.mail_from,
            "mail_options": envelope.mail_options,
            "rcpt_tos": envelope.rcpt_tos,
            "recipients": getattr(envelope, "rcpt_records", []),
            "tls": server.tls_active(),
            "auth_login": login.decode("utf-8", "replace") if isinstance(login, bytes) else login,
        })
        if self.options.stall_after_data:
            await stall_forever()
        return "250 2.0.0 OK: queued as %04d" % self.spool.count


class RecordingSMTP(SMTP):
    """aiosmtpd's SMTP with the DSN parameters allowed (when DSN is on), every command
    logged, and the stall after EHLO."""

    def __init__(self, handler, options, spool, **kwargs):
        super().__init__(handler, **kwargs)
        self.options = options
        self.spool = spool
        for name, method in list(self._smtp_methods.items()):
            self._smtp_methods[name] = self._recorded(name, method)

    def tls_active(self):
        return self._tls_protocol is not None

    def _recorded(self, name, method):
        async def run(arg):
            self.spool.record_command(name, self.tls_active())
            if (self.options.stall_after_ehlo and name != "EHLO"
                    and getattr(self.session, "ehlo_seen", False)):
                await stall_forever()
            await method(arg)
        return run

    def _getparams(self, params):
        result = super()._getparams(params)
        if result is not None and self.options.dsn:
            for name in DSN_PARAMETERS:
                result.pop(name, None)
        return result


def make_authenticator(user, password):
    def authenticate(server, session, envelope, mechanism, auth_data):
        ok = (isinstance(auth_data, LoginPassword)
              and auth_data.login == user.encode("utf-8")
              and auth_data.password == password.encode("utf-8"))
        # handled=False: aiosmtpd then sends the 535 itself; otherwise no reply at all.
        return AuthResult(success=ok, handled=False, auth_data=auth_data)
    return authenticate


def parse_arguments(argv):
    parser = argparse.ArgumentParser(description="Loopback SMTP server for tests.")
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=0, help="0 picks a free port")
    parser.add_argument("--spool", required=True)
    parser.add_argument("--cert")
    parser.add_argument("--key")
    parser.add_argument("--no-starttls", action="store_true")
    parser.add_argument("--user")
    parser.add_argument("--password", default="")
    parser.add_argument("--no-dsn", dest="dsn", action="store_false")
    parser.add_argument("--smtputf8", action="store_true", help="advertise SMTPUTF8")
    parser.add_argument("--reject550", action="append", default=[])
    parser.add_argument("--reject450", action="append", default=[])
    parser.add_argument("--stall-after-ehlo", action="store_true")
    parser.add_argument("--stall-after-data", action="store_true")
    parser.add_argument("--ready-file")
    options = parser.parse_args(argv)
    options.reject550 = [a.lower() for a in options.reject550]
    options.reject450 = [a.lower() for a in options.reject450]
    if bool(options.cert) != bool(options.key):
        parser.error("--cert and --key go together")
    return options


def tls_context(options):
    if options.no_starttls or not options.cert:
        return None
    context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    context.load_cert_chain(options.cert, options.key)
    return context


async def serve(options):
    spool = Spool(options.spool)
    handler = Handler(options, spool)
    context = tls_context(options)
    kwargs = {
        "hostname": "mail.sendwerk.test",
        "tls_context": context,
        "enable_SMTPUTF8": options.smtputf8,
        # Without TLS the server offers AUTH in clear, so a client that requires TLS
        # has to refuse on its own.
        "auth_require_tls": context is not None,
    }
    if options.user is not None:
        kwargs["authenticator"] = make_authenticator(options.user, options.password)
        kwargs["auth_required"] = True

    loop = asyncio.get_running_loop()
    server = await loop.create_server(
        lambda: RecordingSMTP(handler, options, spool, **kwargs),
        host=options.host, port=options.port)
    port = server.sockets[0].getsockname()[1]

    stopped = loop.create_future()
    for sig in (signal.SIGTERM, signal.SIGINT):
        loop.add_signal_handler(sig, lambda: stopped.done() or stopped.set_result(None))
    if options.ready_file:
        write_atomically(options.ready_file, ("%d\n" % port).encode("ascii"))
    print("smtp_server: listening on %s:%d" % (options.host, port), file=sys.stderr, flush=True)
    await stopped
    server.close()


def main(argv):
    asyncio.run(serve(parse_arguments(argv)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
