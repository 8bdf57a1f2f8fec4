// Builds the mail that cmail hands to the server, as the exact bytes of DATA (before
// dot-stuffing): headers From, To, Reply-To, Subject, Date, Message-ID, MIME-Version and,
// when asked for, Disposition-Notification-To; a UTF-8 text/plain body in
// quoted-printable (7bit when it is plain ASCII); the attachment, if any, as base64
// with its file name and a content type from its extension.
//
// Guarantees: the result is 7-bit ASCII with CR LF line ends only (non-ASCII header text
// goes through RFC 2047, never raw UTF-8, whatever the server offers), so no server can
// mangle it. Throws std::runtime_error for an address vmime cannot read.
#pragma once

#include "arguments.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <string>

namespace sendwerk::cmail {

struct Attachment {
    QString fileName;  // as shown to the recipient
    QByteArray content;
};

struct BuiltMessage {
    std::string data;       // the message, CR LF line ends
    std::string messageId;  // with angle brackets, as in the header
};

// An address as the office writes it: "a@b.de", "Büro <a@b.de>" or "\"Büro, Nord\" <a@b.de>".
struct Address {
    QString name;   // display name, empty when none
    QString email;  // the bare address, for the envelope
};
Address splitAddress(const QString& text);

// The content type for a file name, from its extension ("application/pdf" for ".pdf");
// application/octet-stream when the extension is not known.
QString contentTypeFor(const QString& fileName);

// A fresh Message-ID: random, with the domain of `fromAddress` (a made-up domain when
// it has none), angle brackets included.
std::string newMessageId(const QString& fromAddress);

// `attachment` may be null for a mail without attachment.
BuiltMessage buildMessage(const MailRequest& request, const Attachment* attachment, const QDateTime& date,
                          const std::string& messageId);

// Text with every lone CR or LF turned into CR LF.
QString withCrLf(const QString& text);

}  // namespace sendwerk::cmail
