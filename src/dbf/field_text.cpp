#include "dbf/field_text.h"

#include "dbf/field_codec.h"
#include "platform/code_page.h"
#include "platform/office_text.h"

#include <QDate>

namespace sendwerk::dbf {

namespace {

QString quoted(const QString& text) { return QStringLiteral("„") + text + QStringLiteral("“"); }

Result<QByteArray> characters(const FieldDef& field, const QString& text) {
    const Encoded encoded = encode1252(text);
    if (!encoded.complete())
        return Failure{QStringLiteral("Der Wert für %1 enthält Zeichen, die Windows-1252 nicht kennt: %2")
                           .arg(field.name, encoded.unmappable)};
    if (field.type == 'M') return encoded.bytes;
    const QByteArray bytes = withoutTrailingBlanks(encoded.bytes);
    if (bytes.size() > field.width)
        return Failure{QStringLiteral("%1 ist zu lang für %2 (höchstens %3 Zeichen)")
                           .arg(quoted(text), field.name)
                           .arg(field.width)};
    return padText(bytes, field.width);
}

Result<QByteArray> number(const FieldDef& field, const QString& text) {
    QString plain = withoutBlanks(text);
    plain.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = plain.toDouble(&ok);
    if (!ok) return Failure{QStringLiteral("%1 ist keine Zahl für %2").arg(quoted(text), field.name)};
    const std::optional<QByteArray> bytes = formatNumber(value, field.width, field.decimals);
    if (!bytes)
        return Failure{QStringLiteral("%1 passt nicht in %2 (%3 Stellen, %4 nach dem Komma)")
                           .arg(quoted(text), field.name)
                           .arg(field.width)
                           .arg(field.decimals)};
    return *bytes;
}

Result<QByteArray> date(const FieldDef& field, const QString& text) {
    const QString plain = withoutBlanks(text);
    QDate value = QDate::fromString(plain, QStringLiteral("yyyyMMdd"));
    if (!value.isValid()) value = QDate::fromString(plain, QStringLiteral("dd.MM.yyyy"));
    if (!value.isValid())
        return Failure{
            QStringLiteral("%1 ist kein Datum (JJJJMMTT oder TT.MM.JJJJ) für %2").arg(quoted(text), field.name)};
    return formatDate(value);
}

Result<QByteArray> logical(const FieldDef& field, const QString& text) {
    const QString plain = withoutBlanks(text).toUpper();
    if (plain == QLatin1String("T") || plain == QLatin1String("Y") || plain == QLatin1String("J"))
        return QByteArray("T");
    if (plain == QLatin1String("F") || plain == QLatin1String("N")) return QByteArray("F");
    if (plain == QLatin1String("?")) return QByteArray("?");
    return Failure{QStringLiteral("%1 ist kein logischer Wert (T oder F) für %2").arg(quoted(text), field.name)};
}

}  // namespace

Result<QByteArray> storedBytes(const FieldDef& field, const QString& text) {
    if (field.type == 'C' || field.type == 'M') return characters(field, text);
    if (withoutBlanks(text).isEmpty()) return QByteArray(field.width, ' ');
    switch (field.type) {
    case 'N': return number(field, text);
    case 'D': return date(field, text);
    case 'L': return logical(field, text);
    default:
        return Failure{QStringLiteral("Das Feld %1 hat den unbekannten Typ %2").arg(field.name, QChar(field.type))};
    }
}

int textWidth(const FieldDef& field) { return field.type == 'D' ? 10 : field.width; }

QString fieldText(const FieldDef& field, const QByteArray& stored) {
    const QString empty(textWidth(field), QLatin1Char(' '));
    switch (field.type) {
    case 'N': {
        const std::optional<double> value = parseNumber(stored);
        if (!value) return stored.trimmed().isEmpty() ? empty : QString::fromLatin1(stored);
        return QString::fromLatin1(formatNumber(*value, field.width, field.decimals).value_or(stored));
    }
    case 'D': {
        const QDate value = parseDate(stored);
        return value.isValid() ? value.toString(QStringLiteral("dd.MM.yyyy")) : empty;
    }
    case 'L': {
        const std::optional<bool> value = parseLogical(stored);
        return value ? QString(*value ? QLatin1Char('T') : QLatin1Char('F')) : empty;
    }
    default: return decode1252(stored);
    }
}

}  // namespace sendwerk::dbf
