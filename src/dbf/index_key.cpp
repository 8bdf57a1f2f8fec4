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

KeySpec parseKeyExpression(const QString& expression, const QList<FieldDef>& fields, const QString& path) {
    static const QRegularExpression plain(QStringLiteral(R"(^\s*([A-Za-z_][A-Za-z0-9_]*)\s*$)"));
    static const QRegularExpression str(QStringLiteral(
        R"(^\s*STR\s*\(\s*([A-Za-z_][A-Za-z0-9_]*)\s*(?:,\s*(\d+)\s*(?:,\s*(\d+)\s*)?)?\)\s*$)"),
        QRegularExpression::CaseInsensitiveOption);
    KeySpec spec;
    if (const auto match = plain.match(expression); match.hasMatch()) {
        spec.field = fieldNamed(match.captured(1), fields);
        if (spec.field < 0) refuse(path, expression, "the table has no such field");
        const FieldDef& f = fields[spec.field];
        if (f.type == 'M') refuse(path, expression, "a memo field cannot be a key");
        spec.kind = f.type == 'N' ? KeySpec::Kind::Numeric : KeySpec::Kind::Text;
        spec.length = f.width;
        spec.decimals = f.type == 'N' ? f.decimals : 0;
    } else if (const auto call = str.match(expression); call.hasMatch()) {
        spec.field = fieldNamed(call.captured(1), fields);
        if (spec.field < 0) refuse(path, expression, "the table has no such field");
        if (fields[spec.field].type != 'N') refuse(path, expression, "STR() needs a numeric field");
        spec.kind = KeySpec::Kind::Str;
        spec.length = call.captured(2).isEmpty() ? 10 : call.captured(2).toInt();
        spec.decimals = call.captured(3).isEmpty() ? 0 : call.captured(3).toInt();
        if (spec.length < 1 || spec.length > 20 || (spec.decimals > 0 && spec.decimals > spec.length - 2))
            refuse(path, expression, "width or decimals out of range");
    } else {
        refuse(path, expression, "only a field name or STR(field, width[, decimals]) is supported");
    }
    if (spec.length > 250) refuse(path, expression, "the key is longer than 250 bytes");
    return spec;
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

QByteArray keyOf(const KeySpec& spec, const QByteArray& rawField) {
    switch (spec.kind) {
    case KeySpec::Kind::Text: return padText(rawField, spec.length);
    case KeySpec::Kind::Numeric: return numericKey(parseNumber(rawField).value_or(0.0), spec.length, spec.decimals);
    case KeySpec::Kind::Str: return strOf(parseNumber(rawField).value_or(0.0), spec.length, spec.decimals);
    }
    return {};
}

QByteArray searchKey(const KeySpec& spec, const QByteArray& value) {
    // STR() keys are text too: "    42" is looked up as written.
    if (!spec.numeric()) return value.left(spec.length);
    return searchKey(spec, parseNumber(value).value_or(0.0));
}

QByteArray searchKey(const KeySpec& spec, double value) {
    if (spec.kind == KeySpec::Kind::Numeric) return numericKey(value, spec.length, spec.decimals);
    if (spec.kind == KeySpec::Kind::Str) return strOf(value, spec.length, spec.decimals);
    return strOf(value, spec.length, 0);
}

}  // namespace sendwerk::dbf

