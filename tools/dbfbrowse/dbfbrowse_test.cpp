// dbfbrowse as a program: how it answers a wrong call and a table it cannot open.
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ToolRun {
    int code = -1;
    QString err;
};

ToolRun dbfbrowse(const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(DBFBROWSE_PATH, arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardError())};
}

TEST(Dbfbrowse, WrongCallsAndMissingTablesAreToldAndEndTheProgram) {
    QTemporaryDir dir;
    const QString missing = dir.path() + "/best.dbf";
    const struct {
        QStringList arguments;
        int code;
        QString message;
    } cases[] = {
        {{}, 2, "Aufruf: dbfbrowse DATEI [--read-only]"},
        {{"a.dbf", "b.dbf"}, 2, "Aufruf: dbfbrowse DATEI [--read-only]"},
        {{missing}, 1, QString::fromUtf8("Datei kann nicht geöffnet werden: ") + missing},
        {{missing, "--read-only"}, 1, QString::fromUtf8("Datei kann nicht geöffnet werden: ") + missing},
    };
    for (const auto& c : cases) {
        const ToolRun run = dbfbrowse(c.arguments);
        const std::string what = c.arguments.join(' ').toStdString();
        EXPECT_EQ(run.code, c.code) << what;
        EXPECT_TRUE(run.err.contains(c.message)) << what << ": " << run.err.toStdString();
    }
}

}  // namespace
