// Small text rules of the office's files, for Unicode text (QString) and stored bytes
// (QByteArray) alike. Only the blank (0x20) is trimmed: tabs and line breaks belong to
// the text, which Qt's trimmed() would take away too.
#pragma once

#include <QByteArray>
#include <QString>

namespace sendwerk {

// The line break of every file, pane and message of the office.
inline const QString CRLF = QStringLiteral("\r\n");

template <typename Text>
Text withoutTrailingBlanks(Text text) {
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == ' ') --end;
    text.truncate(end);
    return text;
}

template <typename Text>
Text withoutLeadingBlanks(const Text& text) {
    qsizetype start = 0;
    while (start < text.size() && text.at(start) == ' ') ++start;
    return text.mid(start);
}

template <typename Text>
Text withoutBlanks(const Text& text) {
    return withoutLeadingBlanks(withoutTrailingBlanks(text));
}

}  // namespace sendwerk
