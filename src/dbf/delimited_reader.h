// Reads comma-separated text one record at a time, as the address export of the
// office's main application writes it. Rules (each a defined result, never an error):
// - a record is one line; lines end in LF or CR LF; empty lines are skipped; a final
//   0x1A (DOS end of file) is ignored;
// - fields are separated by commas; a field that begins with '"' is quoted: commas
//   inside it are text, "" stands for one '"', and text after the closing quote up to
//   the next comma is kept as it is;
// - a quote that is not closed runs to the end of its line (never into the next one);
// - blanks around values are kept, bytes are not converted (Windows-1252 stays so);
// - a record with fewer fields simply yields a shorter list: QList::value(i) gives an
//   empty value for a field that is missing.
// Not thread-safe; owns its copy of the text.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace sendwerk::dbf {

class DelimitedReader {
public:
    explicit DelimitedReader(QByteArray content);
    // Reads the whole file; throws DbfError naming it when it cannot be read.
    static DelimitedReader fromFile(const QString& nativePath);

    bool atEnd() const;
    // The next record's fields; empty at the end.
    QList<QByteArray> next();

    static QList<QByteArray> splitLine(const QByteArray& line);

private:
    void skipEmptyLines();

    QByteArray content_;
    qsizetype position_ = 0;
};

}  // namespace sendwerk::dbf
