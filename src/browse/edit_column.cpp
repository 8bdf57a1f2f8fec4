#include "browse/edit_column.h"

#include "browse/browse_view.h"
#include "widgets/event_queue.h"
#include "widgets/key_codes.h"
#include "widgets/palette.h"
#include "widgets/presentation.h"

namespace sendwerk {

EditColumn::EditColumn(BrowseView& browser, const QString& heading, DataLink link)
    : QObject(&browser), browser_(browser), heading_(heading), link_(std::move(link)) {}

EditColumn::~EditColumn() {
    if (browser_.activeColumn == this) browser_.activeColumn = nullptr;
    if (xbpGet_ != nullptr) {
        xbpGet_->controller = nullptr;
        delete xbpGet_;
    }
}

void EditColumn::createXbp() {
    xbpGet_ = new EntryField(browser_.entrySettings(), browser_.viewport());
    xbpGet_->hide();
    applyPresentation(*xbpGet_,
                      {{presentation::TextColour, colour::Blue}, {presentation::Background, colour::Neutral}});
    xbpGet_->controller = this;
    xbpGet_->dataLink = link_;
    if (editable) xbpGet_->editable = *editable;
    xbpGet_->create();
}

void EditColumn::setPosAndSize(int row) {
    row_ = row;
    xbpGet_->setGeometry(browser_.cellRect(row, browser_.indexOf(this)));
}

EditColumn& EditColumn::read(int row, int firstKey) {
    if (row < 0) row = browser_.rowPos();
    if (browser_.activeColumn != nullptr && browser_.activeColumn != this) browser_.activeColumn->killRead();
    browser_.activeColumn = this;
    if (xbpGet_ == nullptr) createXbp();
    active_ = true;
    setPosAndSize(row);
    xbpGet_->setData();
    xbpGet_->changed = false;
    xbpGet_->show();
    xbpGet_->setFocus(Qt::OtherFocusReason);
    xbpGet_->setMarked({1, 1});
    if (firstKey != 0) {
        xbpGet_->clear();
        browser_.events().postEvent(event::Keyboard, firstKey, 0, xbpGet_);
    }
    return *this;
}

EditColumn& EditColumn::killRead() {
    if (!active_) return *this;
    if (xbpGet_ != nullptr) {
        xbpGet_->changed = false;  // the edit is dropped, never written later
        xbpGet_->hide();
    }
    active_ = false;
    if (browser_.activeColumn == this) browser_.activeColumn = nullptr;
    browser_.setFocus(Qt::OtherFocusReason);
    return *this;
}

void EditColumn::hiliteRow(int row, bool lHilite) {
    if (!active_) return;  // the grid's own highlight shows the row cursor
    if (lHilite) {
        read(row);
        return;
    }
    if (xbpGet_ == nullptr) return;
    if (xbpGet_->changed && row == row_) {
        xbpGet_->vorigerWert = xbpGet_->original;
        xbpGet_->getData();
        browser_.refreshRows(row, row);
    }
    xbpGet_->hide();
}

void EditColumn::lbDown(int row) {
    active_ = true;
    if (row == browser_.rowPos()) read(row);
}

void EditColumn::resize() {
    if (!active_ || xbpGet_ == nullptr || !xbpGet_->isVisible()) return;
    const bool hadFocus = xbpGet_->hasFocus();
    setPosAndSize(row_);
    if (hadFocus) return;
    xbpGet_->show();
    xbpGet_->setFocus(Qt::OtherFocusReason);
}

bool EditColumn::move(const std::function<void()>& movement) {
    movement();
    browser_.forceStable();
    return true;
}

// The column that is current after the move starts its read at once, as Enter would:
// an Enter posted behind keys typed ahead would let those keys land in the wrong cell.
bool EditColumn::moveAndRead(const std::function<void()>& movement) {
    move(movement);
    if (EditColumn* next = browser_.currentColumn()) next->read();
    return true;
}

bool EditColumn::keyboard(int nKey) {
    if (nKey == key::AltF4) {
        browser_.events().postEvent(event::Quit, 0, 0, nullptr);
        return true;
    }
    if (!active_) {
        if (nKey == key::Enter)
            read();
        else if (nKey >= 32 && nKey <= 255)
            read(-1, nKey);
        return false;
    }
    BrowseView& b = browser_;
    switch (nKey) {
    case key::Enter: return move([&] { b.down(); });
    case key::Escape:
        if (xbpGet_ != nullptr) xbpGet_->undo();
        killRead();
        return move([&] { b.refreshCurrent(); });
    case key::Tab:
        return moveAndRead([&] {
            if (b.colPos() == b.colCount() - 1) {
                b.firstColumn();
                b.down();
            } else {
                b.right();
            }
        });
    case key::ShiftTab:
        return moveAndRead([&] {
            if (b.colPos() == 0) {
                b.up();
                b.lastColumn();
            } else {
                b.left();
            }
        });
    case key::Down: return move([&] { b.down(); });
    case key::Up: return move([&] { b.up(); });
    case key::PageDown: return move([&] { b.pageDown(); });
    case key::PageUp: return move([&] { b.pageUp(); });
    case key::CtrlPageDown: return move([&] { b.goBottom(); });
    case key::CtrlPageUp: return move([&] { b.goTop(); });
    default: return false;
    }
}

}  // namespace sendwerk
