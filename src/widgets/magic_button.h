// MagicButton: a flat button made from a static text control. It lights up in the
// hover colour (-39) while the pointer is over it, runs `activate` on a left click, and
// from its first click on rests in `ActiveCLR` instead of `normalBG`. While `activate`
// runs (it may be a whole send run) pointer motion is ignored; after it the button is
// forced back to rest even with the pointer still over it, and the next motion inside
// lights it again. A caption without a text colour of its own is written in white on a
// dark background, in the desktop's text colour otherwise. The capture of the pointer is modelled by Qt's leave
// notification: it is the first motion outside that a capture would deliver. Implements sendwerk::Button so the queue
// can colour it. GUI thread only.
#pragma once

#include "queue/screen.h"
#include "widgets/presentation.h"

#include <QLabel>
#include <QPixmap>
#include <QPoint>

#include <functional>
#include <optional>

namespace sendwerk {

class MagicButton final : public QLabel, public Button {
public:
    static constexpr int HoverColour = -39;

    explicit MagicButton(QWidget* parent = nullptr, const Presentation& presentation = {});

    // Run on every left click with the button itself.
    std::function<void(MagicButton&)> activate = [](MagicButton&) {};
    // Optional picture shown instead of the caption while lit.
    std::optional<QPixmap> hit;
    bool lIsActive = false;
    int ActiveCLR = 0;
    int normalFG = 0;  // kept for the caller; the text colour is the presentation's
    int normalBG = 0;

    void setColorBG(int colour) override;
    int colorBG() const override { return colour_; }
    bool isLit() const { return lIsCapture; }
    bool isPressed() const { return lIsPressed; }

    // Pointer motion at `aPos`, relative to the button's own bottom-left corner, y up.
    void motion(QPoint aPos);
    void lbClick();
    // Inside means strictly between the edges: the outermost pixel rows and columns,
    // and {-1, -1}, are outside.
    bool PosOnXbp(QPoint aPos) const;

protected:
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    void showCaption(bool picture);

    bool lIsPressed = false;
    bool lIsCapture = false;
    QString xCaption;
    int colour_ = 0;
    bool ownTextColour_ = false;  // made with a text colour (presentation 2)
};

}  // namespace sendwerk
