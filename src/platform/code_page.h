// The office's two code pages: Windows-1252 (files, table fields, what the mail client
// gets) and CP850 (the OEM page the old panes worked in). Conversion happens at the
// edges only. A character that the target page cannot hold is never dropped silently:
// the encoders report it.
#pragma once

#include <QByteArray>
#include <QString>

namespace sendwerk {

struct Encoded {
    QByteArray bytes;    // unmappable characters come out as '?'
    QString unmappable;  // the characters that did not fit, in order; empty when all did
    bool complete() const { return unmappable.isEmpty(); }
};

QString decode1252(const QByteArray& bytes);
Encoded encode1252(const QString& text);

QString decode850(const QByteArray& bytes);
Encoded encode850(const QString& text);

}  // namespace sendwerk
