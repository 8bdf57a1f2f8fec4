#include "queue/connection_data.h"

#include <QList>

#include "platform/file_system.h"
#include "platform/office_text.h"

namespace sendwerk {

namespace {

constexpr int kLineWidth = 80;

// The lines of a CR LF text, a long line wrapped at the line width; a line break at
// the very end starts no further line.
QList<QByteArray> wrappedLines(const QByteArray& text) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf("\r\n", start);
        const qsizetype next = end < 0 ? text.size() : end + 2;
        if (end < 0) end = text.size();
        QByteArray line = text.mid(start, end - start);
        do {
            lines.append(line.left(kLineWidth));
            line.remove(0, kLineWidth);
        } while (!line.isEmpty());
        start = next;
    }
    return lines;
}

}  // namespace

QByteArray normaliseLineBreaks(const QByteArray& text) {
    QByteArray out;
    out.reserve(text.size() + text.count('\n'));
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && i > 0 && text[i - 1] != '\r') out.append('\r');
        out.append(text[i]);
    }
    return out;
}

ConnectionRead parseConnectionData(const QByteArray& fileText) {
    const QList<QByteArray> lines = wrappedLines(normaliseLineBreaks(fileText));
    ConnectionRead read;
    read.valueCount = int(lines.size());
    if (lines.size() < 6) return read;
    read.data = ConnectionData{withoutTrailingBlanks(lines[0]), withoutTrailingBlanks(lines[1]),
                               withoutTrailingBlanks(lines[2]), withoutTrailingBlanks(lines[3]),
                               withoutTrailingBlanks(lines[4]), withoutTrailingBlanks(lines[5])};
    return read;
}

ConnectionRead readConnectionData(const QString& cDatver, const FileSystem& files) {
    return parseConnectionData(files.readWhole(cDatver + QStringLiteral("CMail\\Verbindung.dat")));
}

QByteArray connectionTextForEditing(const QString& cDatver, const FileSystem& files) {
    return normaliseLineBreaks(files.readWhole(cDatver + QStringLiteral("CMail\\Verbindung.dat")));
}

}  // namespace sendwerk
