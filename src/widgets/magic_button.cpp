#include "widgets/magic_button.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPalette>
#include <QPointer>

#include "widgets/palette.h"

namespace sendwerk {

MagicButton::MagicButton(QWidget* parent, const Presentation& presentation) : QLabel(parent) {
    setMouseTracking(true);
    setAlignment(Qt::AlignCenter);
    for (const auto& item : presentation)
        if (item.setting == presentation::TextColour) ownTextColour_ = true;
    for (const auto& item : presentation) {
        if (item.setting == presentation::Background)
            setColorBG(item.value.toInt());
        else
            applyPresentation(*this, item);
    }
}

void MagicButton::setColorBG(int colour) {
    colour_ = colour;
    setBackgroundColour(*this, colour);
    // A caption in the desktop's text colour would vanish on the black of a folder
    // indicator; a text colour the button was made with is left as it is.
    if (ownTextColour_) return;
    const bool dark = isDark(paletteColor(colour));
    QPalette p = palette();
    p.setColor(QPalette::WindowText, dark ? QColor(Qt::white) : QApplication::palette().color(QPalette::WindowText));
    setPalette(p);
}

bool MagicButton::PosOnXbp(QPoint aPos) const {
    return aPos.x() > 0 && aPos.x() < width() && aPos.y() > 0 && aPos.y() < height();
}

void MagicButton::showCaption(bool picture) {
    if (picture) {
        setPixmap(*hit);
    } else {
        setText(xCaption);
    }
}

void MagicButton::motion(QPoint aPos) {
    if (lIsPressed) return;
    if (PosOnXbp(aPos)) {
        if (lIsCapture) return;
        lIsCapture = true;
        xCaption = text();
        if (hit)
            showCaption(true);
        else
            setColorBG(HoverColour);
        update();
        return;
    }
    if (hit)
        showCaption(false);
    else
        setColorBG(lIsActive ? ActiveCLR : normalBG);
    update();
    if (QWidget* parent = parentWidget()) parent->update(geometry());
    lIsCapture = false;
}

void MagicButton::lbClick() {
    QPointer<MagicButton> self(this);
    lIsPressed = true;
    activate(*this);
    // The callback may have ended the window the button lives in.
    if (self.isNull()) return;
    lIsPressed = false;
    lIsActive = true;
    motion(QPoint(-1, -1));
}

void MagicButton::mouseMoveEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    // Pixel rows count from the top in Qt; the button's own y counts up from its bottom.
    motion(QPoint(p.x(), height() - 1 - p.y()));
    e->accept();
}

void MagicButton::mousePressEvent(QMouseEvent* e) { e->accept(); }

void MagicButton::mouseReleaseEvent(QMouseEvent* e) {
    e->accept();
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) lbClick();
}

void MagicButton::leaveEvent(QEvent* e) {
    QLabel::leaveEvent(e);
    motion(QPoint(-1, -1));
}

}  // namespace sendwerk
