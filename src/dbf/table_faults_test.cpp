// The table engine under faults: a process killed at each write of an append, a second
// creator of the same table at the moment of the first one's rename, a second copy
// between the single-instance test and the shared open. The other process is a traced
// child held at a named system call, so nothing here waits on time.
#include "dbf/table.h"

#include "raw_tables.h"
#include "support/traced_child.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/syscall.h>

namespace sendwerk::dbf {
namespace {

using sendwerk::testing::fileChangingCalls;
using sendwerk::testing::TracedChild;

const QList<FieldDef> logFields = {{"AUFTRNR", 'C', 6, 0}, {"ART", 'C', 1, 0}, {"ADRESSE", 'C', 20, 0}};

class TableFaults : public ::testing::Test {
protected:
    QString file() const { return dir.path() + "/LOG"; }
    QTemporaryDir dir;
};

std::unique_ptr<Table> opened(const QString& path, ShareMode mode) {
    Result<std::unique_ptr<Table>> table = Table::open(path, mode);
    if (!table) throw DbfError(table.cause().toStdString());
    return std::move(*table);
}

int appendOne(const QString& path, const QByteArray& auftrnr) {
    auto table = opened(path, ShareMode::Shared);
    if (!table->appendRecord({{"AUFTRNR", auftrnr}, {"ART", "M"}, {"ADRESSE", "kunde@example.test"}})) return 1;
    table->commit();
    return 0;
}

// Every record is whole, and the header counts what the file holds.
void expectIntact(const QString& path, int records, int kill) {
    auto shared = opened(path, ShareMode::Shared);
    EXPECT_EQ(shared->recCount(), records) << "killed at write " << kill;
    for (shared->goTop(); !shared->eof(); shared->skip()) {
        EXPECT_EQ(shared->text("ART"), "M") << "blank record " << shared->recNo() << ", killed at write " << kill;
        EXPECT_EQ(shared->text("ADRESSE"), "kunde@example.test") << "killed at write " << kill;
    }
    shared.reset();
    EXPECT_EQ(opened(path, ShareMode::Exclusive)->recCount(), records) << "header count, killed at write " << kill;
}

TEST_F(TableFaults, AnAppendKilledAtAnyWriteLeavesNoBlankRecordAndTheNextAppendCountsAll) {
    int kill = 1;
    for (;; ++kill) {
        QFile::remove(file() + ".DBF");
        ASSERT_TRUE(Table::create(file(), logFields));
        ASSERT_EQ(appendOne(file(), "000001"), 0);
        TracedChild child([&] { return appendOne(file(), "000002"); });
        const bool stopped = child.stopAtCall(fileChangingCalls(), kill);
        if (!stopped) {
            EXPECT_EQ(child.finish(), 0);
            break;
        }
        child.kill();
        // Whatever the kill left, the next append of the office's run comes after it.
        ASSERT_EQ(appendOne(file(), "000003"), 0);
        auto table = opened(file(), ShareMode::Shared);
        const int records = table->recCount();
        table.reset();
        EXPECT_TRUE(records == 2 || records == 3) << "killed at write " << kill;
        expectIntact(file(), records, kill);
    }
    EXPECT_GT(kill, 2) << "the append made fewer writes than a record and a count";
}

TEST_F(TableFaults, CreatingNeverReplacesATableThatAppearedMeanwhile) {
    TracedChild late([&] { return Table::create(file(), logFields) ? 0 : 1; });
    ASSERT_TRUE(late.stopAtCall({SYS_rename, SYS_renameat, SYS_renameat2, SYS_link, SYS_linkat}, 1));
    // Meanwhile another copy creates the table and logs its first mail.
    ASSERT_TRUE(Table::create(file(), logFields));
    ASSERT_EQ(appendOne(file(), "000001"), 0);
    EXPECT_EQ(late.finish(), 1) << "the late creator must see that the table is there";
    expectIntact(file(), 1, 0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"LOG.DBF"}) << "no temporary file left";
}

TEST_F(TableFaults, NoSecondCopyPassesTheSingleInstanceTestWhileTheFirstOpens) {
    ASSERT_TRUE(Table::create(file(), logFields));
    // The first copy is held inside its open, between the exclusive try and the shared
    // lock (its second flock), for as long as the second copy needs.
    TracedChild first([&] { return Table::openAlone(file()).ok() ? 0 : 1; });
    ASSERT_TRUE(first.stopAtCall({SYS_flock}, 2));
    EXPECT_FALSE(Table::openAlone(file()).ok());
    EXPECT_EQ(first.finish(), 0);
    const Result<std::unique_ptr<Table>> second = Table::openAlone(file());
    EXPECT_TRUE(second.ok()) << "free again once the first copy ended";
    EXPECT_FALSE(Table::openAlone(file()).ok()) << "this process's own open counts too";
}

}  // namespace
}  // namespace sendwerk::dbf
