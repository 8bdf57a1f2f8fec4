// dbftool run as a program, as an operator would: exit codes, output, one-line errors.
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "support/temp_office.h"

namespace {

struct ToolRun {
    int code;
    QByteArray out;
    QByteArray err;
};

class DbftoolTest : public ::testing::Test {
protected:
    ToolRun dbftool(const QStringList& arguments) {
        QProcess process;
        process.setWorkingDirectory(dir.path());
        process.start(sendwerk::testing::binaryDir() + QStringLiteral("/tools/dbftool/dbftool"), arguments);
        if (!process.waitForFinished(30000)) return {-1, {}, "did not finish"};
        return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    }
    QTemporaryDir dir;
};

TEST_F(DbftoolTest, CreateAppendDumpIndexAndSeek) {
    const struct {
        QStringList arguments;
        int code;
        QByteArray out;
    } steps[] = {
        {{"create", "best", "AUFTRNR:N:6", "NAME:C:10", "BETRAG:N:8:2", "TAG:D", "OK:L", "NOTIZ:M"}, 0, ""},
        {{"append", "best", "AUFTRNR=42", QString::fromUtf8("NAME=Müller €"), "BETRAG=-3", "TAG=20240715", "OK=T",
          "NOTIZ=Email: k@f\r\nZeile 2"},
         0,
         ""},
        {{"append", "BEST.DBF", "AUFTRNR=7", "NAME=a,\"b\"", "OK=f"}, 0, ""},
        {{"dump", "best"},
         0,
         "RECNO\tDELETED\tAUFTRNR\tNAME\tBETRAG\tTAG\tOK\tNOTIZ\n"
         "1\t\t42\tM\xC3\xBCller \xE2\x82\xAC\t-3.00\t20240715\tT\tEmail: k@f\\r\\nZeile 2\n"
         "2\t\t7\ta,\"b\"\t\t\tF\t\n"},
        {{"dump", "best", "--csv"},
         0,
         "RECNO,DELETED,AUFTRNR,NAME,BETRAG,TAG,OK,NOTIZ\n"
         "1,,42,M\xC3\xBCller \xE2\x82\xAC,-3.00,20240715,T,\"Email: k@f\r\nZeile 2\"\n"
         "2,,7,\"a,\"\"b\"\"\",,,F,\n"},
        {{"index", "best", "xauftrnr.ntx", "STR(AUFTRNR,6)"}, 0, ""},
        {{"seek", "best", "xauftrnr.ntx", "     7"}, 0, "2\t\t7\ta,\"b\"\t\t\tF\t\n"},
        {{"seek", "best", "xauftrnr.ntx", "    43"}, 1, ""},
        {{"info", "best"}, 0, ""},
    };
    for (const auto& step : steps) {
        const ToolRun run = dbftool(step.arguments);
        const std::string what = step.arguments.join(' ').toStdString();
        EXPECT_EQ(run.code, step.code) << what << ": " << run.err.toStdString();
        if (step.arguments[0] != "info") {
            EXPECT_EQ(run.out, step.out) << what;
        }
    }
    const ToolRun info = dbftool({"info", "best"});
    EXPECT_TRUE(info.out.contains("records: 2\n")) << info.out.toStdString();
    EXPECT_TRUE(info.out.contains("  BETRAG N 8 2\n")) << info.out.toStdString();
    EXPECT_TRUE(info.out.contains("version: 0x83")) << info.out.toStdString();
}

TEST_F(DbftoolTest, DumpsAPeerTableWithUmlautsMemosAndADeletedRecord) {
    QProcess peer;
    peer.start("/usr/bin/python3",
               {sendwerk::testing::sourceDir() + "/tests/dbf/python_dbf_write.py", dir.path() + "/peer.dbf"});
    ASSERT_TRUE(peer.waitForFinished(30000) && peer.exitCode() == 0) << peer.readAllStandardError().toStdString();
    const ToolRun run = dbftool({"dump", "peer"});
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_EQ(run.out,
              "RECNO\tDELETED\tNAME\tBETRAG\tTAG\tOK\tNOTIZ\n"
              "1\t\tM\xC3\xBCller\t-3.50\t20240715\tT\tEmail: k@f\\r\\nZweite Zeile \xC3\xA4\xC3\xB6\xC3\xBC\n"
              "2\t\tWei\xC3\x9F\t12345.67\t\tF\t\n"
              "3\t*\tgel\xC3\xB6scht\t1.00\t19991231\t\tweg\n");
}

TEST_F(DbftoolTest, AppendNamesTheIndexesBesideTheTableThatNeedRebuilding) {
    ASSERT_EQ(dbftool({"create", "best", "AUFTRNR:N:6", "NAME:C:10"}).code, 0);
    ASSERT_EQ(dbftool({"create", "other", "KUNDE:C:10"}).code, 0);
    ASSERT_EQ(dbftool({"append", "best", "AUFTRNR=1"}).err, "") << "no index yet, nothing to say";
    ASSERT_EQ(dbftool({"index", "best", "XAUFTRNR.NTX", "STR(AUFTRNR,6)"}).code, 0);
    ASSERT_EQ(dbftool({"index", "other", "xkunde.ntx", "KUNDE"}).code, 0);

    const ToolRun run = dbftool({"append", "best", "AUFTRNR=42"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.err,
              "dbftool: XAUFTRNR.NTX beside the table does not hold the new record; rebuild it: "
              "dbftool index best XAUFTRNR.NTX 'STR(AUFTRNR,6)'\n")
        << "the index of the other table is not named";
    EXPECT_EQ(dbftool({"seek", "best", "XAUFTRNR.NTX", "    42"}).code, 1) << "the stale index, as the notice says";
    ASSERT_EQ(dbftool({"index", "best", "XAUFTRNR.NTX", "STR(AUFTRNR,6)"}).code, 0);
    EXPECT_EQ(dbftool({"seek", "best", "XAUFTRNR.NTX", "    42"}).code, 0);
}

TEST_F(DbftoolTest, ErrorsAreOneLineNamingTheFileAndChangeNothing) {
    ASSERT_EQ(dbftool({"create", "T", "NAME:C:5", "N:N:3"}).code, 0);
    const struct {
        QStringList arguments;
        const char* names;    // the file the message names
        const char* message;  // part of it
    } cases[] = {
        {{"append", "T", QString::fromUtf8("NAME=ĉ")}, "T.DBF", "Windows-1252 nicht kennt"},
        {{"append", "T", "N=1000"}, "T.DBF", "passt nicht"},
        {{"append", "T", "NAME=sechs6"}, "T.DBF", "„sechs6“ ist zu lang für NAME (höchstens 5 Zeichen)"},
        {{"append", "T", QString::fromUtf8("NAME=Müller")}, "T.DBF", "zu lang für NAME"},
        {{"append", "T", "N=zwei"}, "T.DBF", "keine Zahl"},
        {{"append", "T", "FEHLT=1"}, "T.DBF", "no field FEHLT"},
        {{"append", "T", "NAME"}, "T.DBF", "NAME=VALUE"},
        {{"dump", "fehlt"}, "fehlt.DBF", "kann nicht geöffnet werden: nicht vorhanden"},
        {{"create", "U", "NAME:C"}, "U.DBF", "width of C must be 1 to 254"},
        {{"create", "U", "VIELZULANGERNAME:C:5"}, "U.DBF", "1 to 10 characters"},
        {{"create", "U", "X"}, "U", "NAME:TYPE:WIDTH"},
        {{"seek", "T", "fehlt.ntx", "1"}, "fehlt.ntx", "kann nicht geöffnet werden: nicht vorhanden"},
        {{"index", "T", "x.ntx", "UPPER(NAME)"}, "x.ntx", "is supported"},
    };
    for (const auto& c : cases) {
        const ToolRun run = dbftool(c.arguments);
        const std::string what = c.arguments.join(' ').toStdString();
        EXPECT_EQ(run.code, 2) << what;
        EXPECT_TRUE(run.err.startsWith("dbftool: ")) << what << ": " << run.err.toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << what << ": " << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.names)) << what << ": " << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.message)) << what << ": " << run.err.toStdString();
    }
    EXPECT_EQ(dbftool({"dump", "T"}).out, "RECNO\tDELETED\tNAME\tN\n") << "no record was appended";
    EXPECT_EQ(dbftool({"frobnicate"}).code, 2);
}

}  // namespace
