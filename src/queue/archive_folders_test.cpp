#include "queue/archive_folders.h"

#include <gtest/gtest.h>

#include "queue/testing/queue_office.h"

namespace sendwerk {
namespace {

using testing::QueueOffice;

TEST(ArchiveFolders, MakesOnlyTheMissingLevelsWithASecondEach) {
    const struct {
        const char* existing;  // below CMail, or nothing
        double seconds;
    } cases[] = {{nullptr, 2}, {"gesendet/123456", 1}, {"gesendet/123456/Brief", 0}};
    for (const auto& c : cases) {
        QueueOffice o(false);
        if (c.existing) o.office.makeFolder(QStringLiteral("ZUMA/CMail/") + c.existing);
        createArchiveFolders(o.shared.cDatver, QStringLiteral("123456"), QStringLiteral("Brief"), o.files, o.clock);
        EXPECT_TRUE(o.files.folderExists(QStringLiteral("C:\\ZUMA\\CMail\\gesendet\\123456\\Brief"))) << c.seconds;
        EXPECT_DOUBLE_EQ(o.clock.pausedSeconds(), c.seconds);
    }
}

}  // namespace
}  // namespace sendwerk
