#!/usr/bin/python3
"""An SMTP server for the tests, on 127.0.0.1 only.

It asks for STARTTLS (with the certificate and key given) and for a login before it
takes mail (without a certificate it offers no STARTTLS and takes the login in the
clear), and saves each message it receives raw, as the client sent it, to a
file of its own in the output folder. It prints "PORT n" once it listens and stops
when its standard input closes, so that it never outlives the test that started it.
"""

import argparse
import os
import socket
import ssl
import sys
import threading

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword


class SavingHandler:
    def __init__(self, folder):
        self.folder = folder
        self.count = 0
        self.lock = threading.Lock()

    async def handle_DATA(self, server, session, envelope):
        with self.lock:
            self.count += 1
            name = os.path.join(self.folder, "%03d.eml" % self.count)
        with open(name + ".part", "wb") as f:
            f.write(envelope.original_content)
        with open(name + ".envelope", "w", encoding="utf-8") as f:
            f.write("%s\n%s\n" % (envelope.mail_from, " ".join(envelope.rcpt_tos)))
        os.rename(name + ".part", name)
        return "250 OK angenommen als %03d" % self.count


class Authenticator:
    def __init__(self, user, password):
        self.user = user.encode("utf-8")
        self.password = password.encode("utf-8")

    def __call__(self, server, session, envelope, mechanism, auth_data):
        if not isinstance(auth_data, LoginPassword):
            return AuthResult(success=False, handled=False)
        if auth_data.login == self.user and auth_data.password == self.password:
            return AuthResult(success=True)
        return AuthResult(success=False, handled=False)


def free_port():
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--out", required=True)
    parser.add_argument("--cert")
    parser.add_argument("--key")
    parser.add_argument("--user", default="")
    parser.add_argument("--password", default="")
    args = parser.parse_args()

    tls = None
    if args.cert:
        tls = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        tls.load_cert_chain(args.cert, args.key)
    handler = SavingHandler(args.out)
    options = dict(hostname="127.0.0.1", port=free_port())
    if tls:
        options.update(tls_context=tls, require_starttls=True)
    if args.user:
        options.update(
            authenticator=Authenticator(args.user, args.password),
            auth_required=True,
            # Without a certificate: a careless server that takes a login in the clear.
            auth_require_tls=bool(tls),
        )
    else:
        options.update(auth_require_tls=False)
    controller = Controller(handler, **options)
    controller.start()
    print("PORT %d" % controller.port, flush=True)
    sys.stdin.read()
    controller.stop()


if __name__ == "__main__":
    main()
