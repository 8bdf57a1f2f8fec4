#include "widgets/magic_button.h"

#include "widgets/event_queue.h"
#include "widgets/palette.h"

#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

namespace sendwerk {
namespace {

constexpr int kNormal = colour::White;
constexpr int kActive = colour::Yellow;

class MagicButtonTest : public ::testing::Test {
protected:
    MagicButtonTest() : button(&window, {{presentation::Background, kNormal}}) {
        window.resize(300, 100);
        button.setGeometry(10, 10, 80, 30);
        button.setText(" S E N D E N ");
        button.normalBG = kNormal;
        button.ActiveCLR = kActive;
        button.activate = [this](MagicButton& b) {
            ++activations;
            EXPECT_EQ(&b, &button);
        };
    }

    // The button's own coordinates: from its bottom-left corner, y up.
    QPoint inside() const { return {40, 15}; }

    // Native pointer motion over the button, through the queue as a loop hands it on.
    void moveNatively(QPoint qtPos) {
        QMouseEvent move(QEvent::MouseMove, QPointF(qtPos), button.mapToGlobal(QPointF(qtPos)), Qt::NoButton, {}, {});
        QCoreApplication::sendEvent(&button, &move);
        handAll();
    }
    void handAll() {
        Event e;
        while (events.takeEvent(e)) events.handEvent(e);
    }

    EventQueue events;
    QWidget window;
    MagicButton button;
    int activations = 0;
};

TEST_F(MagicButtonTest, LightsOnceOnEnteringAndRestsOnLeaving) {
    button.motion(inside());
    EXPECT_TRUE(button.isLit());
    EXPECT_EQ(button.colorBG(), MagicButton::HoverColour);
    EXPECT_EQ(button.palette().color(QPalette::Window), paletteColor(colour::ButtonDarkShade));

    button.setColorBG(colour::Red);  // further motion inside must not touch the look again
    button.motion({41, 16});
    EXPECT_EQ(button.colorBG(), colour::Red);

    button.motion({200, 16});
    EXPECT_FALSE(button.isLit());
    EXPECT_EQ(button.colorBG(), kNormal);
}

TEST_F(MagicButtonTest, EdgePixelsCountAsOutside) {
    const int w = button.width();
    const int h = button.height();
    const struct {
        QPoint at;
        bool inside;
    } cases[] = {
        {{0, 15}, false},  {{40, 0}, false}, {{w, 15}, false},       {{40, h}, false},
        {{-1, -1}, false}, {{1, 1}, true},   {{w - 1, h - 1}, true}, {{40, 15}, true},
    };
    for (const auto& c : cases) EXPECT_EQ(button.PosOnXbp(c.at), c.inside) << c.at.x() << "," << c.at.y();
}

TEST_F(MagicButtonTest, AClickRunsTheCallbackThenRestsInTheActiveColour) {
    button.motion(inside());
    bool litDuringCallback = false;
    button.activate = [&](MagicButton& b) {
        ++activations;
        EXPECT_TRUE(b.isPressed());
        // Motion while the callback runs is ignored: no rest, no relight.
        b.motion({200, 200});
        litDuringCallback = b.isLit() && b.colorBG() == MagicButton::HoverColour;
    };
    button.lbClick();
    EXPECT_EQ(activations, 1);
    EXPECT_TRUE(litDuringCallback);
    EXPECT_TRUE(button.lIsActive);
    EXPECT_FALSE(button.isLit());
    EXPECT_FALSE(button.isPressed());
    EXPECT_EQ(button.colorBG(), kActive);

    // The pointer is still over the button: the next motion lights it again.
    button.motion(inside());
    EXPECT_EQ(button.colorBG(), MagicButton::HoverColour);
    button.motion({-1, -1});
    EXPECT_EQ(button.colorBG(), kActive);
}

TEST_F(MagicButtonTest, TheDoNothingCallbackStillMakesTheButtonActive) {
    MagicButton plain(&window);
    plain.resize(50, 20);
    plain.normalBG = colour::White;
    plain.ActiveCLR = colour::White;
    plain.lbClick();
    EXPECT_TRUE(plain.lIsActive);
    EXPECT_EQ(plain.colorBG(), colour::White);
}

TEST_F(MagicButtonTest, NativeClicksAndMotionArriveThroughTheQueue) {
    moveNatively({40, 15});
    EXPECT_TRUE(button.isLit());

    QTest::mouseClick(&button, Qt::RightButton, {}, QPoint(40, 15));
    handAll();
    EXPECT_EQ(activations, 0);
    EXPECT_FALSE(button.lIsActive);

    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(40, 15));
    EXPECT_EQ(activations, 0);  // held in the queue until a loop hands it on
    handAll();
    EXPECT_EQ(activations, 1);
    EXPECT_EQ(button.colorBG(), kActive);

    moveNatively({40, 15});
    EXPECT_TRUE(button.isLit());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&button, &leave);
    EXPECT_TRUE(button.isLit());
    handAll();
    EXPECT_FALSE(button.isLit());
    EXPECT_EQ(button.colorBG(), kActive);
}

TEST_F(MagicButtonTest, ReleasingTheButtonOutsideIsNoClick) {
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(40, 15));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(150, 15));
    handAll();
    EXPECT_EQ(activations, 0);
}

TEST_F(MagicButtonTest, APictureStandsInForTheCaptionWhileLit) {
    QPixmap picture(8, 8);
    picture.fill(Qt::red);
    button.hit = picture;
    button.motion(inside());
    EXPECT_FALSE(button.pixmap().isNull());
    EXPECT_EQ(button.colorBG(), kNormal);
    button.motion({-1, -1});
    EXPECT_EQ(button.text(), " S E N D E N ");
}

TEST_F(MagicButtonTest, TheQueueColoursItThroughTheButtonInterface) {
    Button& asButton = button;
    asButton.setColorBG(colour::Cyan);
    EXPECT_EQ(asButton.colorBG(), colour::Cyan);
    EXPECT_EQ(button.palette().color(QPalette::Window), paletteColor(colour::Cyan));
    EXPECT_TRUE(button.autoFillBackground());
}

TEST(MagicButtonCaption, StaysReadableOnEveryBackground) {
    const QColor desktopText = QApplication::palette().color(QPalette::WindowText);
    const struct {
        Presentation made;
        int background;
        QColor caption;
    } cases[] = {
        {{{presentation::Background, colour::White}}, colour::Neutral, Qt::white},  // a folder indicator
        {{{presentation::Background, colour::White}}, colour::DarkBlue, Qt::white},
        {{{presentation::Background, colour::White}}, colour::Yellow, desktopText},
        {{{presentation::Background, colour::White}}, colour::Green, desktopText},
        {{{presentation::Background, colour::Neutral}}, colour::White, desktopText},  // back to rest
        {{{presentation::Background, colour::Green}, {presentation::TextColour, colour::White}},
         colour::Yellow,
         Qt::white},  // its own colour stays
    };
    for (const auto& c : cases) {
        MagicButton button(nullptr, c.made);
        button.setColorBG(c.background);
        EXPECT_EQ(button.palette().color(QPalette::WindowText), c.caption) << "background " << c.background;
    }
}

}  // namespace
}  // namespace sendwerk
