// The entry field of a grid cell: a single-line edit over one value of a field (C, N,
// D or L, in the text form of dbf/field_text.h). The hidden TemplateEditor owns the edit
// text and the caret; the entry field mirrors it into the native control, keeps the
// edited value (`value`) beside the value last loaded or committed (`original`), and
// reads and writes the value only through its data link.
//
// The marked range is {anchor, end}, 1-based, end exclusive (the anchor may lie right of
// the end). The caret is shown as a mark: empty in insert mode, one character wide in
// overwrite mode, so the character the next key replaces is highlighted.
//
// Keys come in through keyboard() (the native key events are turned into key codes,
// widgets/key_codes.h); those the field does not take go to its controller, and from
// there, when declined, to the native control. The owner sets dataLink and controller
// before create(). GUI thread only.
#pragma once

#include <QLineEdit>

#include <functional>
#include <memory>

#include "browse/template_editor.h"
#include "dbf/table.h"

namespace sendwerk {

struct EntrySettings;
class EntryField;

// The get/set link of a field value: read() the value of the current record, write()
// stores one. `form` says what kind of value it is.
struct DataLink {
    dbf::FieldDef form;
    std::function<QString()> read;
    std::function<void(const QString&)> write;
};

// The owner that receives the keys the field does not take and decides over focus
// changes (the editable column).
class EntryController {
public:
    virtual ~EntryController() = default;
    virtual bool preValidate(EntryField& field) = 0;
    virtual bool postValidate(EntryField& field) = 0;
    virtual bool keyboard(int nKey) = 0;  // true when the key was used
};

struct Mark {
    int a = 1;  // anchor
    int b = 1;  // end, exclusive
    bool operator==(const Mark&) const = default;
};

class EntryField final : public QLineEdit {
public:
    using Validation = std::function<bool(EntryField&)>;

    EntryField(EntrySettings& settings, QWidget* parent);
    ~EntryField() override;

    // Set by the owner before create().
    DataLink dataLink;
    EntryController* controller = nullptr;
    Validation postBlock;  // asked by post-validation after the value was written
    bool editable = true;

    // Reads the value and makes the template editor; the field is idle afterwards.
    EntryField& create();

    std::unique_ptr<TemplateEditor> Get;
    QString original;
    QString vorigerWert;
    QString value;
    bool changed = false;

    EntryField& setData();
    EntryField& setData(const QString& xData);
    QString getData(bool lSetOriginal = true);
    EntryField& undo();
    EntryField& setEditBuffer(const QString& cBuffer);
    bool clear();  // the next typed key first empties the text
    EntryField& home();
    bool setchanged();

    bool postValidate();
    bool badDate() const;

    // One key stroke; false when the key went on to the native control unhandled.
    bool keyboard(int nKey);
    bool CutMarked();
    bool PasteMarked();
    bool DeleteMarked();
    void itemSelected(int nItem);
    // Enables the context menu's items for this field, as it is about to pop up.
    void enableMenuItems();
    QMenu& contextMenu();

    Mark marked() const;
    void setMarked(Mark m);
    int bufferLength() const { return maxLength(); }
    // The background colour number the loaded text gave the field.
    int backgroundColour() const { return background_; }

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;

private:
    QString shownText() const;
    void showColoursOf(const QString& text);
    void setCaretMark(int position);
    bool nativeKey(int code);
    void synchronise(bool takeEmptyBuffer);
    void enterCharacter(int code, Mark m);
    void LbUp(QMouseEvent* e);
    void RbUp(QPoint position);

    EntrySettings& settings_;
    int background_ = 0;
};

}  // namespace sendwerk
