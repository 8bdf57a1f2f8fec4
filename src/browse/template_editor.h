// The hidden editor behind an entry field: it owns the edit text of one value (its
// buffer), the caret, and every character-by-character edit, and never paints. Values
// are texts in the form the office reads and types (dbf/field_text.h): C in full width,
// N right-aligned with a fixed "." before its decimals, D as DD.MM.YYYY with fixed dots,
// L one of T and F. Fixed characters are not editable: the caret skips them, typing
// never replaces them, deleting never moves them. A character the position does not take
// (a letter in a number, anything but T/F/Y/N/J in a logical) is dropped.
//
// Positions are 1-based; the caret may stand one behind the last position. Edits do
// nothing outside editing (no buffer). The value is
// read and written only through the get/set callbacks given at construction. GUI
// thread (it belongs to one entry field).
#pragma once

#include <QString>

#include <functional>

#include "dbf/table.h"

namespace sendwerk {

class TemplateEditor {
public:
    using Getter = std::function<QString()>;
    using Setter = std::function<void(const QString&)>;

    TemplateEditor(const dbf::FieldDef& form, Getter get, Setter set);

    // The edit text while editing, empty otherwise; its length is the field's width.
    QString buffer;
    int pos = 1;           // the caret
    bool clear = false;    // the next typed character first empties the buffer
    bool typeOut = false;  // the last movement or entry tried to go past the last position

    char type() const { return form_.type; }
    int width() const { return width_; }
    bool hasFocus() const { return hasFocus_; }

    void setFocus();  // buffer built from the value, caret on the first position
    void killFocus();
    void reset();         // buffer rebuilt from the value, caret on the first position
    void UpdateBuffer();  // buffer rebuilt from the value, caret kept
    void _assign();       // the buffer stored as the value

    void home();
    void End();  // onto the last character typed (the first position when none)
    void Left();
    void Right();
    void ToDecPos();  // numbers: integer part right-aligned, caret behind the point

    void Insert(QChar c);
    void Overstrike(QChar c);
    void BackSpace();
    void Delete();
    void DelWordLeft();
    void DelWordRight();
    void DelEnd();
    void CondClear();

    // `text` in the buffer's width with the fixed characters in their places.
    QString bufferFor(QString text) const;

    // A date buffer that holds something that is not a valid date.
    bool badDate() const;

private:
    bool editableAt(int position) const;
    bool takes(int position, QChar c) const;
    QChar fixedAt(int position) const;  // the fixed character there, or a null QChar
    int firstEditable() const;
    int lastEditable() const;
    int nextEditable(int position) const;      // 0 when none
    int previousEditable(int position) const;  // 0 when none
    int runEnd(int position) const;            // last editable position of the run from `position`
    QString blankBuffer() const;
    QString fromValue() const;
    void enter(QChar c, bool inserting);
    void removeAt(int position);

    dbf::FieldDef form_;
    int width_ = 0;
    Getter get_;
    Setter set_;
    bool hasFocus_ = false;
};

}  // namespace sendwerk
