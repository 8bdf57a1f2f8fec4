#include "queue/order_file.h"

namespace sendwerk {

namespace {
// Windows-1252: "ü" is 0xFC.
const QByteArray kDefaultSubject = QByteArray("Formular f\xFCr Sterbefall");
const QByteArray kDefaultBody = QByteArray("Formular f\xFCr Sterbefall im Anhang");
}  // namespace

QList<QByteArray> splitFields(const QByteArray& text, const QByteArray& separator) {
    QList<QByteArray> fields;
    qsizetype start = 0;
    for (qsizetype at = text.indexOf(separator, start); at >= 0; at = text.indexOf(separator, start)) {
        fields.append(text.mid(start, at - start));
        start = at + separator.size();
    }
    if (start < text.size()) fields.append(text.mid(start));
    return fields;
}

MailOrder parseOrder(const QByteArray& text) {
    const QList<QByteArray> fields = splitFields(text, "|||");
    MailOrder order;
    order.recipientField = fields.value(0);
    order.cMail_Betr = fields.size() > 1 ? fields[1] : kDefaultSubject;
    order.cMail_Body = fields.size() > 2 ? fields[2] : kDefaultBody;
    order.cMail_Anhang = fields.value(3);
    return order;
}

QList<QByteArray> splitRecipients(const QByteArray& recipientField) {
    QByteArray list = recipientField;
    if (list.endsWith('}')) list = list.mid(1, list.size() - 2);
    return splitFields(list, ",");
}

}  // namespace sendwerk
