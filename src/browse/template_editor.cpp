#include "browse/template_editor.h"

#include <QDate>

#include "dbf/field_text.h"

namespace sendwerk {

TemplateEditor::TemplateEditor(const dbf::FieldDef& form, Getter get, Setter set)
    : form_(form), width_(dbf::textWidth(form)), get_(std::move(get)), set_(std::move(set)) {}

QChar TemplateEditor::fixedAt(int position) const {
    if (form_.type == 'N' && form_.decimals > 0 && position == width_ - form_.decimals) return QLatin1Char('.');
    if (form_.type == 'D' && (position == 3 || position == 6)) return QLatin1Char('.');
    return {};
}

bool TemplateEditor::editableAt(int position) const {
    return position >= 1 && position <= width_ && fixedAt(position).isNull();
}

bool TemplateEditor::takes(int position, QChar c) const {
    if (!editableAt(position)) return false;
    switch (form_.type) {
    case 'N': {
        const bool inIntegerPart = form_.decimals == 0 || position < width_ - form_.decimals;
        return c.isDigit() || (inIntegerPart && (c == QLatin1Char('-') || c == QLatin1Char(' ')));
    }
    case 'D': return c.isDigit() || c == QLatin1Char(' ');
    case 'L': return QStringLiteral("TtFfYyNnJj").contains(c);
    default: return true;
    }
}

int TemplateEditor::firstEditable() const { return nextEditable(0) == 0 ? 1 : nextEditable(0); }

int TemplateEditor::lastEditable() const {
    return previousEditable(width_ + 1) == 0 ? 1 : previousEditable(width_ + 1);
}

int TemplateEditor::nextEditable(int position) const {
    for (int p = position + 1; p <= width_; ++p)
        if (editableAt(p)) return p;
    return 0;
}

int TemplateEditor::previousEditable(int position) const {
    for (int p = std::min(position - 1, width_); p >= 1; --p)
        if (editableAt(p)) return p;
    return 0;
}

int TemplateEditor::runEnd(int position) const {
    int end = position;
    while (editableAt(end + 1)) ++end;
    return end;
}

QString TemplateEditor::blankBuffer() const {
    QString blank(width_, QLatin1Char(' '));
    for (int p = 1; p <= width_; ++p)
        if (!fixedAt(p).isNull()) blank[p - 1] = fixedAt(p);
    return blank;
}

QString TemplateEditor::fromValue() const { return bufferFor(get_ ? get_() : QString()); }

QString TemplateEditor::bufferFor(QString text) const {
    text = text.leftJustified(width_, QLatin1Char(' '), true);
    for (int p = 1; p <= width_; ++p)
        if (!fixedAt(p).isNull() && text[p - 1] == QLatin1Char(' ')) text[p - 1] = fixedAt(p);
    return text;
}

void TemplateEditor::setFocus() {
    hasFocus_ = true;
    buffer = fromValue();
    pos = firstEditable();
    typeOut = false;
}

void TemplateEditor::killFocus() {
    hasFocus_ = false;
    buffer.clear();
    typeOut = false;
}

void TemplateEditor::reset() {
    buffer = fromValue();
    pos = firstEditable();
    typeOut = false;
}

void TemplateEditor::UpdateBuffer() { buffer = fromValue(); }

void TemplateEditor::_assign() {
    if (!set_) return;
    QString digits = buffer;
    digits.remove(QLatin1Char(' '));
    switch (form_.type) {
    case 'N': {
        // Blanks typed between digits do not split the number.
        if (digits.isEmpty() || digits == QLatin1String(".")) {
            set_(QString(width_, QLatin1Char(' ')));
            return;
        }
        const Result<QByteArray> stored = dbf::storedBytes(form_, digits);
        set_(stored ? dbf::fieldText(form_, *stored) : buffer);
        return;
    }
    case 'D': set_(digits == QLatin1String("..") ? QString(width_, QLatin1Char(' ')) : buffer); return;
    default: set_(buffer);
    }
}

void TemplateEditor::home() {
    typeOut = false;
    pos = firstEditable();
}

void TemplateEditor::End() {
    typeOut = false;
    clear = false;
    pos = firstEditable();
    for (int p = lastEditable(); p >= 1; --p)
        if (editableAt(p) && p <= buffer.size() && buffer[p - 1] != QLatin1Char(' ')) {
            pos = p;
            break;
        }
}

void TemplateEditor::Left() {
    typeOut = false;
    clear = false;
    if (const int p = previousEditable(pos)) pos = p;
}

void TemplateEditor::Right() {
    typeOut = false;
    clear = false;
    if (const int p = nextEditable(pos))
        pos = p;
    else
        typeOut = true;
}

void TemplateEditor::ToDecPos() {
    typeOut = false;
    clear = false;
    if (form_.type != 'N' || buffer.size() != width_) return;
    const int integerWidth = form_.decimals > 0 ? width_ - form_.decimals - 1 : width_;
    QString integer = buffer.left(integerWidth);
    integer.remove(QLatin1Char(' '));
    buffer.replace(0, integerWidth, integer.rightJustified(integerWidth, QLatin1Char(' '), true));
    pos = form_.decimals > 0 ? width_ - form_.decimals + 1 : width_;
}

void TemplateEditor::CondClear() {
    if (!clear) return;
    clear = false;
    buffer = blankBuffer();
    pos = firstEditable();
}

void TemplateEditor::enter(QChar c, bool inserting) {
    CondClear();
    typeOut = false;
    if (buffer.size() != width_) return;
    if (!takes(pos, c)) {
        if (pos > width_) typeOut = true;
        return;
    }
    if (form_.type == 'L') c = QStringLiteral("TtYyJj").contains(c) ? QLatin1Char('T') : QLatin1Char('F');
    if (inserting) {
        const int end = runEnd(pos);
        for (int p = end; p > pos; --p) buffer[p - 1] = buffer[p - 2];
    }
    buffer[pos - 1] = c;
    Right();
}

void TemplateEditor::Insert(QChar c) { enter(c, true); }

void TemplateEditor::Overstrike(QChar c) { enter(c, false); }

void TemplateEditor::removeAt(int position) {
    if (!editableAt(position) || buffer.size() != width_) return;
    const int end = runEnd(position);
    for (int p = position; p < end; ++p) buffer[p - 1] = buffer[p];
    buffer[end - 1] = QLatin1Char(' ');
}

void TemplateEditor::BackSpace() {
    typeOut = false;
    clear = false;
    if (const int p = previousEditable(pos)) {
        pos = p;
        removeAt(p);
    }
}

void TemplateEditor::Delete() {
    typeOut = false;
    clear = false;
    removeAt(pos);
}

void TemplateEditor::DelWordLeft() {
    if (buffer.size() != width_) return;
    int count = 0;
    int p = previousEditable(pos);
    while (p != 0 && buffer[p - 1] == QLatin1Char(' ')) ++count, p = previousEditable(p);
    while (p != 0 && buffer[p - 1] != QLatin1Char(' ')) ++count, p = previousEditable(p);
    for (int i = 0; i < count; ++i) BackSpace();
}

void TemplateEditor::DelWordRight() {
    clear = false;
    if (!editableAt(pos) || buffer.size() != width_) return;
    const int end = runEnd(pos);
    int count = 0;
    int p = pos;
    while (p <= end && buffer[p - 1] != QLatin1Char(' ')) ++count, ++p;
    while (p <= end && buffer[p - 1] == QLatin1Char(' ')) ++count, ++p;
    for (int i = 0; i < count; ++i) removeAt(pos);
}

void TemplateEditor::DelEnd() {
    clear = false;
    if (buffer.size() != width_) return;
    for (int p = pos; p <= width_; ++p)
        if (editableAt(p)) buffer[p - 1] = QLatin1Char(' ');
}

bool TemplateEditor::badDate() const {
    if (form_.type != 'D' || buffer.isEmpty()) return false;
    QString digits = buffer;
    digits.remove(QLatin1Char(' '));
    if (digits == QLatin1String("..")) return false;
    return !QDate::fromString(buffer, QStringLiteral("dd.MM.yyyy")).isValid();
}

}  // namespace sendwerk
