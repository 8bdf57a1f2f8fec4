#!/usr/bin/python3
"""Decodes a saved message with Python's own e-mail package (independent of the client
that wrote it) and prints what a mail reader would show, as JSON on stdout:
headers (decoded), the text body with its charset and transfer encoding, and each
attachment's file name, content type, transfer encoding and bytes (base64).

Usage: decode_mail.py FILE.eml
"""

import base64
import email
import email.policy
import json
import sys

HEADERS = ("From", "To", "Reply-To", "Subject", "Date", "Message-ID", "MIME-Version",
           "Disposition-Notification-To")


def main(path):
    with open(path, "rb") as f:
        raw = f.read()
    message = email.message_from_bytes(raw, policy=email.policy.default)
    result = {
        "headers": {name: (str(message[name]) if message[name] is not None else None) for name in HEADERS},
        "body": None,
        "body_charset": None,
        "body_encoding": None,
        "attachments": [],
        "defects": [str(d) for part in message.walk() for d in part.defects],
    }
    for part in message.walk():
        if part.is_multipart():
            continue
        if part.get_content_disposition() == "attachment":
            result["attachments"].append({
                "filename": part.get_filename(),
                "content_type": part.get_content_type(),
                "encoding": part.get("Content-Transfer-Encoding", "").lower(),
                "data": base64.b64encode(part.get_payload(decode=True)).decode("ascii"),
            })
        elif part.get_content_type() == "text/plain" and result["body"] is None:
            result["body"] = part.get_content()
            result["body_charset"] = part.get_content_charset()
            result["body_encoding"] = part.get("Content-Transfer-Encoding", "").lower()
    json.dump(result, sys.stdout, ensure_ascii=False)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
