#include "dbf/delimited_reader.h"

#include "dbf/table.h"

#include <QFile>

namespace sendwerk::dbf {

DelimitedReader::DelimitedReader(QByteArray content) : content_(std::move(content)) {
    if (content_.endsWith('\x1A')) content_.chop(1);
    skipEmptyLines();
}

DelimitedReader DelimitedReader::fromFile(const QString& nativePath) {
    QFile file(nativePath);
    if (!file.open(QIODevice::ReadOnly))
        throw DbfError(nativePath.toStdString() + ": cannot read: " + file.errorString().toStdString());
    return DelimitedReader(file.readAll());
}

bool DelimitedReader::atEnd() const { return position_ >= content_.size(); }

void DelimitedReader::skipEmptyLines() {
    while (position_ < content_.size()) {
        const char c = content_.at(position_);
        if (c != '\n' && c != '\r') return;
        ++position_;
    }
}

QList<QByteArray> DelimitedReader::next() {
    if (atEnd()) return {};
    qsizetype end = content_.indexOf('\n', position_);
    if (end < 0) end = content_.size();
    QByteArray line = content_.mid(position_, end - position_);
    if (line.endsWith('\r')) line.chop(1);
    position_ = end + 1;
    skipEmptyLines();
    return splitLine(line);
}

QList<QByteArray> DelimitedReader::splitLine(const QByteArray& line) {
    QList<QByteArray> fields;
    QByteArray field;
    qsizetype i = 0;
    bool fieldStart = true;
    while (i < line.size()) {
        const char c = line.at(i);
        if (fieldStart && c == '"') {
            // Quoted part: up to the closing quote, or the end of the line.
            ++i;
            while (i < line.size()) {
                if (line.at(i) == '"') {
                    if (i + 1 < line.size() && line.at(i + 1) == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += line.at(i++);
            }
            fieldStart = false;
            continue;
        }
        fieldStart = false;
        if (c == ',') {
            fields.append(field);
            field.clear();
            fieldStart = true;
        } else {
            field += c;
        }
        ++i;
    }
    fields.append(field);
    return fields;
}

}  // namespace sendwerk::dbf
