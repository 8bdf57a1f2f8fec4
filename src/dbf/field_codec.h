// How values sit in the fields of a record: C left-aligned and blank-padded, N ASCII
// right-aligned with exactly `decimals` digits, D YYYYMMDD, L T/F, M a block number in
// ten digits. Encoders produce exactly `width` bytes or throw DbfError (a number that
// does not fit is refused rather than stored as asterisks, so no value is lost
// silently). Decoders accept what other engines write.
#pragma once

#include "dbf/table.h"

#include <QByteArray>
#include <QDate>

#include <optional>

namespace sendwerk::dbf {

// Text left-aligned, blank-padded, cut at the width.
QByteArray padText(const QByteArray& value, int width);
// `value` formatted with `decimals` digits; nullopt when it needs more than `width` bytes.
std::optional<QByteArray> formatNumber(double value, int width, int decimals);
// A number as STR() shows it: asterisks when it does not fit.
QByteArray strOf(double value, int width, int decimals);

std::optional<double> parseNumber(const QByteArray& raw);
QDate parseDate(const QByteArray& raw);
QByteArray formatDate(const QDate& date);  // 8 blanks for an invalid date
std::optional<bool> parseLogical(const QByteArray& raw);
// The memo block of an M field; 0 when the field is blank (no memo).
std::optional<quint32> parseMemoBlock(const QByteArray& raw);
QByteArray formatMemoBlock(quint32 block);  // 10 blanks for 0

}  // namespace sendwerk::dbf
