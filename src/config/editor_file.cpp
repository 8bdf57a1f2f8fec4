#include "config/editor_file.h"

#include "platform/code_page.h"
#include "platform/file_system.h"

namespace sendwerk {
namespace {

// Each character once, with its code, as the operator may not see it in the text.
QString describeCharacters(const QString& characters) {
    QStringList named;
    for (const char32_t c : characters.toUcs4()) {
        const QString code = QString::number(quint32(c), 16).toUpper().rightJustified(4, u'0');
        const QString one = QStringLiteral("„%1“ (U+%2)").arg(QString::fromUcs4(&c, 1), code);
        if (!named.contains(one)) named << one;
    }
    return named.join(QStringLiteral(", "));
}

}  // namespace

QString editorTextFor(const FileSystem& files, const QString& cDatei, const QString& aText, const QString& cNeu) {
    if (!aText.isEmpty()) return aText;
    return decode1252(files.readWhole(cDatei)) + cNeu;
}

Result<void> saveEditorText(const FileSystem& files, const QString& cDatei, const QString& text) {
    const Encoded encoded = encode1252(text);
    if (!encoded.complete())
        return Failure{QStringLiteral("Der Text wurde nicht gespeichert. Diese Zeichen kann die Datei %1 nicht "
                                      "aufnehmen (Windows-1252): %2")
                           .arg(cDatei, describeCharacters(encoded.unmappable))};
    if (const Result<> written = files.writeWhole(cDatei, encoded.bytes); !written.ok())
        return Failure{QStringLiteral("Der Text wurde nicht gespeichert: ") + written.cause()};
    return {};
}

}  // namespace sendwerk
