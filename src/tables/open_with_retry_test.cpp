#include "tables/open_with_retry.h"

#include "dbf/ntx_builder.h"
#include "support/temp_office.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <stdexcept>

namespace sendwerk {
namespace {

using dbf::ShareMode;
using dbf::WorkAreas;
using testing::TempOffice;

// Records every call of the dialogs in order; answers Yes/No from a script and runs a
// hook on every pause (so a test can free the table after the n-th one).
class DialogRecorder {
public:
    std::deque<bool> answers;
    std::function<void(int pauses)> onPause;
    QStringList log;
    int pauses = 0;
    bool endReturns = false;

    TableOpenDialogs dialogs() {
        TableOpenDialogs d;
        d.askYesNo = [this](const QString& message, const QString& title) {
            log << "ask " + title + " / " + message;
            if (answers.empty()) throw std::logic_error("unexpected question");
            const bool yes = answers.front();
            answers.pop_front();
            return yes;
        };
        d.waitForKey = [this](double seconds) {
            log << QString("wait %1").arg(seconds);
            ++pauses;
            if (onPause) onPause(pauses);
        };
        d.endProgram = [this] {
            log << "end";
            if (!endReturns) throw EndOfProgram{};
        };
        return d;
    }
};

class OpenWithRetryTest : public ::testing::Test {
protected:
    OpenWithRetryTest() {
        office.makeFolder("d");
        for (const char* table : {"C:\\ZUMA\\MWSTDAT", "C:\\ANDERS\\MWSTDAT", "C:\\ANDERS\\CMAIL\\LOG", "D:\\DATEN\\X",
                                  "C:\\ZUMA\\server\\x"}) {
            const QString native = resolver.native(table);
            office.makeFolder(QFileInfo(native).path().mid(office.root().size() + 1));
            areas.create(table, {{"DATVER", 'C', 20, 0}, {"NR", 'N', 6, 0}});
        }
    }
    QMap<QChar, QString> drives() const {
        auto map = office.drives();
        map.insert(QChar('D'), office.native("d"));
        return map;
    }
    QString canonical(const QString& native) const { return QFileInfo(native).canonicalFilePath(); }
    QString openedFile() { return canonical(areas.current().path()); }
    // Holds `table` exclusively in another set of work areas until release().
    void hold(const QString& table) { ASSERT_TRUE(holder.use(table, ShareMode::Exclusive)); }
    void releaseAfter(int pauses) {
        recorder.onPause = [this, pauses](int done) {
            if (done == pauses) holder.closeAll();
        };
    }
    QStringList waits(int n) const { return QStringList(n, "wait 1"); }

    TempOffice office;
    PathResolver resolver{drives()};
    WorkAreas areas{resolver};
    WorkAreas holder{resolver};
    DialogRecorder recorder;
};

TEST_F(OpenWithRetryTest, NamesResolveBelowTheDataRootUnlessTheyCarryADrive) {
    struct Case {
        const char* dat;
        const char* cDatver;
        const char* file;  // office-relative
        const char* alias;
    } cases[] = {
        {"mwstdat", "C:\\ANDERS\\", "ZUMA/MWSTDAT.DBF", "MWSTDAT"},
        {"MWSTDAT", "C:\\ANDERS\\", "ZUMA/MWSTDAT.DBF", "MWSTDAT"},
        {"mwstdat.dbf", "C:\\ANDERS\\", "ZUMA/MWSTDAT.DBF", "MWSTDAT"},
        {"Mwstdat2", "D:\\", "ZUMA/MWSTDAT.DBF", "MWSTDAT"},
        {"CMAIL\\LOG", "C:\\ANDERS\\", "ANDERS/CMAIL/LOG.DBF", "LOG"},
        {"cmail\\log.dbf", "C:\\ANDERS\\", "ANDERS/CMAIL/LOG.DBF", "LOG"},
        {"D:\\DATEN\\X", "C:\\ANDERS\\", "d/DATEN/X.DBF", "X"},
        // two backslashes are no drive: the data root goes in front
        {"\\\\server\\x", "C:\\ZUMA\\", "ZUMA/server/x.DBF", "X"},
    };
    for (const Case& c : cases) {
        areas.select(9);
        EXPECT_EQ(DBaufmachen(areas, c.dat, std::nullopt, "S", c.cDatver, recorder.dialogs()), 0) << c.dat;
        EXPECT_EQ(openedFile(), canonical(office.native(c.file))) << c.dat;
        EXPECT_EQ(areas.alias(9), c.alias) << c.dat;
    }
    EXPECT_TRUE(recorder.log.isEmpty()) << recorder.log.join("; ").toStdString();
}

TEST_F(OpenWithRetryTest, OnlyAnUpperCaseEOpensExclusively) {
    struct Case {
        const char* schalt;
        bool exclusive;
    } cases[] = {{"E", true}, {"S", false}, {"e", false}, {"", false}, {"EX", false}};
    for (const Case& c : cases) {
        EXPECT_EQ(DBaufmachen(areas, "CMAIL\\LOG", std::nullopt, c.schalt, "C:\\ANDERS\\", recorder.dialogs()), 0);
        EXPECT_EQ(holder.use("C:\\ANDERS\\CMAIL\\LOG", ShareMode::Shared).ok(), !c.exclusive) << '"' << c.schalt << '"';
        holder.closeAll();
        areas.closeAll();
    }
}

TEST_F(OpenWithRetryTest, BusyTableAsksAfterFivePausesAndYesTriesFiveMore) {
    hold("C:\\ZUMA\\MWSTDAT");
    recorder.answers = {true};
    releaseAfter(7);
    EXPECT_EQ(DBaufmachen(areas, "mwstdat", std::nullopt, "S", "C:\\ZUMA\\", recorder.dialogs()), 0);
    const QString question =
        "ask Datei C:\\ZUMA\\MWSTDAT kann nicht geöffnet werden! / Nochmal versuchen=JA - Programmabbruch=NEIN";
    EXPECT_EQ(recorder.log, waits(5) << question << waits(2));
    EXPECT_EQ(openedFile(), canonical(office.native("ZUMA/MWSTDAT.DBF")));
}

TEST_F(OpenWithRetryTest, QuestionRepeatsForAsLongAsTheAnswerIsYes) {
    hold("C:\\ANDERS\\CMAIL\\LOG");
    recorder.answers = {true, true, false};
    EXPECT_THROW(DBaufmachen(areas, "CMAIL\\LOG", std::nullopt, "S", "C:\\ANDERS\\", recorder.dialogs()), EndOfProgram);
    const QString question =
        "ask Datei C:\\ANDERS\\CMAIL\\LOG kann nicht geöffnet werden! / Nochmal versuchen=JA - Programmabbruch=NEIN";
    EXPECT_EQ(recorder.log, waits(5) << question << waits(5) << question << waits(5) << question << "end");
    EXPECT_FALSE(areas.isOpen(areas.selected()));
}

TEST_F(OpenWithRetryTest, AnEndThatReturnsIsNotTakenForAnOpenTable) {
    hold("C:\\ZUMA\\MWSTDAT");
    recorder.answers = {false};
    recorder.endReturns = true;
    EXPECT_THROW(DBaufmachen(areas, "MWSTDAT", std::nullopt, "S", "C:\\ZUMA\\", recorder.dialogs()), std::logic_error);
}

TEST_F(OpenWithRetryTest, OtherOpenFailuresAreErrorsWithoutRetry) {
    for (const char* dat : {"CMAIL\\MISSING", "Q:\\DATEN\\X"}) {
        recorder.log.clear();
        EXPECT_THROW(DBaufmachen(areas, dat, std::nullopt, "S", "C:\\ANDERS\\", recorder.dialogs()), dbf::DbfError)
            << dat;
        EXPECT_TRUE(recorder.log.isEmpty()) << dat;
    }
}

TEST_F(OpenWithRetryTest, IndexResolvesLikeTheTableAndBecomesTheOnlyOne) {
    for (const char* table : {"C:\\ANDERS\\CMAIL\\LOG", "D:\\DATEN\\X"}) {
        ASSERT_TRUE(areas.use(table, ShareMode::Exclusive));
        dbf::buildIndex(areas.current(), resolver.native(QString(table) + "_NR.NTX"), "NR");
        areas.close();
    }
    struct Case {
        const char* dat;
        const char* ind;
    } cases[] = {{"CMAIL\\LOG", "CMAIL\\LOG_NR"}, {"CMAIL\\LOG", "D:\\DATEN\\X_NR.NTX"}};
    for (const Case& c : cases) {
        EXPECT_EQ(DBaufmachen(areas, c.dat, QString(c.ind), "S", "C:\\ANDERS\\", recorder.dialogs()), 0) << c.ind;
        EXPECT_TRUE(areas.current().hasIndex()) << c.ind;
        EXPECT_EQ(areas.current().indexExpression(), "NR") << c.ind;
    }
    EXPECT_THROW(DBaufmachen(areas, "CMAIL\\LOG", QString("CMAIL\\NICHTDA"), "S", "C:\\ANDERS\\", recorder.dialogs()),
                 dbf::DbfError);
    EXPECT_TRUE(recorder.log.isEmpty());
}

TEST_F(OpenWithRetryTest, NetUseCountsItsAttempts) {
    struct Case {
        int wait;
        int freeAfterPauses;  // 0: stays busy
        bool opened;
        int pauses;
    } cases[] = {
        {5, 0, false, 5},                    // the pause follows the fifth attempt too
        {1, 0, false, 1},  {3, 1, true, 1},  // freed during the pause: the next attempt opens it
        {0, 12, true, 12},                   // 0: keeps trying until it opens
        {-1, 0, false, 0},                   // negative: no attempt at all
    };
    for (const Case& c : cases) {
        hold("C:\\ZUMA\\MWSTDAT");
        recorder.pauses = 0;
        recorder.onPause = nullptr;
        if (c.freeAfterPauses) releaseAfter(c.freeAfterPauses);
        EXPECT_EQ(Net_use(areas, "C:\\ZUMA\\MWSTDAT", true, c.wait, recorder.dialogs()), c.opened) << c.wait;
        EXPECT_EQ(recorder.pauses, c.pauses) << c.wait;
        EXPECT_EQ(areas.isOpen(areas.selected()), c.opened) << c.wait;
        areas.closeAll();
        holder.closeAll();
    }
}

TEST_F(OpenWithRetryTest, NetUseWithNegativeWaitLeavesEvenAFreeTableAlone) {
    EXPECT_FALSE(Net_use(areas, "C:\\ZUMA\\MWSTDAT", false, -3, recorder.dialogs()));
    EXPECT_FALSE(areas.isOpen(areas.selected()));
    EXPECT_TRUE(Net_use(areas, "C:\\ZUMA\\MWSTDAT", false, 1, recorder.dialogs()));
    EXPECT_TRUE(recorder.log.isEmpty());
}

}  // namespace
}  // namespace sendwerk
