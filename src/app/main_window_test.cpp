#include "app/main_window.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

#include "app/button_set.h"
#include "app/send_schedule.h"
#include "app/window_test_support.h"
#include "widgets/geometry.h"
#include "widgets/magic_button.h"
#include "widgets/text_pane.h"

namespace sendwerk {
namespace {

using testing::BuiltWindow;

// The y-up position and size of a part in its window.
UpRect upRectOf(const QWidget& part) {
    const QPoint p = yUpPositionOf(part.geometry(), part.parentWidget()->height());
    return {p.x(), p.y(), part.width(), part.height()};
}

TEST(MainWindow, LayoutAt1200x750) {
    BuiltWindow w;
    const MainWindow& m = *w.window;
    const std::pair<const QWidget*, UpRect> cases[] = {
        {m.oMle1, {12, 48, 384, 648}},    {m.oMle20, {402, 375, 384, 322}}, {m.oMle2, {402, 48, 384, 322}},
        {m.oMle30, {792, 375, 384, 322}}, {m.oMle3, {792, 48, 384, 322}},   {m.oXbpBna, {36, 11, 54, 26}},
        {m.oXbpBS, {156, 11, 102, 26}},   {m.oXbpBH, {270, 11, 42, 26}},    {m.oXbpBlb, {348, 11, 48, 26}},
        {m.oXbpBW1, {534, 11, 120, 26}},  {m.oXbpBW2, {924, 11, 120, 26}},  {m.oXbpBEn, {1098, 11, 54, 26}},
    };
    for (const auto& [part, expected] : cases) {
        ASSERT_NE(part, nullptr);
        EXPECT_EQ(upRectOf(*part), expected) << part->metaObject()->className() << " at x " << expected.x;
    }
    EXPECT_EQ(m.size(), QSize(1200, 750));
    EXPECT_EQ(m.windowTitle(), mainWindowTitle());
    EXPECT_EQ(m.windowModality(), Qt::ApplicationModal);
    EXPECT_FALSE(m.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(m.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
}

TEST(MainWindow, LayoutFollowsTheSharedSize) {
    BuiltWindow w({1211, 800});
    EXPECT_EQ(upRectOf(*w.window->oMle3), (UpRect{799, 52, 387, 344}));
    EXPECT_EQ(upRectOf(*w.window->oXbpBEn), (UpRect{1108, 12, 54, 28}));
}

TEST(MainWindow, ButtonsCarryCaptionsAndColours) {
    BuiltWindow w;
    const MainWindow& m = *w.window;
    const MagicButton* buttons[] = {m.oXbpBna, m.oXbpBS, m.oXbpBH, m.oXbpBlb, m.oXbpBW1, m.oXbpBW2, m.oXbpBEn};
    for (std::size_t i = 0; i < std::size(kButtons); ++i) {
        const ButtonDef& def = kButtons[i];
        const MagicButton& b = *buttons[i];
        EXPECT_EQ(b.text(), QString::fromLatin1(def.caption)) << def.caption;
        EXPECT_EQ(b.colorBG(), def.background) << def.caption;
        EXPECT_EQ(b.normalBG, def.normalBG) << def.caption;
        EXPECT_EQ(b.ActiveCLR, def.ActiveCLR) << def.caption;
        EXPECT_EQ(b.normalFG, def.normalFG) << def.caption;
        EXPECT_EQ(b.focusPolicy() & Qt::TabFocus, Qt::TabFocus) << def.caption;
        EXPECT_LE(QFontMetrics(b.font()).horizontalAdvance(b.text()), b.width()) << def.caption;
    }
}

TEST(MainWindow, PanesShowTheListingsAndAreBoundToMainsTexts) {
    BuiltWindow w;
    EXPECT_EQ(w.window->oMle1->data(), w.actions.outboxListing);
    EXPECT_EQ(w.window->oMle2->data(), w.actions.failureListing);
    EXPECT_EQ(w.window->oMle3->data(), w.actions.quarantineListing);
    EXPECT_EQ(w.window->oMle20->data(), QString());
    EXPECT_EQ(w.window->oMle30->data(), QString());
    EXPECT_EQ(w.texts.cString, w.actions.outboxListing);

    // Typed text stays in the pane, and reading the pane stores it in its variable.
    w.window->oMle20->setPlainText(QStringLiteral("getippt"));
    EXPECT_EQ(w.window->oMle20->data(), QStringLiteral("getippt"));
    EXPECT_EQ(w.texts.cMessage20, QStringLiteral("getippt"));
    EXPECT_EQ(w.shared.screen.oMle1, w.window->oMle1);
    EXPECT_EQ(w.shared.screen.oXbpBS, w.window->oXbpBS);
}

TEST(MainWindow, FolderIndicatorsAtBuild) {
    struct Case {
        bool failure, quarantine;
        int w1, w2;
    };
    for (const Case c : {Case{false, false, 0, 0}, Case{true, false, 7, 0}, Case{false, true, 0, 7}}) {
        BuiltWindow w;
        w.actions.failureHoldsOrders = c.failure;
        w.actions.quarantineHoldsOrders = c.quarantine;
        applyFailureIndicator(*w.window, w.actions);
        applyQuarantineIndicator(*w.window, w.actions);
        EXPECT_EQ(w.window->oXbpBW1->colorBG(), c.w1) << c.failure << c.quarantine;
        EXPECT_EQ(w.window->oXbpBW2->colorBG(), c.w2) << c.failure << c.quarantine;
    }
}

TEST(MainWindow, ResizeBeyondTenPixelsAsksOnceForARebuild) {
    BuiltWindow w;
    bool requested = false;
    DlgResizer(w.shared, w.events, {1200, 750}, {1210, 760}, requested);
    EXPECT_FALSE(requested);
    EXPECT_EQ(w.shared.nDauerlauf, 0);
    EXPECT_EQ(w.shared.nXSize, 1200);

    DlgResizer(w.shared, w.events, {1200, 750}, {1211, 750}, requested);
    DlgResizer(w.shared, w.events, {1200, 750}, {1230, 751}, requested);
    EXPECT_TRUE(requested);
    EXPECT_EQ(w.shared.nDauerlauf, 1);
    EXPECT_EQ(w.shared.nXSize, 1230);
    EXPECT_EQ(w.shared.nYSize, 751);
    EXPECT_DOUBLE_EQ(w.shared.nX, 1.23);
    int quits = 0;
    Event e;
    while (w.events.takeEvent(e)) quits += e.number == event::Quit;
    EXPECT_EQ(quits, 1);
}

TEST(MainWindow, CloseBoxAsksForTheEmergencyStopAndStaysOpen) {
    BuiltWindow w;
    int asked = 0;
    w.window->closeRequested = [&] { ++asked; };
    EXPECT_FALSE(w.window->close());
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(w.window->isVisible());
}

}  // namespace
}  // namespace sendwerk
