#include "arguments.h"

#include "platform/code_page.h"

namespace sendwerk::cmail {

namespace {

bool hasLineBreak(const QString& text) { return text.contains(QChar('\r')) || text.contains(QChar('\n')); }

QString parseDsnLetters(const QString& letters, DsnRequest& into) {
    into = {};
    for (const QChar c : letters) {
        switch (c.toUpper().unicode()) {
        case 'S': into.success = true; break;
        case 'F': into.failure = true; break;
        case 'D': into.delay = true; break;
        default: return QStringLiteral("Unbekannter DSN-Buchstabe \"%1\" in -dsn: (erlaubt: S, F, D)").arg(c);
        }
    }
    return {};
}

// Subject lines are one header line: a line break in them would end the header early.
QString oneLine(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QChar('\r'), QChar(' '));
    text.replace(QChar('\n'), QChar(' '));
    return text;
}

}  // namespace

QString DsnRequest::notifyValue() const {
    QStringList parts;
    if (success) parts << QStringLiteral("SUCCESS");
    if (failure) parts << QStringLiteral("FAILURE");
    if (delay) parts << QStringLiteral("DELAY");
    return parts.join(',');
}

ByteSpan passwordSpan(const QByteArray& argument) {
    const QByteArray option = "-host:";
    if (!argument.toLower().startsWith(option)) return {};
    const qsizetype at = argument.lastIndexOf('@');
    const qsizetype colon = argument.indexOf(':', option.size());
    if (at < 0 || colon < 0 || colon > at) return {};
    return {colon + 1, at - colon - 1};
}

QString parseAccount(const QString& text, ServerAccount& into) {
    into = {};
    QString hostPart = text;
    const qsizetype at = text.lastIndexOf('@');
    if (at >= 0) {
        const QString credentials = text.left(at);
        hostPart = text.mid(at + 1);
        const qsizetype colon = credentials.indexOf(':');
        into.user = colon < 0 ? credentials : credentials.left(colon);
        into.password = colon < 0 ? QString() : credentials.mid(colon + 1);
    }
    const qsizetype colon = hostPart.lastIndexOf(':');
    into.host = colon < 0 ? hostPart : hostPart.left(colon);
    const QString port = colon < 0 ? QString() : hostPart.mid(colon + 1).trimmed();
    if (into.host.trimmed().isEmpty()) return QStringLiteral("Kein Mail-Server in -host: angegeben");
    into.host = into.host.trimmed();
    if (!port.isEmpty()) {
        bool ok = false;
        const int number = port.toInt(&ok);
        if (!ok || number < 1 || number > 65535) return QStringLiteral("Ungültiger Port \"%1\" in -host:").arg(port);
        into.port = number;
    }
    if (hasLineBreak(into.user) || hasLineBreak(into.host))
        return QStringLiteral("Zeilenumbruch in -host: ist nicht erlaubt");
    return {};
}

ParsedArguments parseArguments(const std::vector<QByteArray>& arguments) {
    ParsedArguments parsed;
    MailRequest& r = parsed.request;
    bool sawHost = false;

    for (const QByteArray& raw : arguments) {
        const QString argument = decode1252(raw);
        const qsizetype colon = argument.indexOf(':');
        const QString name = (colon < 0 ? argument : argument.left(colon)).toLower();
        const QString value = colon < 0 ? QString() : argument.mid(colon + 1);
        const bool hasValue = colon >= 0;

        if (name == u"-starttls" && !hasValue) {
            r.requireTls = true;
        } else if (name == u"-mdn" && !hasValue) {
            r.mdn = true;
        } else if (!hasValue) {
            parsed.errors << QStringLiteral("Unbekanntes Argument \"%1\"").arg(argument);
        } else if (name == u"-host") {
            sawHost = true;
            const QString error = parseAccount(value, r.account);
            if (!error.isEmpty()) parsed.errors << error;
        } else if (name == u"-to") {
            r.to = value.trimmed();
        } else if (name == u"-from") {
            r.from = value.trimmed();
        } else if (name == u"-reply-to") {
            r.replyTo = value.trimmed();
        } else if (name == u"-subject") {
            r.subject = oneLine(value);
        } else if (name == u"-body") {
            r.body = value;
        } else if (name == u"-a") {
            r.attachment = value.trimmed();
        } else if (name == u"-dsn") {
            const QString error = parseDsnLetters(value.trimmed(), r.dsn);
            if (!error.isEmpty()) parsed.errors << error;
        } else if (name == u"-results") {
            r.results = value.trimmed();
        } else {
            parsed.errors << QStringLiteral("Unbekanntes Argument \"%1\"").arg(argument);
        }
    }

    if (!sawHost) parsed.errors << QStringLiteral("-host: fehlt");
    if (r.to.isEmpty()) parsed.errors << QStringLiteral("-to: fehlt oder ist leer");
    if (r.from.isEmpty()) parsed.errors << QStringLiteral("-from: fehlt oder ist leer");
    for (const QString* address : {&r.to, &r.from, &r.replyTo}) {
        if (hasLineBreak(*address))
            parsed.errors
                << QStringLiteral("Zeilenumbruch in einer Adresse ist nicht erlaubt: \"%1\"").arg(oneLine(*address));
        else if (!address->isEmpty() && !address->contains('@'))
            parsed.errors << QStringLiteral("Ungültige Adresse \"%1\"").arg(*address);
    }
    return parsed;
}

}  // namespace sendwerk::cmail
