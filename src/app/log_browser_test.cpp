// Alt+L's send log: what the main window's state is after the browser closes.
#include "app/log_browser.h"

#include <QTimer>

#include <gtest/gtest.h>

#include "browse/entry_settings.h"
#include "dbf/work_areas.h"
#include "queue/send_log.h"
#include "queue/shared.h"
#include "support/temp_office.h"
#include "widgets/event_queue.h"

namespace sendwerk {
namespace {

struct LogOffice {
    testing::TempOffice office;
    EventQueue events;
    EntrySettings entry{events, {}};
    dbf::WorkAreas areas{PathResolver(office.drives())};
    BrowserContext context{events, areas, entry, {}, false};
    Shared shared;
    QStringList messages;
    MessageBox message = [this](const QString& text) { messages << text; };

    bool quitQueued() {
        Event e;
        while (events.takeEvent(e))
            if (e.number == event::Quit) return true;
        return false;
    }
};

TEST(LogBrowser, ASendLogThatCannotBeOpenedIsReportedAndTheProgramEndsInOrder) {
    LogOffice o;
    showSendLog(o.shared, o.context, o.message);
    ASSERT_EQ(o.messages.size(), 1);
    EXPECT_TRUE(o.messages[0].startsWith(QString::fromUtf8("Datei kann nicht geöffnet werden\n\n")));
    EXPECT_TRUE(o.messages[0].endsWith("LOG_SENDWERK.DBF"));
    EXPECT_EQ(o.shared.nBeenden, 1);
    EXPECT_EQ(o.shared.nDauerlauf, 0);
    EXPECT_TRUE(o.quitQueued());
}

TEST(LogBrowser, TheEndButtonPressedWhileTheLogWasOpenEndsTheProgramAfterIt) {
    for (const bool endPressed : {false, true}) {
        LogOffice o;
        o.office.makeFolder("ZUMA/CMail");
        createSendLog(o.areas, o.shared.cDatver);
        QTimer::singleShot(0, [&] {
            // What the end button does: the quit it posts ends the browser first.
            if (endPressed) o.shared.nBeenden = 1;
            o.events.postEvent(event::Quit, 0, 0, nullptr);
        });
        showSendLog(o.shared, o.context, o.message);
        EXPECT_TRUE(o.messages.isEmpty());
        EXPECT_EQ(o.quitQueued(), endPressed) << endPressed;
    }
}

}  // namespace
}  // namespace sendwerk
