#include "message_builder.h"

#include "header_encoding.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <vmime/vmime.hpp>

#include <stdexcept>

namespace sendwerk::cmail {

namespace {

const vmime::charset utf8Charset(vmime::charsets::UTF_8);

std::string utf8(const QString& text) { return text.toUtf8().toStdString(); }

// Built from the parts, so a display name with umlauts goes out RFC 2047 encoded
// (vmime's parser would take its UTF-8 bytes for ASCII and mangle them).
vmime::mailbox mailboxOf(const QString& address) {
    const Address parts = splitAddress(address);
    if (!parts.email.contains('@')) throw std::runtime_error("cmail: cannot read the address \"" + utf8(address) + '"');
    const vmime::emailAddress email(utf8(parts.email));
    if (parts.name.isEmpty()) return vmime::mailbox(email);
    // One word for the whole name: split into words, vmime encodes them one by one and
    // the blanks between encoded words get lost.
    return vmime::mailbox(vmime::text(vmime::word(utf8(parts.name), utf8Charset)), email);
}

vmime::datetime toVmime(const QDateTime& date) {
    const QDateTime local = date.toLocalTime();
    const int offsetMinutes = local.offsetFromUtc() / 60;
    return vmime::datetime(local.date().year(), local.date().month(), local.date().day(), local.time().hour(),
                           local.time().minute(), local.time().second(), offsetMinutes);
}

void addAttachment(vmime::messageBuilder& builder, const Attachment& attachment) {
    // Handed over already encoded: vmime's own base64 encoder costs more than all the
    // rest of a send.
    const QByteArray base64 = attachment.content.toBase64();
    std::string lines;
    lines.reserve(size_t(base64.size() + base64.size() / 38 + 2));
    for (qsizetype i = 0; i < base64.size(); i += 76)
        lines.append(base64.constData() + i, size_t(std::min<qsizetype>(76, base64.size() - i))).append("\r\n");
    auto content =
        vmime::make_shared<vmime::stringContentHandler>(lines, vmime::encoding(vmime::encodingTypes::BASE64));
    auto part = vmime::make_shared<vmime::defaultAttachment>(
        content, vmime::encoding(vmime::encodingTypes::BASE64),
        vmime::mediaType(utf8(contentTypeFor(attachment.fileName))), vmime::text(),
        vmime::word(utf8(attachment.fileName), utf8Charset));
    builder.appendAttachment(part);
}

}  // namespace

Address splitAddress(const QString& text) {
    const qsizetype open = text.lastIndexOf('<');
    const qsizetype close = text.lastIndexOf('>');
    if (open < 0 || close < open) return {QString(), text.trimmed()};
    QString name = text.left(open).trimmed();
    if (name.size() >= 2 && name.startsWith('"') && name.endsWith('"')) name = name.mid(1, name.size() - 2);
    return {name, text.mid(open + 1, close - open - 1).trimmed()};
}

QString contentTypeFor(const QString& fileName) {
    static const struct {
        const char* extension;
        const char* type;
    } known[] = {
        {"pdf", "application/pdf"},
        {"txt", "text/plain"},
        {"csv", "text/csv"},
        {"htm", "text/html"},
        {"html", "text/html"},
        {"xml", "application/xml"},
        {"jpg", "image/jpeg"},
        {"jpeg", "image/jpeg"},
        {"png", "image/png"},
        {"gif", "image/gif"},
        {"tif", "image/tiff"},
        {"tiff", "image/tiff"},
        {"zip", "application/zip"},
        {"doc", "application/msword"},
        {"xls", "application/vnd.ms-excel"},
        {"docx", "application/vnd.openxmlformats-officedocument.wordprocessingml.document"},
        {"xlsx", "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"},
        {"odt", "application/vnd.oasis.opendocument.text"},
        {"ods", "application/vnd.oasis.opendocument.spreadsheet"},
    };
    const QString extension = QFileInfo(fileName).suffix().toLower();
    for (const auto& entry : known) {
        if (extension == QLatin1String(entry.extension)) return QString::fromLatin1(entry.type);
    }
    return QStringLiteral("application/octet-stream");
}

std::string newMessageId(const QString& fromAddress) {
    const qsizetype at = fromAddress.lastIndexOf('@');
    QString domain = at < 0 ? QString() : fromAddress.mid(at + 1);
    domain.remove(QChar('>')).remove(QChar(' '));
    if (domain.isEmpty()) domain = QStringLiteral("cmail.invalid");
    QByteArray random(16, '\0');
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(random.data()), 4);
    return '<' + random.toHex().toStdString() + '.' +
           QString::number(QDateTime::currentSecsSinceEpoch()).toStdString() + '@' + utf8(domain) + '>';
}

QString withCrLf(const QString& text) {
    QString out;
    out.reserve(text.size() + text.size() / 32);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r') {
            out += QStringLiteral("\r\n");
            if (i + 1 < text.size() && text.at(i + 1) == u'\n') ++i;
        } else if (c == u'\n') {
            out += QStringLiteral("\r\n");
        } else {
            out += c;
        }
    }
    return out;
}

BuiltMessage buildMessage(const MailRequest& request, const Attachment* attachment, const QDateTime& date,
                          const std::string& messageId) {
    vmime::messageBuilder builder;
    const vmime::mailbox from = mailboxOf(request.from);
    builder.setExpeditor(from);
    vmime::addressList to;
    to.appendAddress(vmime::make_shared<vmime::mailbox>(mailboxOf(request.to)));
    builder.setRecipients(to);

    builder.constructTextPart(vmime::mediaType(vmime::mediaTypes::TEXT, vmime::mediaTypes::TEXT_PLAIN));
    auto& textPart = *builder.getTextPart();
    textPart.setCharset(utf8Charset);
    textPart.setText(vmime::make_shared<vmime::stringContentHandler>(utf8(withCrLf(request.body))));
    if (attachment) addAttachment(builder, *attachment);

    const vmime::shared_ptr<vmime::message> message = builder.construct();
    const auto header = message->getHeader();
    header->removeAllFields(vmime::fields::SUBJECT);
    if (!request.replyTo.isEmpty()) header->ReplyTo()->setValue(mailboxOf(request.replyTo));
    header->Date()->setValue(toVmime(date));
    vmime::messageId id;
    id.parse(messageId);
    header->MessageId()->setValue(id);
    if (request.mdn) vmime::mdn::MDNHelper::attachMDNRequest(message, from);

    // Never raw UTF-8 in headers, even when the server offers SMTPUTF8.
    vmime::generationContext context;
    context.setInternationalizedEmailSupport(false);
    BuiltMessage built;
    built.messageId = messageId;
    built.data = unstructuredField("Subject", request.subject);
    vmime::utility::outputStreamStringAdapter out(built.data);
    message->generate(context, out);
    return built;
}

}  // namespace sendwerk::cmail
