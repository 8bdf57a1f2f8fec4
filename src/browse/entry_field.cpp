#include "browse/entry_field.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMessageBox>

#include "browse/entry_settings.h"
#include "platform/code_page.h"
#include "platform/office_text.h"
#include "widgets/event_queue.h"
#include "widgets/key_codes.h"
#include "widgets/palette.h"
#include "widgets/presentation.h"

namespace sendwerk {

namespace {

// Items are numbered from 1 in this order; separators count.
enum MenuItem { Check = 1, Undo, Separator1, Cut, Copy, Paste, Remove, Separator2, MarkAll };

std::unique_ptr<QMenu> makeContextMenu() {
    auto menu = std::make_unique<QMenu>();
    for (const char* caption : {"~Prüfen", "~Rückgängig", "", "~Ausschneiden", "~Kopieren", "~Einfügen", "~Löschen", "",
                                "Alles ~markieren"}) {
        if (*caption == '\0')
            menu->addSeparator();
        else
            menu->addAction(QString::fromUtf8(caption).replace(QLatin1Char('~'), QLatin1Char('&')));
    }
    return menu;
}

// The number read from `text` as far as it goes: leading blanks skipped, no number is 0.
double leadingNumber(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' ')) ++i;
    qsizetype end = i;
    if (end < text.size() && (text[end] == QLatin1Char('-') || text[end] == QLatin1Char('+'))) ++end;
    while (end < text.size() && (text[end].isDigit() || text[end] == QLatin1Char('.'))) ++end;
    for (; end > i; --end) {
        bool ok = false;
        const double n = text.mid(i, end - i).toDouble(&ok);
        if (ok) return n;
    }
    return 0;
}

}  // namespace

EntryField::EntryField(EntrySettings& settings, QWidget* parent) : QLineEdit(parent), settings_(settings) {
    setFrame(false);
    setFocusPolicy(Qt::StrongFocus);
}

EntryField::~EntryField() { controller = nullptr; }

QMenu& EntryField::contextMenu() {
    if (!settings_.contextMenu) settings_.contextMenu = makeContextMenu();
    return *settings_.contextMenu;
}

EntryField& EntryField::create() {
    value = vorigerWert = original = dataLink.read ? dataLink.read() : QString();
    Get = std::make_unique<TemplateEditor>(
        dataLink.form, [this] { return value; }, [this](const QString& v) { value = v; });
    Get->setFocus();
    setMaxLength(std::max<int>(1, Get->buffer.size()));
    Get->killFocus();
    Get->reset();
    setReadOnly(!editable);
    return *this;
}

QString EntryField::shownText() const { return value.leftJustified(Get ? Get->width() : value.size(), ' ', true); }

void EntryField::showColoursOf(const QString& text) {
    background_ = colour::White;
    if (text.startsWith(QLatin1Char('*'))) {
        const double n = leadingNumber(text.mid(1));
        if (n < 0) background_ = colour::Pink;
        if (n > 0) background_ = colour::Cyan;
    }
    applyPresentation(*this, {{presentation::TextColour, colour::Blue}, {presentation::Background, background_}});
}

EntryField& EntryField::setData() { return setData(dataLink.read ? dataLink.read() : value); }

EntryField& EntryField::setData(const QString& xData) {
    value = xData;
    original = value;
    changed = false;
    const QString text = shownText();
    setEditBuffer(text);
    showColoursOf(text);
    if (Get && Get->hasFocus()) {
        Get->UpdateBuffer();
        setCaretMark(Get->pos);
    }
    return *this;
}

QString EntryField::getData(bool lSetOriginal) {
    if (Get && Get->hasFocus()) {
        Get->_assign();
        Get->pos = marked().a;
    }
    if (dataLink.write) dataLink.write(value);
    if (lSetOriginal) {
        original = value;
        changed = false;
    }
    return value;
}

EntryField& EntryField::undo() {
    value = original;
    changed = false;
    QString text;
    if (Get && Get->hasFocus()) {
        Get->reset();
        text = Get->buffer;
    } else {
        text = shownText();
    }
    return setEditBuffer(text);
}

EntryField& EntryField::setEditBuffer(const QString& cBuffer) {
    setText(cBuffer);
    return *this;
}

bool EntryField::clear() {
    if (Get) Get->clear = true;
    QLineEdit::clear();
    return true;
}

EntryField& EntryField::home() {
    if (!Get) return *this;
    const bool pendingClear = Get->clear;
    if (Get->hasFocus())
        Get->home();
    else
        Get->pos = 1;
    Get->clear = pendingClear;
    setCursorPosition(text().size());  // scrolls so that the caret's character comes first
    setCursorPosition(Get->pos - 1);
    setCaretMark(Get->pos);
    return *this;
}

bool EntryField::setchanged() {
    changed = true;
    return true;
}

bool EntryField::postValidate() {
    if (badDate()) {
        undo();
        return false;
    }
    getData(false);
    if (!postBlock) return true;
    const bool ok = postBlock(*this);
    if (!ok) home();
    return ok;
}

bool EntryField::badDate() const {
    if (!Get || Get->type() != 'D') return false;
    if (Get->hasFocus()) return Get->badDate() || !Get->buffer.startsWith(text());
    if (value == original) return false;
    return value.trimmed().isEmpty();
}

Mark EntryField::marked() const {
    const int cursor = cursorPosition() + 1;
    if (!hasSelectedText()) return {cursor, cursor};
    const int start = selectionStart() + 1;
    const int end = selectionEnd() + 1;
    return {cursor == start ? end : start, cursor};
}

void EntryField::setMarked(Mark m) {
    const int length = text().size() + 1;
    m.a = std::clamp(m.a, 1, length);
    m.b = std::clamp(m.b, 1, length);
    if (m.a == m.b) {
        deselect();
        setCursorPosition(m.a - 1);
    } else {
        setSelection(m.a - 1, m.b - m.a);
    }
}

void EntryField::setCaretMark(int position) {
    if (settings_.insertMode)
        setMarked({position, position});
    else
        setMarked({position, position + 1});
}

bool EntryField::nativeKey(int code) {
    const QtKeyStroke stroke = qtKeyFor(code);
    if (stroke.key == Qt::Key_unknown) return false;
    QKeyEvent press(QEvent::KeyPress, stroke.key, stroke.modifiers, stroke.text);
    QLineEdit::keyPressEvent(&press);
    return press.isAccepted();
}

void EntryField::synchronise(bool takeEmptyBuffer) {
    if (!Get || text() == Get->buffer) return;
    if (takeEmptyBuffer && Get->buffer.isEmpty()) {
        Get->buffer = text();
        setMaxLength(std::max<int>(1, Get->buffer.size()));
    }
    setText(Get->type() == 'N' ? withoutTrailingBlanks(Get->buffer) : Get->buffer);
    Get->_assign();
    changed = value != original;
}

bool EntryField::keyboard(int nKey) {
    const Mark m = marked();
    bool lSetPos = true;
    bool lHandled = true;
    if (!Get || !Get->hasFocus()) {
        if (controller) controller->keyboard(nKey);
        return true;
    }
    int& pos = Get->pos;
    const int length = bufferLength();
    Mark mark = m;
    switch (nKey) {
    case key::Escape:
        if (pos == 1) {
            if (controller) controller->keyboard(nKey);
            return true;
        }
        undo();
        break;
    case key::ShiftRight:
        mark.b = std::min(mark.b + 1, length + 1);
        if (!settings_.insertMode && mark.a == mark.b) {
            mark.a -= 1;
            mark.b = std::min(mark.b + 1, length + 1);
        }
        setMarked(mark);
        pos = std::max(1, mark.b < mark.a ? mark.b : mark.b - 1);
        lSetPos = false;
        break;
    case key::ShiftLeft:
        mark.b = std::max(mark.b - 1, 1);
        if (!settings_.insertMode && mark.a == mark.b) {
            mark.a += 1;
            mark.b = std::max(mark.b - 1, 1);
        }
        setMarked(mark);
        pos = std::max(1, mark.b < mark.a ? mark.b : mark.b - 1);
        lSetPos = false;
        break;
    case key::ShiftEnd:
        if (Get->type() == 'N') Get->ToDecPos();
        Get->End();
        mark.b = length + 1;
        pos = length;
        setMarked(mark);
        lSetPos = false;
        break;
    case key::ShiftHome:
        if (mark.b - mark.a == 1) mark.a = mark.b;
        home();
        mark.b = pos;
        setMarked(mark);
        lSetPos = false;
        break;
    case key::CtrlU: undo(); break;
    case key::CtrlLeft:
        setMarked({pos, pos});
        nativeKey(nKey);
        pos = marked().b;
        break;
    case key::CtrlRight:
        nativeKey(nKey);
        pos = marked().b;
        break;
    case key::Left:
        if (mark.b > mark.a) pos = std::min(pos, mark.a);
        Get->Left();
        break;
    case key::Right:
        if (mark.a > mark.b) pos = std::max(pos, mark.a - 1);
        Get->Right();
        if (Get->typeOut && Get->type() != 'L') pos += 1;
        break;
    case key::Home: home(); break;
    case key::End:
        if (Get->type() == 'N') Get->ToDecPos();
        Get->End();
        setCursorPosition(length);
        if (settings_.insertMode) pos += 1;
        break;
    case key::Insert: settings_.insertMode = !settings_.insertMode; break;
    case key::CtrlInsert:
        copy();
        lSetPos = false;
        break;
    default:
        if (!editable) {
            lHandled = controller != nullptr && controller->keyboard(nKey);
            break;
        }
        switch (nKey) {
        case key::ShiftInsert: PasteMarked(); break;
        case key::Backspace: Get->BackSpace(); break;
        case key::Delete:
            if (settings_.insertMode && mark.a == mark.b) setMarked({mark.a, mark.b + 1});
            DeleteMarked();
            break;
        case key::ShiftDelete: CutMarked(); break;
        case key::CtrlT: Get->DelWordRight(); break;
        case key::CtrlY: Get->DelEnd(); break;
        case key::CtrlBackspace: Get->DelWordLeft(); break;
        default:
            if (nKey >= 32 && nKey <= 255)
                enterCharacter(nKey, m);
            else
                lHandled = controller != nullptr && controller->keyboard(nKey);
        }
    }
    if (!Get || !Get->hasFocus()) return true;  // the controller ended the edit
    synchronise(true);
    if (lSetPos) setCaretMark(Get->pos);
    if (!lHandled) return nativeKey(nKey);
    return true;
}

void EntryField::enterCharacter(int code, Mark m) {
    const QChar c = decode1252(QByteArray(1, char(code))).at(0);
    if (Get->type() == 'N' && (c == QLatin1Char('.') || c == QLatin1Char(','))) {
        Get->CondClear();
        Get->ToDecPos();
        return;
    }
    const int width = std::abs(m.b - m.a);
    if (settings_.insertMode) {
        if (width > 0) DeleteMarked();
        Get->Insert(c);
    } else if (width > 1) {
        DeleteMarked();
        Get->Insert(c);
    } else {
        Get->Overstrike(c);
    }
    if (Get->typeOut && Get->type() != 'L') Get->pos += 1;
}

bool EntryField::DeleteMarked() {
    const Mark m = marked();
    const int n = std::abs(m.b - m.a);
    if (n == 0 || !Get) return false;
    if (n == 1) {
        Get->Delete();
    } else {
        Get->pos = std::max(m.a, m.b);
        for (int i = 0; i < n; ++i) Get->BackSpace();
    }
    return true;
}

bool EntryField::CutMarked() {
    copy();
    DeleteMarked();
    return true;
}

bool EntryField::PasteMarked() {
    const Mark m = marked();
    const QString pasted = QApplication::clipboard()->text();
    if (pasted.isEmpty() || !Get) {
        settings_.beep();
        return false;
    }
    DeleteMarked();
    Get->pos = std::min(m.a, m.b);
    const int width = std::abs(m.b - m.a);
    const int count = width <= 1 ? int(pasted.size()) : std::min<int>(int(pasted.size()), width);
    for (int i = 0; i < count; ++i) {
        Get->Insert(pasted[i]);
        if (Get->typeOut) break;  // what does not fit is left out, never typed over the end
    }
    if (settings_.insertMode && std::max(m.a, m.b) + count > bufferLength()) Get->pos = bufferLength() + 1;
    return true;
}

void EntryField::enableMenuItems() {
    const QList<QAction*> items = contextMenu().actions();
    for (QAction* item : items) item->setEnabled(true);
    const auto disable = [&](int number) { items.at(number - 1)->setEnabled(false); };
    if (!postBlock && (!Get || Get->type() != 'D')) disable(Check);
    if (!changed) disable(Undo);
    const Mark m = marked();
    if (m.a == m.b) {
        disable(Cut);
        disable(Copy);
        disable(Remove);
    }
    if (std::abs(m.a - m.b) == text().size()) disable(MarkAll);
    if (QApplication::clipboard()->text().isEmpty()) disable(Paste);
}

void EntryField::itemSelected(int nItem) {
    switch (nItem) {
    case Check:
        if (!postValidate()) {
            settings_.events.runPopup(
                [this] { QMessageBox::information(this, QString(), QStringLiteral("Illegal data")); });
            setFocus();
        }
        break;
    case Undo: undo(); break;
    case Cut: CutMarked(); break;
    case Copy: copy(); break;
    case Paste: PasteMarked(); break;
    case Remove: DeleteMarked(); break;
    case MarkAll: setMarked({1, int(text().size()) + 1}); break;
    default: break;
    }
    synchronise(false);
}

bool EntryField::event(QEvent* e) {
    // Tab and Shift+Tab are keys of the grid here, not moves of the focus.
    if (isTabPress(*e)) {
        keyPressEvent(static_cast<QKeyEvent*>(e));
        return true;
    }
    return QLineEdit::event(e);
}

void EntryField::keyPressEvent(QKeyEvent* e) {
    const int code = keyCodeFor(*e);
    if (code == 0)
        QLineEdit::keyPressEvent(e);
    else
        keyboard(code);
    // Never on to the grid behind: the controller has had its say.
    e->accept();
}

void EntryField::focusInEvent(QFocusEvent* e) {
    if (!Get) return QLineEdit::focusInEvent(e);
    if (controller == nullptr || controller->preValidate(*this)) {
        Get->setFocus();
        QLineEdit::focusInEvent(e);
        Get->buffer = Get->bufferFor(text());
        setMaxLength(std::max<int>(1, Get->buffer.size()));
        home();
        Get->pos = marked().a;
    } else if (!Get->hasFocus()) {
        Get->setFocus();
    }
    changed = value != original;
}

void EntryField::focusOutEvent(QFocusEvent* e) {
    if (!Get) return QLineEdit::focusOutEvent(e);
    if (controller != nullptr && !controller->postValidate(*this)) {
        home();
        setMarked({1, int(text().size()) + 1});
        return;
    }
    if (Get->hasFocus() && Get->type() == 'N') {
        const bool wasChanged = changed;
        if (Get->buffer.contains(QLatin1Char(','))) Get->ToDecPos();
        setText(withoutTrailingBlanks(Get->buffer));
        changed = wasChanged;
    }
    if (Get->hasFocus()) Get->killFocus();
    QLineEdit::focusOutEvent(e);
}

void EntryField::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::RightButton) {
        // RbDown: a press on a field without the focus only focuses it.
        if (!hasFocus())
            setFocus(Qt::MouseFocusReason);
        else
            QLineEdit::mousePressEvent(e);
        return;
    }
    QLineEdit::mousePressEvent(e);
}

void EntryField::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::RightButton) return RbUp(e->position().toPoint());
    if (e->button() == Qt::LeftButton) return LbUp(e);
    QLineEdit::mouseReleaseEvent(e);
}

void EntryField::LbUp(QMouseEvent* e) {
    if (Get && Get->type() == 'L') {
        QLineEdit::mouseReleaseEvent(e);
        home();
        return;
    }
    const Mark m = marked();
    if (Get) Get->pos = m.a;
    if (m.b == m.a && !settings_.insertMode) setMarked({m.a, m.a + 1});
    QLineEdit::mouseReleaseEvent(e);
}

void EntryField::RbUp(QPoint position) {
    if (!hasFocus()) return;
    enableMenuItems();
    QMenu& menu = contextMenu();
    QAction* chosen = settings_.events.runPopup([&] { return menu.exec(mapToGlobal(position)); });
    if (chosen != nullptr) itemSelected(int(menu.actions().indexOf(chosen)) + 1);
}

void EntryField::contextMenuEvent(QContextMenuEvent* e) {
    // The field's own menu comes up at the right button's release (RbUp).
    e->accept();
}

}  // namespace sendwerk
