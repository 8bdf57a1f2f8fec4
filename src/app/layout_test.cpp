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

}  // namespace
}  // namespace sendwerk
