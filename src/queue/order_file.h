// The content of a mail order file: recipient field, subject, mail text and attachment
// path, separated by "|||", taken exactly as written (Windows-1252 bytes, no trimming).
// Missing subject and text get the office's default texts; present but empty fields
// stay empty. Pure functions, any thread.
#pragma once

#include <QByteArray>
#include <QList>

namespace sendwerk {

struct MailOrder {
    QByteArray recipientField;
    QByteArray cMail_Betr;
    QByteArray cMail_Body;
    QByteArray cMail_Anhang;

    // The field holds "{" anywhere: a recipient list.
    bool isList() const { return recipientField.contains('{'); }
};

// Splits at every `separator`: the text before each occurrence is one element (maybe
// empty); a non-empty rest is the last one, an empty rest adds nothing.
QList<QByteArray> splitFields(const QByteArray& text, const QByteArray& separator);

// An empty text has no fields: the caller must not take it for an order.
MailOrder parseOrder(const QByteArray& text);

// The recipients of a list field, numbered from 1 in list order: the enclosing braces
// removed when the field ends with "}", then split at ",", elements not trimmed.
QList<QByteArray> splitRecipients(const QByteArray& recipientField);

}  // namespace sendwerk
