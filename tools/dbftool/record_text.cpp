#include "record_text.h"

#include "platform/code_page.h"

namespace sendwerk::dbftool {

QStringList recordValues(const dbf::Table& table) {
    QStringList values;
    for (const dbf::FieldDef& field : table.fields()) {
        switch (field.type) {
        case 'C':
        case 'M': values.append(decode1252(table.text(field.name))); break;
        case 'L': {
            const std::optional<bool> value = table.logical(field.name);
            values.append(value ? (*value ? QStringLiteral("T") : QStringLiteral("F")) : QString());
            break;
        }
        default: values.append(QString::fromLatin1(table.rawField(field.name).trimmed()));
        }
    }
    return values;
}

QStringList headerValues(const dbf::Table& table) {
    QStringList names{QStringLiteral("RECNO"), QStringLiteral("DELETED")};
    for (const dbf::FieldDef& field : table.fields()) names.append(field.name);
    return names;
}

QStringList recordRow(const dbf::Table& table) {
    return QStringList{QString::number(table.recNo()), table.deleted() ? QStringLiteral("*") : QString()} +
           recordValues(table);
}

QByteArray plainLine(const QStringList& values) {
    QStringList escaped;
    for (QString value : values) {
        value.replace('\\', QStringLiteral("\\\\"));
        value.replace('\t', QStringLiteral("\\t"));
        value.replace('\r', QStringLiteral("\\r"));
        value.replace('\n', QStringLiteral("\\n"));
        escaped.append(value);
    }
    return escaped.join('\t').toUtf8() + '\n';
}

QByteArray csvLine(const QStringList& values) {
    QStringList quoted;
    for (QString value : values) {
        if (value.contains(',') || value.contains('"') || value.contains('\r') || value.contains('\n')) {
            value.replace('"', QStringLiteral("\"\""));
            value = '"' + value + '"';
        }
        quoted.append(value);
    }
    return quoted.join(',').toUtf8() + '\n';
}

}  // namespace sendwerk::dbftool
