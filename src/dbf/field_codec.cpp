#include "dbf/field_codec.h"

#include <cmath>

namespace sendwerk::dbf {

QByteArray padText(const QByteArray& value, int width) {
    QByteArray result = value.left(width);
    if (result.size() < width) result.append(width - result.size(), ' ');
    return result;
}

std::optional<QByteArray> formatNumber(double value, int width, int decimals) {
    if (!std::isfinite(value)) return std::nullopt;
    // Halves round away from zero, as the other engines do (printf would round to even).
    const double scale = std::pow(10.0, decimals);
    const double rounded = std::round(value * scale) / scale;
    QByteArray text = QByteArray::number(std::isfinite(rounded) ? rounded : value, 'f', decimals);
    // A value that rounds to zero carries no sign ("-0.00" is not a number others write).
    if (text.startsWith('-') && text.toDouble() == 0.0) text.remove(0, 1);
    if (text.size() > width) return std::nullopt;
    return QByteArray(width - text.size(), ' ') + text;
}

QByteArray strOf(double value, int width, int decimals) {
    return formatNumber(value, width, decimals).value_or(QByteArray(width, '*'));
}

std::optional<double> parseNumber(const QByteArray& raw) {
    const QByteArray text = raw.trimmed();
    if (text.isEmpty()) return std::nullopt;
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok) return std::nullopt;
    return value;
}

QDate parseDate(const QByteArray& raw) {
    if (raw.size() < 8) return {};
    return QDate::fromString(QString::fromLatin1(raw.left(8)), QStringLiteral("yyyyMMdd"));
}

QByteArray formatDate(const QDate& date) {
    if (!date.isValid() || date.year() < 1 || date.year() > 9999) return QByteArray(8, ' ');
    return date.toString(QStringLiteral("yyyyMMdd")).toLatin1();
}

std::optional<bool> parseLogical(const QByteArray& raw) {
    if (raw.isEmpty()) return std::nullopt;
    switch (raw.at(0)) {
    case 'T':
    case 't':
    case 'Y':
    case 'y': return true;
    case 'F':
    case 'f':
    case 'N':
    case 'n': return false;
    default: return std::nullopt;
    }
}

std::optional<quint32> parseMemoBlock(const QByteArray& raw) {
    const QByteArray text = raw.trimmed();
    if (text.isEmpty()) return quint32{0};
    bool ok = false;
    const quint32 block = text.toUInt(&ok);
    if (!ok) return std::nullopt;
    return block;
}

QByteArray formatMemoBlock(quint32 block) {
    if (block == 0) return QByteArray(10, ' ');
    return QByteArray::number(block).rightJustified(10, ' ');
}

}  // namespace sendwerk::dbf
