// The crash figures of a small office: one send run is killed at each of its file
// changes in turn (every write, rename, erase and sync: a traced child held at its
// n-th such system call), then the office restarts and runs again. Counted over all
// kill points:
//   orders lost            an order file in none of outbox, failure, quarantine, archive
//   records missing        a recipient mailed (or refused) without any record; a send
//                          whose outcome the killed run never learnt is sent again by
//                          the restart, which logs it (so it counts as sent twice)
//   blank records          log records without their outcome letter
//   mails sent twice       extra sends to a recipient, per kill (goal: at most the
//                          recipients of the order in flight)
//   leftovers              temporary files anywhere after the restart
// The mail client is the in-process fake on the virtual clock; every start is noted in
// a journal file, so the sends of the killed run count too. Prints figures, asserts
// nothing.
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <fcntl.h>
#include <map>
#include <unistd.h>

#include "platform/code_page.h"
#include "platform/temporary_files.h"
#include "queue/send_run.h"
#include "queue/testing/queue_office.h"
#include "support/traced_child.h"

namespace sendwerk {
namespace {

using testing::PlannedAnswer;
using testing::QueueOffice;

// Notes every order mail's recipient in a journal before the fake client takes it.
class JournalingStarter final : public ProcessStarter {
public:
    JournalingStarter(ProcessStarter& client, QString journal) : client_(client), journal_(std::move(journal)) {}
    bool startDetached(const QString& program, const QList<QByteArray>& arguments) override {
        QByteArray to, results;
        for (const QByteArray& a : arguments) {
            if (a.startsWith("-to:")) to = a.mid(4);
            if (a.startsWith("-results:")) results = a.mid(9);
        }
        if (results != "Fehlermail.result") {
            const QString path = decode1252(results);
            const QByteArray line = path.mid(path.lastIndexOf('\\') + 1).toUtf8() + ' ' + to + '\n';
            const int fd = ::open(QFile::encodeName(journal_).constData(), O_WRONLY | O_CREAT | O_APPEND, 0644);
            [[maybe_unused]] const ssize_t written = ::write(fd, line.constData(), size_t(line.size()));
            ::close(fd);
        }
        return client_.startDetached(program, arguments);
    }
    int runAndWait(const QString& program, const QList<QByteArray>& arguments,
                   const std::function<void()>& whileWaiting) override {
        return client_.runAndWait(program, arguments, whileWaiting);
    }

private:
    ProcessStarter& client_;
    QString journal_;
};

const QStringList kOrders = {QStringLiteral("Brief_100001_x.ausg"), QStringLiteral("Brief_100002_x.ausg"),
                             QStringLiteral("Liste_100003_x.ausg"), QStringLiteral("Brief_100004_x.ausg")};

void writeOffice(QueueOffice& o) {
    o.writeWhitelist("ok@firma.de,\r\nrefuse@firma.de,\r\nauch@firma.de,\r\n");
    o.writeOrder(kOrders[0], "ok@firma.de|||Betreff|||Text|||");
    o.writeOrder(kOrders[1], "refuse@firma.de|||Betreff|||Text|||");
    o.writeOrder(kOrders[2], "{ok@firma.de,fremd@x.de,auch@firma.de}|||Betreff|||Text|||");
    o.writeOrder(kOrders[3], "fremd@x.de|||Betreff|||Text|||");
    // Planned per send, in order; a restart sends again what the kill left behind.
    for (int i = 0; i < 20; ++i)
        o.client.plan({PlannedAnswer::accepted(), PlannedAnswer::failure(), PlannedAnswer::accepted(),
                       PlannedAnswer::accepted()});
}

struct Figures {
    int kills = 0, ordersLost = 0, recordsMissing = 0, blankRecords = 0, sentTwice = 0, worstSentTwice = 0,
        leftovers = 0;
};

bool orderSomewhere(const QueueOffice& o, const QString& F) {
    const QString base = F.chopped(5);
    QDirIterator it(o.office.native(QStringLiteral("ZUMA/CMail")), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString name = QFileInfo(it.next()).fileName();
        if (name == F || name == F + ".ablagefehler" || (name.startsWith(base + '-') && name.endsWith(".ausg")))
            return true;
    }
    return false;
}

void countAfterRestart(QueueOffice& o, const QString& journal, Figures& f) {
    for (const QString& F : kOrders) f.ordersLost += orderSomewhere(o, F) ? 0 : 1;
    std::map<QByteArray, int> sends, records;
    QFile file(journal);
    if (file.open(QIODevice::ReadOnly))
        for (const QByteArray& line : file.readAll().split('\n'))
            if (!line.isEmpty()) ++sends[line.split(' ').at(0).left(12) + ' ' + line.split(' ').at(1)];
    for (const testing::LogRecord& r : o.readSendLog()) {
        if (r.art.isEmpty()) ++f.blankRecords;
        if (r.art == "M" || r.art == "F") ++records[r.formular.left(12) + ' ' + r.adresse];
    }
    int extra = 0;
    for (const auto& [recipient, count] : sends) {
        f.recordsMissing += records[recipient] == 0 ? 1 : 0;
        extra += count - 1;
    }
    f.sentTwice += extra;
    f.worstSentTwice = std::max(f.worstSentTwice, extra);
    QDirIterator it(o.office.root(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) f.leftovers += isTemporarySibling(QFileInfo(it.next()).fileName()) ? 1 : 0;
}

}  // namespace
}  // namespace sendwerk

int main() {
    using namespace sendwerk;
    Figures f;
    for (int kill = 1;; ++kill) {
        QueueOffice o;
        writeOffice(o);
        const QString journal = o.office.native(QStringLiteral("sent.journal"));
        JournalingStarter starter(o.client, journal);
        QueueContext context{o.files, o.areas, o.clock, starter, {}, o.context.orderTableFolder};
        testing::TracedChild run([&] { return Senden(o.shared, context) == RunEnd::Completed ? 0 : 1; });
        if (!run.stopAtCall(testing::fileChangingCalls(), kill)) {
            run.finish();
            break;
        }
        run.kill();
        ++f.kills;
        Senden(o.shared, context);  // the restart
        countAfterRestart(o, journal, f);
    }
    std::printf("crash figures of a small office (4 orders, 6 recipients), killed at each of %d file changes:\n",
                f.kills);
    std::printf("  orders lost                 %d   (goal 0)\n", f.ordersLost);
    std::printf("  records missing for mails   %d   (goal 0)\n", f.recordsMissing);
    std::printf("  blank records               %d   (goal 0)\n", f.blankRecords);
    std::printf(
        "  mails sent twice            %d in all, at most %d per kill   (goal: at most the recipients of the "
        "order in flight, here up to 2)\n",
        f.sentTwice, f.worstSentTwice);
    std::printf("  leftovers after a restart   %d   (goal 0)\n", f.leftovers);
    return 0;
}
