#include "app/layout.h"

#include <gtest/gtest.h>

namespace sendwerk {
namespace {

TEST(Layout, ScalesBaseUnitsWithTruncation) {
    struct Case {
        const char* name;
        UpRect base;
        QSize window;
        UpRect expected;
    };
    const Case cases[] = {
        {"outbox pane at 1200x750", {10, 65, 320, 865}, {1200, 750}, {12, 48, 384, 648}},
        {"emergency stop at 1200x750", {30, 15, 45, 35}, {1200, 750}, {36, 11, 54, 26}},
        {"end button at 1200x750", {915, 15, 45, 35}, {1200, 750}, {1098, 11, 54, 26}},
        {"send button at 1200x750", {130, 15, 85, 35}, {1200, 750}, {156, 11, 102, 26}},
        {"quarantine pane at 1211x750", {660, 65, 320, 430}, {1211, 750}, {799, 48, 387, 322}},
        {"tiny window", {10, 65, 320, 865}, {99, 9}, {0, 0, 31, 7}},
    };
    for (const Case& c : cases) EXPECT_EQ(scaledToWindow(c.base, c.window), c.expected) << c.name;
}

TEST(Layout, RebuildsOnlyBeyondTenPixels) {
    struct Case {
        QSize now;
        bool rebuild;
    };
    const Case cases[] = {
        {{1210, 750}, false}, {{1211, 750}, true}, {{1190, 750}, false}, {{1189, 750}, true},
        {{1200, 760}, false}, {{1200, 739}, true}, {{1210, 760}, false}, {{1200, 750}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(needsRebuild({1200, 750}, c.now), c.rebuild) << c.now.width() << "x" << c.now.height();
}

TEST(Layout, TheFirstBuildFitsTheScreensFreeArea) {
    const struct {
        QSize available, expected;
    } cases[] = {
        {{1280, 994}, {1200, 750}},  // room enough: the usual size
        {{640, 482}, {640, 482}},    // 1280 × 1024 at QT_SCALE_FACTOR=2, less a panel
        {{1000, 900}, {1000, 750}},
        {{}, {1200, 750}},  // no screen known
    };
    for (const auto& c : cases)
        EXPECT_EQ(sizeWithin({1200, 750}, c.available), c.expected)
            << c.available.width() << "x" << c.available.height();
}

TEST(Layout, AWindowFrameIsMovedOntoTheScreen) {
    const QRect screen(0, 30, 640, 482);  // a panel along the top
    const struct {
        QRect frame;
        QPoint expected;
    } cases[] = {
        {{100, 100, 300, 200}, {100, 100}},  // inside: stays
        {{-20, 10, 300, 200}, {0, 30}},      // off the left and under the panel
        {{500, 400, 300, 200}, {340, 312}},  // off the right and bottom
        {{-40, -60, 700, 520}, {0, 30}},     // larger than the screen: top-left wins
    };
    for (const auto& c : cases)
        EXPECT_EQ(topLeftWithin(c.frame, screen), c.expected) << c.frame.x() << "," << c.frame.y();
}

}  // namespace
}  // namespace sendwerk
