#include "widgets/text_pane.h"

#include "widgets/fonts.h"
#include "widgets/palette.h"

#include <QTextCursor>

namespace sendwerk {
namespace {

QString toCrLf(QString text) {
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\n', QStringLiteral("\r\n"));
    return text;
}

// Position in the CR LF text of document position `pos` (both from 0).
int crLfPosition(const QString& plain, int pos) { return pos + int(plain.left(pos).count(u'\n')); }

}  // namespace

TextPane::TextPane(QWidget* parent, const QString& compoundFont) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFont(fontFromCompoundName(compoundFont));
    QPalette p = palette();
    p.setColor(QPalette::Base, paletteColor(colour::EntryFieldBackground));
    setPalette(p);
}

void TextPane::setData(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setPlainText(shown);
}

QString TextPane::data() {
    const QString text = toCrLf(toPlainText());
    if (link_.set) link_.set(text);
    return text;
}

void TextPane::refresh() {
    if (link_.get) setData(link_.get());
}

std::pair<int, int> TextPane::mark() const {
    const QTextCursor c = textCursor();
    const QString plain = toPlainText();
    const int first = crLfPosition(plain, c.selectionStart()) + 1;
    const int last = crLfPosition(plain, c.selectionEnd());
    return {first, last};
}

QString TextPane::markedText() const { return toCrLf(textCursor().selectedText()); }

}  // namespace sendwerk
