#include "app/startup_window.h"

#include <QWidget>

#include <gtest/gtest.h>

#include "app/window_test_support.h"
#include "queue/shared.h"
#include "widgets/geometry.h"

namespace sendwerk {
namespace {

TEST(StartupWindow, TitleSizeAndPlaceFromTheDesktopsBottomLeft) {
    testing::testApplication();
    Shared shared;
    shared.nH = 1.6;  // a 1280 x 1024 desktop
    shared.nV = 1024 / 600.0;
    const auto window = showStartupWindow(shared);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("TAVO-Mail - S T A R T E T ..."));
    EXPECT_EQ(window->size(), QSize(300, 100));
    const QSize desktop = parentAreaOf(*window);
    EXPECT_EQ(yUpPositionOf(window->geometry(), desktop.height()), QPoint(400, 426));
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
}

}  // namespace
}  // namespace sendwerk
