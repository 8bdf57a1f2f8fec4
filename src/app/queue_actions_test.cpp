#include "app/queue_actions.h"

#include <gtest/gtest.h>

#include "dbf/work_areas.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/process_starter.h"
#include "queue/queue_context.h"
#include "queue/shared.h"
#include "support/temp_office.h"

namespace sendwerk {
namespace {

// The real actions on a temporary office: listings and folder indicators come from the
// queue folders.
struct Office {
    testing::TempOffice office;
    PathResolver resolver{office.drives()};
    FileSystem files{resolver};
    dbf::WorkAreas areas{resolver};
    VirtualClock clock;
    PosixProcessStarter starter{files, {}};
    QueueContext context{files, areas, clock, starter, {}, {}};
    Shared shared;
    QueueActions actions{shared, context, {}, {}, [] {}, {}, {}};
};

TEST(QueueActions, FolderIndicatorsLookForOrderFiles) {
    struct Case {
        const char* file;  // below CMail\Ausgang
        bool failure;
        bool quarantine;
    };
    const Case cases[] = {
        {nullptr, false, false},
        {"failure/A_123456_x.ausg", true, false},
        {"failure/A_123456_x.result", false, false},
        {"quarantine/A_123456_x.AUSG", false, true},
        {"A_123456_x.ausg", false, false},
    };
    for (const Case& c : cases) {
        Office o;
        o.office.makeFolder("ZUMA/CMail/Ausgang/failure");
        o.office.makeFolder("ZUMA/CMail/Ausgang/quarantine");
        if (c.file) o.office.write(QStringLiteral("ZUMA/CMail/Ausgang/") + c.file, "x|||y");
        EXPECT_EQ(o.actions.folderHoldsOrders(Folder::Failure), c.failure) << (c.file ? c.file : "none");
        EXPECT_EQ(o.actions.folderHoldsOrders(Folder::Quarantine), c.quarantine) << (c.file ? c.file : "none");
    }
}

TEST(QueueActions, ListingsOfTheQueueFolders) {
    Office o;
    o.office.write("ZUMA/CMail/Ausgang/failure/A_123456_x.ausg", "x");
    EXPECT_EQ(o.actions.mailAusgang(), QStringLiteral("\r\nMailAusgang ist leer.\r\n"));
    EXPECT_EQ(o.actions.sendeFehler(0),
              QStringLiteral("\r\nACHTUNG:\r\nFehler im Failure-Ordner:\r\nA_123456_x.ausg - Fehler"));
    EXPECT_EQ(o.actions.sendeFehler(2), QStringLiteral("\r\nQuarantine-Ordner ist leer."));
}

}  // namespace
}  // namespace sendwerk
