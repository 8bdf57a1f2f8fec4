#include "commands.h"

#include "dbf/field_text.h"
#include "dbf/ntx_builder.h"
#include "dbf/ntx_format.h"
#include "dbf/table.h"
#include "platform/code_page.h"
#include "record_text.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <memory>
#include <stdexcept>

namespace sendwerk::dbftool {

namespace {

using dbf::FieldDef;
using dbf::Table;

std::unique_ptr<Table> openTable(const QString& path, dbf::ShareMode mode) {
    Result<std::unique_ptr<Table>> opened = Table::open(path, mode);
    if (!opened) throw std::runtime_error(path.toStdString() + ": the table is in use by another program");
    return std::move(*opened);
}

[[noreturn]] void refuse(const Table& table, const QString& cause) {
    throw std::runtime_error(table.path().toStdString() + ": " + cause.toStdString());
}

// The stored form of one value, checked before anything is written.
QByteArray storedValue(const Table& table, const FieldDef& field, const QString& value) {
    const Result<QByteArray> bytes = dbf::storedBytes(field, value);
    if (!bytes) refuse(table, bytes.cause());
    return *bytes;
}

FieldDef parseFieldDefinition(const QString& table, const QString& definition) {
    const QStringList parts = definition.split(':');
    const auto bad = [&]() -> FieldDef {
        throw std::runtime_error(table.toStdString() + ": bad field \"" + definition.toStdString() +
                                 "\", expected NAME:TYPE:WIDTH[:DEC]");
    };
    if (parts.size() < 2 || parts.size() > 4 || parts[1].size() != 1) return bad();
    FieldDef field{parts[0], parts[1].at(0).toUpper().toLatin1(), 0, 0};
    bool ok = true;
    if (parts.size() > 2) field.width = parts[2].toInt(&ok);
    if (!ok) return bad();
    if (parts.size() > 3) field.decimals = parts[3].toInt(&ok);
    if (!ok) return bad();
    return field;
}

// The indexes in the table's folder whose key names one of its fields: an append does
// not reach them, so they no longer find the new record until rebuilt.
struct IndexFile {
    QString name;
    QString expression;
};

QList<IndexFile> indexesOf(const Table& table) {
    QList<IndexFile> found;
    const QDir folder = QFileInfo(table.path()).dir();
    for (const QFileInfo& file : folder.entryInfoList({QStringLiteral("*.ntx")}, QDir::Files, QDir::Name)) {
        QFile ntx(file.filePath());
        if (!ntx.open(QIODevice::ReadOnly)) continue;
        QString expression;
        try {
            expression = dbf::parseNtxHeader(ntx.read(dbf::ntxPageSize), file.filePath(), ntx.size()).expression;
        } catch (const dbf::DbfError&) {
            continue;  // not an index this tool could rebuild either
        }
        static const QRegularExpression word(QStringLiteral("[A-Za-z_][A-Za-z0-9_]*"));
        for (auto match = word.globalMatch(expression); match.hasNext();) {
            if (table.hasField(match.next().captured())) {
                found.append({file.fileName(), expression});
                break;
            }
        }
    }
    return found;
}

}  // namespace

int info(const QString& path, const Output& out) {
    auto table = openTable(path, dbf::ShareMode::Shared);
    const int version = table->versionByte();
    QByteArray text;
    text += "file: " + table->path().toUtf8() + '\n';
    text += "version: 0x" + QByteArray::number(version, 16).toUpper().rightJustified(2, '0') +
            (version == 0x83 ? " (dBASE III with memo)\n" : " (dBASE III)\n");
    text += "last update: " + table->lastUpdate().toString(Qt::ISODate).toLatin1() + '\n';
    text += "records: " + QByteArray::number(table->recCount()) + '\n';
    text += "header length: " + QByteArray::number(table->headerLength()) + '\n';
    text += "record length: " + QByteArray::number(table->recordLength()) + '\n';
    text += "fields:\n";
    for (const FieldDef& f : table->fields())
        text += "  " + f.name.toLatin1() + ' ' + f.type + ' ' + QByteArray::number(f.width) + ' ' +
                QByteArray::number(f.decimals) + '\n';
    out(text);
    return 0;
}

int dump(const QString& path, bool csv, const Output& out) {
    auto table = openTable(path, dbf::ShareMode::Shared);
    const auto line = csv ? csvLine : plainLine;
    out(line(headerValues(*table)));
    for (table->goTop(); !table->eof(); table->skip()) out(line(recordRow(*table)));
    return 0;
}

int create(const QString& path, const QStringList& definitions, const Output&) {
    QList<FieldDef> fields;
    for (const QString& definition : definitions) fields.append(parseFieldDefinition(path, definition));
    const Result<void> created = Table::create(path, fields);
    if (!created) throw std::runtime_error(created.cause().toStdString());
    return 0;
}

int append(const QString& path, const QStringList& assignments, const Output&, const Notice& notice) {
    auto table = openTable(path, dbf::ShareMode::Shared);
    dbf::FieldValues values;
    for (const QString& assignment : assignments) {
        const qsizetype equals = assignment.indexOf('=');
        if (equals <= 0) refuse(*table, "bad assignment \"" + assignment + "\", expected NAME=VALUE");
        const int i = table->fieldIndex(assignment.left(equals));
        if (i < 0) refuse(*table, "the table has no field " + assignment.left(equals));
        const FieldDef& field = table->fields()[i];
        values.append({field.name, storedValue(*table, field, assignment.mid(equals + 1))});
    }
    const Result<void> appended = table->appendRecord(values);
    if (!appended) throw std::runtime_error(appended.cause().toStdString());
    table->commit();
    table->unlockAll();
    for (const IndexFile& index : indexesOf(*table))
        notice(QStringLiteral("dbftool: %1 beside the table does not hold the new record; rebuild it: "
                              "dbftool index %2 %1 '%3'")
                   .arg(index.name, path, index.expression));
    return 0;
}

int index(const QString& path, const QString& ntx, const QString& expression, const Output&) {
    auto table = openTable(path, dbf::ShareMode::Shared);
    dbf::buildIndex(*table, ntx, expression);
    return 0;
}

int seek(const QString& path, const QString& ntx, const QString& key, const Output& out) {
    auto table = openTable(path, dbf::ShareMode::Shared);
    table->setIndex(ntx);
    const Encoded encoded = encode1252(key);
    if (!encoded.complete()) refuse(*table, "the key holds characters that Windows-1252 cannot store");
    if (!table->seek(encoded.bytes)) return 1;
    out(plainLine(recordRow(*table)));
    return 0;
}

}  // namespace sendwerk::dbftool
