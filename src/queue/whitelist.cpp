#include "queue/whitelist.h"

#include "platform/file_system.h"
#include "queue/connection_data.h"

namespace sendwerk {

QByteArray lower1252(const QByteArray& text) {
    QByteArray out = text;
    for (char& c : out) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7))
            c = static_cast<char>(b + 0x20);
        else if (b == 0x8A || b == 0x8C || b == 0x8E)
            c = static_cast<char>(b + 0x10);
        else if (b == 0x9F)
            c = static_cast<char>(0xFF);
    }
    return out;
}

Whitelist::Whitelist(const QByteArray& fileText) : text_(lower1252(normaliseLineBreaks(fileText))) {}

QString Whitelist::path(const QString& cDatver) { return cDatver + QStringLiteral("CMail\\WhiteList.mad"); }

Whitelist Whitelist::read(const QString& cDatver, const FileSystem& files) {
    const Result<QByteArray> text = files.read(path(cDatver));
    Whitelist whitelist(text.ok() ? text.value() : QByteArray());
    whitelist.missing_ = !text.ok();
    return whitelist;
}

bool Whitelist::passes(const QByteArray& recipient) const { return text_.contains(lower1252(recipient)); }

}  // namespace sendwerk
