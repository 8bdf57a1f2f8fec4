// The default-printer path for real: a CUPS scheduler of the test's own (its own
// configuration, spool and socket in a temporary folder, no network port, nothing of the
// machine's printing touched) with a file printer as its default destination. The
// printer's backend is a small script of the test that keeps every job as a file.
#include "print/printout.h"

#include "platform/settings.h"
#include "queue/shared.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <functional>

namespace sendwerk {
namespace {

using Steady = std::chrono::steady_clock;

// Waits until `done` holds, looking again whenever something changes in `folders`.
bool awaitChangeIn(const QStringList& folders, const std::function<bool()>& done, std::chrono::seconds limit) {
    const int watch = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (watch < 0) return done();
    for (const QString& folder : folders)
        ::inotify_add_watch(watch, QFile::encodeName(folder).constData(),
                            IN_CREATE | IN_MOVED_TO | IN_MODIFY | IN_CLOSE_WRITE);
    const auto deadline = Steady::now() + limit;
    bool ok = done();
    while (!ok && Steady::now() < deadline) {
        struct pollfd changed = {watch, POLLIN, 0};
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Steady::now());
        ::poll(&changed, 1, int(std::max<long long>(1, left.count())));
        char events[4096];
        while (::read(watch, events, sizeof events) > 0) {}
        ok = done();
    }
    ::close(watch);
    return ok;
}

// The scheduler and its admin tools live in sbin, which a plain user's PATH may lack.
QString tool(const QString& name) {
    const QString found = QStandardPaths::findExecutable(name);
    return found.isEmpty() ? QStandardPaths::findExecutable(name, {"/usr/sbin", "/sbin"}) : found;
}

bool accepts(const QString& socketPath) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    struct sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(socketPath);
    std::memcpy(address.sun_path, path.constData(), std::min<size_t>(path.size(), sizeof address.sun_path - 1));
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

class PrivateScheduler {
public:
    PrivateScheduler() : root_(dir_.path()) {
        for (const char* folder : {"spool", "tmp", "cache", "state", "log", "out", "client", "home", "bin/backend"})
            QDir(root_).mkpath(QString::fromLatin1(folder));
        // Filters and backends start through the scheduler's helpers.
        for (const char* part : {"daemon", "filter", "notifier", "monitor", "cgi-bin"})
            QFile::link(QStringLiteral("/usr/lib/cups/") + QLatin1String(part), path("bin/") + QLatin1String(part));
        write("cupsd.conf", "Listen " + path("cups.sock").toUtf8() +
                                "\nBrowsing No\nBrowseLocalProtocols none\nDefaultShared No\nWebInterface No\n"
                                "LogLevel info\n<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n");
        QByteArray files;
        for (const auto& [key, folder] : {std::pair{"ServerRoot", ""},
                                          {"RequestRoot", "spool"},
                                          {"TempDir", "tmp"},
                                          {"CacheDir", "cache"},
                                          {"StateDir", "state"},
                                          {"ServerBin", "bin"}})
            files += QByteArray(key) + ' ' + path(QString::fromLatin1(folder)).toUtf8() + '\n';
        for (const auto& [key, file] : {std::pair{"AccessLog", "log/access_log"},
                                        {"ErrorLog", "log/error_log"},
                                        {"PageLog", "log/page_log"},
                                        {"Printcap", "printcap"}})
            files += QByteArray(key) + ' ' + path(QString::fromLatin1(file)).toUtf8() + '\n';
        files += "DataDir /usr/share/cups\n";
        write("cups-files.conf", files);
        // The printer: each job lands complete as out/job-N.
        write("bin/backend/sendwerkout",
              "#!/bin/sh\n[ $# -eq 0 ] && { echo 'direct sendwerkout \"Unknown\" \"Sendwerk test\"'; exit 0; }\n"
              "out=" +
                  path("out/job-").toUtf8() +
                  "$1\nif [ -n \"$6\" ]; then cat \"$6\" > $out.part; else cat > $out.part; fi\nmv $out.part $out\n");
        ::chmod(QFile::encodeName(path("bin/backend/sendwerkout")).constData(), 0700);

        // This process and its children talk to this scheduler only, and read no client
        // settings or default printer of the machine or the user.
        qputenv("CUPS_SERVER", QFile::encodeName(path("cups.sock")));
        qputenv("CUPS_SERVERROOT", QFile::encodeName(path("client")));
        qputenv("HOME", QFile::encodeName(path("home")));
        qunsetenv("PRINTER");
        qunsetenv("LPDEST");

        cupsd_.setProcessChannelMode(QProcess::ForwardedChannels);
        cupsd_.start(tool(QStringLiteral("cupsd")), {"-f", "-c", path("cupsd.conf"), "-s", path("cups-files.conf")});
        // The socket appears before it listens; the log says when it does.
        started_ = cupsd_.waitForStarted(10000) &&
                   awaitChangeIn(
                       {root_, path("log")}, [this] { return accepts(path("cups.sock")); }, std::chrono::seconds(30));
    }
    ~PrivateScheduler() {
        cupsd_.terminate();
        if (!cupsd_.waitForFinished(20000)) cupsd_.kill();
        cupsd_.waitForFinished(5000);
    }

    bool started() const { return started_; }
    QString path(const QString& relative) const { return root_ + QLatin1Char('/') + relative; }
    QString log() const {
        QFile file(path("log/error_log"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    // Runs a CUPS command against this scheduler.
    bool admin(const QString& program, const QStringList& arguments) const {
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(tool(program), arguments);
        const bool ok = process.waitForFinished(30000) && process.exitCode() == 0;
        if (!ok) ADD_FAILURE() << program.toStdString() << ": " << process.readAll().toStdString();
        return ok;
    }
    // No printers, no jobs: each test starts from here.
    void reset() const {
        QProcess list;
        list.start(tool(QStringLiteral("lpstat")), {"-e"});
        list.waitForFinished(30000);
        const QStringList printers = QString::fromUtf8(list.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        for (const QString& printer : printers) admin(QStringLiteral("lpadmin"), {"-x", printer.trimmed()});
        for (const QString& job : QDir(path("out")).entryList(QDir::Files)) QFile::remove(path("out/") + job);
    }
    bool addDefaultPrinter(const QString& name) const {
        return admin(QStringLiteral("lpadmin"), {"-p", name, "-E", "-v", "sendwerkout:/"}) &&
               admin(QStringLiteral("lpadmin"), {"-d", name});
    }

    // The first job that arrives within the limit; empty when none did.
    QByteArray awaitJob() const {
        QByteArray job;
        awaitChangeIn(
            {path("out")},
            [this, &job] {
                const QStringList jobs = QDir(path("out")).entryList({"job-*"}, QDir::Files);
                for (const QString& name : jobs) {
                    if (name.endsWith(QLatin1String(".part"))) continue;
                    QFile file(path("out/") + name);
                    if (file.open(QIODevice::ReadOnly)) job = file.readAll();
                    return true;
                }
                return false;
            },
            std::chrono::seconds(60));
        return job;
    }

private:
    void write(const QString& relative, const QByteArray& bytes) const {
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << relative.toStdString();
        file.write(bytes);
    }

    QTemporaryDir dir_;
    QString root_;
    QProcess cupsd_;
    bool started_ = false;
};

QString textOfPdf(const QByteArray& pdf, const QString& folder) {
    QFile file(folder + QStringLiteral("/job.pdf"));
    if (!file.open(QIODevice::WriteOnly)) return {};
    file.write(pdf);
    file.close();
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {"-layout", file.fileName(), "-"});
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// One scheduler for the whole suite: the client library keeps its connection for the
// process, so it must not move to another socket between tests.
class CupsScheduler : public ::testing::Test {
protected:
    static void SetUpTestSuite() { cups_ = new PrivateScheduler; }
    static void TearDownTestSuite() {
        delete cups_;
        cups_ = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(cups_->started()) << cups_->log().toStdString();
        cups_->reset();
    }
    static PrivateScheduler* cups_;
};
PrivateScheduler* CupsScheduler::cups_ = nullptr;

struct Desk {
    explicit Desk(const Settings& settings) : printing(settings) {
        printing.report = [this](const QString& cause) { reports.append(cause); };
    }
    Shared shared;
    Printing printing;
    QStringList reports;
};

TEST_F(CupsScheduler, PagePrintoutGoesToTheDefaultPrinter) {
    PrivateScheduler& cups = *cups_;
    ASSERT_TRUE(cups.addDefaultPrinter(QStringLiteral("buero")));

    Desk desk{Settings{}};  // pageprinter empty: the default printer
    printPages(desk.shared, desk.printing, QStringLiteral("Sehr geehrte Damen und Herren,\r\nMüller & Söhne grüßen."));
    ASSERT_TRUE(desk.reports.isEmpty()) << desk.reports.join(u'|').toStdString();

    const QByteArray job = cups.awaitJob();
    ASSERT_TRUE(job.startsWith("%PDF")) << cups.log().toStdString();
    const QString text = textOfPdf(job, cups.path("tmp"));
    EXPECT_TRUE(text.contains(QStringLiteral("Sehr geehrte Damen und Herren,"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Müller & Söhne grüßen."))) << text.toStdString();
}

TEST_F(CupsScheduler, TextPrintoutThroughLpArrivesByteForByte) {
    PrivateScheduler& cups = *cups_;
    ASSERT_TRUE(cups.addDefaultPrinter(QStringLiteral("zeilendrucker")));

    Settings settings;
    settings.textPrinter = QStringLiteral("|lp -s");
    Desk desk(settings);
    printText(desk.shared, desk.printing, QStringLiteral("Grüße\r\nZeile 2"));
    ASSERT_TRUE(desk.reports.isEmpty()) << desk.reports.join(u'|').toStdString();
    EXPECT_EQ(cups.awaitJob(), QByteArray("\r\n\r\n          Gr\x81\xE1"
                                          "e\r\nZeile 2"));
}

TEST_F(CupsScheduler, NoDefaultPrinterIsReportedOnce) {
    Desk desk{Settings{}};
    printPages(desk.shared, desk.printing, QStringLiteral("ins Leere"));
    ASSERT_EQ(desk.reports.size(), 1);
    EXPECT_TRUE(desk.reports[0].contains(QStringLiteral("kein Standarddrucker"))) << desk.reports[0].toStdString();
}

TEST_F(CupsScheduler, AQueueThatRefusesJobsIsReportedOnce) {
    PrivateScheduler& cups = *cups_;
    ASSERT_TRUE(cups.addDefaultPrinter(QStringLiteral("abweisend")));
    ASSERT_TRUE(cups.admin(QStringLiteral("cupsreject"), {"abweisend"}));
    Desk desk{Settings{}};
    printPages(desk.shared, desk.printing, QStringLiteral("abgewiesen"));
    ASSERT_EQ(desk.reports.size(), 1);
    EXPECT_TRUE(desk.reports[0].contains(QStringLiteral("abweisend"))) << desk.reports[0].toStdString();
}

}  // namespace
}  // namespace sendwerk
