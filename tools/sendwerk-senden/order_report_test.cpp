// The headless run's report on the queue's own office (virtual clock, in-process client):
// how orders are counted, what the summary says and which exit status a run earns.
#include "order_report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>

#include "queue/folders.h"
#include "queue/testing/queue_office.h"

namespace sendwerk::senden {
namespace {

using testing::PlannedAnswer;
using testing::QueueOffice;

struct Reported {
    RunEnd end;
    QString lines;
    QString summary;
    int status;
};

Reported runWithReport(QueueOffice& o) {
    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* lines = open_memstream(&buffer, &size);
    Reported reported{};
    {
        OrderReport report(o.files.list(orderPattern(o.shared.cDatver, Folder::Outbox)), lines);
        o.context.recipientFiled = [&report](const OrderNames& names, ListPosition position, FilingOutcome outcome,
                                             const Recipient& r) {
            report.recipientFiled(names, position, outcome, r);
        };
        reported.end = Senden(o.shared, o.context);
        report.finish();
        reported.summary = report.summary();
        reported.status = report.exitStatus(reported.end);
    }
    std::fclose(lines);
    reported.lines = QString::fromUtf8(buffer, qsizetype(size));
    std::free(buffer);
    return reported;
}

TEST(OrderReport, CountsEachOrderByItsWorstRecipient) {
    const struct {
        const char* name;
        std::function<void(QueueOffice&)> arrange;
        RunEnd end;
        const char* lines;
        const char* summary;
        int status;
    } cases[] = {
        {"all sent",
         [](QueueOffice& o) { o.writeOrder(QStringLiteral("Brief_100001_x.ausg"), "ok@firma.de|||B|||T|||"); },
         RunEnd::Completed, "Brief_100001_x.ausg: gesendet (ok@firma.de)\n",
         "1 Aufträge: 1 gesendet, 0 Fehler, 0 Quarantäne, 0 ohne Adresse", 0},
        {"a list with one stranger",
         [](QueueOffice& o) {
             o.writeOrder(QStringLiteral("Brief_100002_x.ausg"), "{ok@firma.de,fremd@x.de}|||B|||T|||");
         },
         RunEnd::Completed, "Brief_100002_x.ausg: Quarantäne (ok@firma.de gesendet, fremd@x.de Quarantäne)\n",
         "1 Aufträge: 0 gesendet, 0 Fehler, 1 Quarantäne, 0 ohne Adresse", 4},
        {"failure outranks quarantine",
         [](QueueOffice& o) {
             o.writeOrder(QStringLiteral("Brief_100003_x.ausg"), "{fremd@x.de,ok@firma.de}|||B|||T|||");
             o.client.plan({PlannedAnswer::failure()});
         },
         RunEnd::Completed, "Brief_100003_x.ausg: Fehler (fremd@x.de Quarantäne, ok@firma.de Fehler)\n",
         "1 Aufträge: 0 gesendet, 1 Fehler, 0 Quarantäne, 0 ohne Adresse", 4},
        {"no address and an unreadable order",
         [](QueueOffice& o) {
             o.writeOrder(QStringLiteral("Brief_100004_x.ausg"), "firma.de|||B|||T|||");
             o.writeOrder(QStringLiteral("Brief_100005_x.ausg"), "");
         },
         RunEnd::Completed, "Brief_100004_x.ausg: ohne Adresse (firma.de)\nBrief_100005_x.ausg: bleibt im Ausgang\n",
         "2 Aufträge: 0 gesendet, 0 Fehler, 0 Quarantäne, 1 ohne Adresse, 1 bleiben im Ausgang", 4},
        {"no answer stops the run",
         [](QueueOffice& o) {
             o.writeOrder(QStringLiteral("Brief_100006_x.ausg"), "ok@firma.de|||B|||T|||");
             o.writeOrder(QStringLiteral("Brief_100007_x.ausg"), "ok@firma.de|||B|||T|||");
             o.client.plan({PlannedAnswer::accepted(), PlannedAnswer::never()});
         },
         RunEnd::NoAnswer, "Brief_100006_x.ausg: gesendet (ok@firma.de)\nBrief_100007_x.ausg: bleibt im Ausgang\n",
         "2 Aufträge: 1 gesendet, 0 Fehler, 0 Quarantäne, 0 ohne Adresse, 1 bleiben im Ausgang", 3},
        {"no answer in the middle of a list",
         [](QueueOffice& o) {
             o.writeOrder(QStringLiteral("Brief_100010_x.ausg"), "{ok@firma.de,ok@firma.de}|||B|||T|||");
             o.client.plan({PlannedAnswer::accepted(), PlannedAnswer::never()});
         },
         RunEnd::NoAnswer, "Brief_100010_x.ausg: bleibt im Ausgang (ok@firma.de gesendet)\n",
         "1 Aufträge: 0 gesendet, 0 Fehler, 0 Quarantäne, 0 ohne Adresse, 1 bleiben im Ausgang", 3},
        {"the client is missing",
         [](QueueOffice& o) {
             o.writeOrder(QStringLiteral("Brief_100008_x.ausg"), "ok@firma.de|||B|||T|||");
             o.client.plan({PlannedAnswer::missingProgram()});
         },
         RunEnd::NoClient, "Brief_100008_x.ausg: bleibt im Ausgang\n",
         "1 Aufträge: 0 gesendet, 0 Fehler, 0 Quarantäne, 0 ohne Adresse, 1 bleiben im Ausgang", 3},
        {"incomplete connection data",
         [](QueueOffice& o) {
             o.office.write(QStringLiteral("ZUMA/CMail/Verbindung.dat"), "smtp.example.org\r\n");
             o.writeOrder(QStringLiteral("Brief_100009_x.ausg"), "ok@firma.de|||B|||T|||");
         },
         RunEnd::NoConnectionData, "Brief_100009_x.ausg: bleibt im Ausgang\n",
         "1 Aufträge: 0 gesendet, 0 Fehler, 0 Quarantäne, 0 ohne Adresse, 1 bleiben im Ausgang", 5},
        {"an empty outbox", [](QueueOffice&) {}, RunEnd::EmptyOutbox, "",
         "0 Aufträge: 0 gesendet, 0 Fehler, 0 Quarantäne, 0 ohne Adresse", 0},
    };
    for (const auto& c : cases) {
        QueueOffice o;
        o.writeWhitelist("ok@firma.de,\r\nfirma.de\r\n");
        c.arrange(o);
        const Reported reported = runWithReport(o);
        EXPECT_EQ(reported.end, c.end) << c.name;
        EXPECT_EQ(reported.lines.toStdString(), c.lines) << c.name;
        EXPECT_EQ(reported.summary.toStdString(), c.summary) << c.name;
        EXPECT_EQ(reported.status, c.status) << c.name;
    }
}

}  // namespace
}  // namespace sendwerk::senden
