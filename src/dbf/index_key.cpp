#include "dbf/index_key.h"

#include "dbf/field_codec.h"

#include <QRegularExpression>

namespace sendwerk::dbf {

namespace {

[[noreturn]] void refuse(const QString& path, const QString& expression, const std::string& cause) {
    throw DbfError(path.toStdString() + ": index expression \"" + expression.toStdString() + "\": " + cause);
}

int fieldNamed(const QString& name, const QList<FieldDef>& fields) {
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

}  // namespace

IndexKey parseKeyExpression(const QString& expression, const QList<FieldDef>& fields, const QString& path) {
    static const QRegularExpression plain(QStringLiteral(R"(^\s*([A-Za-z_][A-Za-z0-9_]*)\s*$)"));
    static const QRegularExpression str(
        QStringLiteral(R"(^\s*STR\s*\(\s*([A-Za-z_][A-Za-z0-9_]*)\s*(?:,\s*(\d+)\s*(?:,\s*(\d+)\s*)?)?\)\s*$)"),
        QRegularExpression::CaseInsensitiveOption);
    IndexKey key;
    if (const auto match = plain.match(expression); match.hasMatch()) {
        key.field = fieldNamed(match.captured(1), fields);
        if (key.field < 0) refuse(path, expression, "the table has no such field");
        const FieldDef& f = fields[key.field];
        if (f.type == 'M') refuse(path, expression, "a memo field cannot be a key");
        key.kind = f.type == 'N' ? IndexKey::Kind::Numeric : IndexKey::Kind::Text;
        key.length = f.width;
        key.decimals = f.type == 'N' ? f.decimals : 0;
    } else if (const auto call = str.match(expression); call.hasMatch()) {
        key.field = fieldNamed(call.captured(1), fields);
        if (key.field < 0) refuse(path, expression, "the table has no such field");
        if (fields[key.field].type != 'N') refuse(path, expression, "STR() needs a numeric field");
        key.kind = IndexKey::Kind::Str;
        key.length = call.captured(2).isEmpty() ? 10 : call.captured(2).toInt();
        key.decimals = call.captured(3).isEmpty() ? 0 : call.captured(3).toInt();
        if (key.length < 1 || key.length > 20 || (key.decimals > 0 && key.decimals > key.length - 2))
            refuse(path, expression, "width or decimals out of range");
    } else {
        refuse(path, expression, "only a field name or STR(field, width[, decimals]) is supported");
    }
    if (key.length > 250) refuse(path, expression, "the key is longer than 250 bytes");
    return key;
}

QByteArray numericKey(double value, int width, int decimals) {
    QByteArray key = strOf(value, width, decimals);
    for (char& c : key) {
        if (c != ' ') break;
        c = '0';
    }
    if (!key.contains('-')) return key;
    key.replace('-', '0');
    for (char& c : key)
        if (c >= '0' && c <= '9') c = static_cast<char>(0x5C - c);
    return key;
}

QByteArray keyOf(const IndexKey& key, const QByteArray& rawField) {
    switch (key.kind) {
    case IndexKey::Kind::Text: return padText(rawField, key.length);
    case IndexKey::Kind::Numeric: return numericKey(parseNumber(rawField).value_or(0.0), key.length, key.decimals);
    case IndexKey::Kind::Str: return strOf(parseNumber(rawField).value_or(0.0), key.length, key.decimals);
    }
    return {};
}

QByteArray searchKey(const IndexKey& key, const QByteArray& value) {
    // STR() keys are text too: "    42" is looked up as written.
    if (!key.numeric()) return value.left(key.length);
    return searchKey(key, parseNumber(value).value_or(0.0));
}

QByteArray searchKey(const IndexKey& key, double value) {
    if (key.kind == IndexKey::Kind::Numeric) return numericKey(value, key.length, key.decimals);
    if (key.kind == IndexKey::Kind::Str) return strOf(value, key.length, key.decimals);
    return strOf(value, key.length, 0);
}

}  // namespace sendwerk::dbf
