#include "send_report.h"

#include <QStringList>

namespace sendwerk::cmail {

namespace {

// The password is masked where it stands as a value of its own. Inside a longer word it
// is not the password: a one-letter password must not blank that letter out of every
// word of a server reply ("Empfänger" with the password "e").
bool glued(const QString& text, qsizetype at, QChar edgeOfSecret) {
    return edgeOfSecret.isLetterOrNumber() && at >= 0 && at < text.size() && text.at(at).isLetterOrNumber();
}

QString masked(QString text, const QString& secret) {
    if (secret.isEmpty()) return text;
    const QString mask = QStringLiteral("***");
    for (qsizetype at = text.indexOf(secret); at >= 0; at = text.indexOf(secret, at)) {
        if (glued(text, at - 1, secret.front()) || glued(text, at + secret.size(), secret.back())) {
            ++at;
            continue;
        }
        text.replace(at, secret.size(), mask);
        at += mask.size();
    }
    return text;
}

QString jsonString(const QString& text) {
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"': out += QStringLiteral("\\\""); break;
        case '\\': out += QStringLiteral("\\\\"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar('0'));
            else
                out += c;
        }
    }
    return out + QChar('"');
}

QString jsonBool(bool value) { return value ? QStringLiteral("true") : QStringLiteral("false"); }

}  // namespace

QByteArray toJson(const SendReport& r, const QString& secret) {
    const auto text = [&](const QString& value) { return jsonString(masked(value, secret)); };
    QStringList fields = {
        QStringLiteral("\"status\": ") + (r.accepted ? QStringLiteral("\"accepted\"") : QStringLiteral("\"failure\"")),
        QStringLiteral("\"message\": ") + text(r.message),
        QStringLiteral("\"step\": ") + text(r.step),
        QStringLiteral("\"reply_code\": ") + QString::number(r.replyCode),
        QStringLiteral("\"reply_text\": ") + text(r.replyText),
        QStringLiteral("\"recipient\": ") + text(r.recipient),
        QStringLiteral("\"server\": ") + text(r.server),
        QStringLiteral("\"tls\": ") + jsonBool(r.tls),
        QStringLiteral("\"dsn_asked\": ") + jsonBool(r.dsnAsked),
        QStringLiteral("\"dsn_requested\": ") + jsonBool(r.dsnRequested),
        QStringLiteral("\"dsn_note\": ") + text(r.dsnNote),
        QStringLiteral("\"mdn_requested\": ") + jsonBool(r.mdnRequested),
        QStringLiteral("\"delivery_uncertain\": ") + jsonBool(r.deliveryUncertain),
        QStringLiteral("\"message_id\": ") + text(QString::fromStdString(r.messageId)),
        QStringLiteral("\"timestamp\": ") +
            text(r.timestamp.toOffsetFromUtc(r.timestamp.offsetFromUtc()).toString(Qt::ISODate)),
    };
    return ("{\n  " + fields.join(QStringLiteral(",\n  ")) + "\n}\n").toUtf8();
}

QString summaryLine(const SendReport& r, const QString& secret) {
    QString line = QStringLiteral("cmail: %1 %2")
                       .arg(r.accepted ? QStringLiteral("accepted") : QStringLiteral("failure"), r.recipient);
    if (!r.accepted && !r.step.isEmpty()) line += QStringLiteral(" at ") + r.step;
    if (r.replyCode != 0) line += QStringLiteral(" (%1 %2)").arg(r.replyCode).arg(r.replyText);
    if (!r.message.isEmpty()) line += QStringLiteral(": ") + r.message;
    line.replace(QChar('\r'), QChar(' ')).replace(QChar('\n'), QChar(' '));
    return masked(line, secret);
}

}  // namespace sendwerk::cmail
