#include "header_encoding.h"

#include <QByteArray>
#include <QList>

namespace sendwerk::cmail {

namespace {

constexpr size_t maxLine = 78;
// 39 bytes give 52 base64 characters, a 64-character word: "Subject: " plus one word
// stays within maxLine.
constexpr qsizetype maxEncodedBytes = 39;

bool isPlainAscii(const QByteArray& utf8) {
    for (const char c : utf8) {
        if (c < 0x20 || c > 0x7e) return false;
    }
    return !utf8.contains("=?");
}

bool isUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Folds before blanks; false when a word is too long to fit any line.
bool foldPlain(const std::string& start, const QByteArray& value, std::string& out) {
    std::string line = start;
    bool lineHasText = false;
    for (const QByteArray& word : value.split(' ')) {
        const std::string piece = ' ' + word.toStdString();
        if (lineHasText && !word.isEmpty() && line.size() + piece.size() > maxLine) {
            out += line + "\r\n";
            line.clear();
        }
        line += piece;
        lineHasText = lineHasText || !word.isEmpty();
        if (line.size() > maxLine) return false;
    }
    out += line + "\r\n";
    return true;
}

std::string encodedWords(const std::string& start, const QByteArray& utf8) {
    std::string out = start;
    qsizetype position = 0;
    bool first = true;
    do {
        qsizetype length = std::min(maxEncodedBytes, utf8.size() - position);
        while (position + length < utf8.size() && length > 0 && isUtf8Continuation(utf8.at(position + length)))
            --length;
        const QByteArray chunk = utf8.mid(position, length);
        out += (first ? " " : "\r\n ") + ("=?UTF-8?B?" + chunk.toBase64() + "?=").toStdString();
        position += length;
        first = false;
    } while (position < utf8.size());
    return out + "\r\n";
}

}  // namespace

std::string unstructuredField(const std::string& name, const QString& value) {
    const QByteArray utf8 = value.toUtf8();
    const std::string start = name + ':';
    if (isPlainAscii(utf8)) {
        std::string folded;
        if (foldPlain(start, utf8, folded)) return folded;
    }
    return encodedWords(start, utf8);
}

}  // namespace sendwerk::cmail
