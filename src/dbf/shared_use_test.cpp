// Shared use between processes: share locks on open, record locks, concurrent appends.
// Children are forked and talk to the test over pipes, so no step waits on time.
#include "dbf/file_handle.h"
#include "dbf/lock_offsets.h"
#include "dbf/table.h"
#include "platform/clock.h"

#include <QTemporaryDir>

#include <functional>
#include <set>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include "support/take.h"

using sendwerk::testing::take;

namespace sendwerk::dbf {
namespace {

// A forked child running `body`; `tell()` / `hear()` pass single bytes both ways.
class Child {
public:
    explicit Child(const std::function<int(Child&)>& body) {
        if (::pipe(toChild_) != 0 || ::pipe(toParent_) != 0) throw std::runtime_error("pipe");
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(toChild_[1]);
            ::close(toParent_[0]);
            int code = 3;
            try {
                code = body(*this);
            } catch (...) {
                code = 2;
            }
            ::_exit(code);
        }
        ::close(toChild_[0]);
        ::close(toParent_[1]);
    }
    ~Child() {
        // A failed assertion must not leave the child waiting for a byte.
        ::close(toChild_[1]);
        ::close(toParent_[0]);
        if (pid_ > 0 && !reaped_) wait();
    }

    // In the child: to the parent; in the parent: to the child.
    void tell(char c) { (void)!::write(pid_ == 0 ? toParent_[1] : toChild_[1], &c, 1); }
    char hear() {
        char c = 0;
        return ::read(pid_ == 0 ? toChild_[0] : toParent_[0], &c, 1) == 1 ? c : '\0';
    }
    int wait() {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        reaped_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    bool reaped_ = false;
    int toChild_[2] = {-1, -1};
    int toParent_[2] = {-1, -1};
};

class SharedUseTest : public ::testing::Test {
protected:
    SharedUseTest() { Table::create(file(), {{"AUFTRNR", 'C', 6, 0}, {"ART", 'C', 1, 0}}); }
    QString file() const { return dir.path() + "/LOG"; }
    bool open(ShareMode mode, std::unique_ptr<Table>& into) const { return take(into, Table::open(file(), mode)); }
    QTemporaryDir dir;
};

TEST_F(SharedUseTest, ShareModesOfTwoProcessesExcludeEachOther) {
    const struct {
        ShareMode holder, other;
        bool opens;
    } cases[] = {
        {ShareMode::Shared, ShareMode::Exclusive, false},
        {ShareMode::Shared, ShareMode::Shared, true},
        {ShareMode::Exclusive, ShareMode::Shared, false},
        {ShareMode::Exclusive, ShareMode::Exclusive, false},
    };
    for (const auto& c : cases) {
        Child child([&](Child& self) {
            std::unique_ptr<Table> table;
            if (!open(c.holder, table)) return 1;
            self.tell('o');
            self.hear();
            return 0;
        });
        ASSERT_EQ(child.hear(), 'o');
        std::unique_ptr<Table> table;
        EXPECT_EQ(open(c.other, table), c.opens);
        table.reset();
        child.tell('q');
        EXPECT_EQ(child.wait(), 0);
        EXPECT_TRUE(open(ShareMode::Exclusive, table)) << "free again after the holder ends";
    }
}

TEST_F(SharedUseTest, ARecordLockOfOneProcessStopsTheOther) {
    {
        std::unique_ptr<Table> table;
        open(ShareMode::Exclusive, table);
        table->appendBlank();
        table->appendBlank();
        table->commit();
    }
    Child child([&](Child& self) {
        std::unique_ptr<Table> table;
        if (!open(ShareMode::Shared, table) || !table->lockRecord(1)) return 1;
        self.tell('l');
        self.hear();
        table->unlockRecord(1);
        self.tell('u');
        self.hear();
        return 0;
    });
    ASSERT_EQ(child.hear(), 'l');
    std::unique_ptr<Table> table;
    ASSERT_TRUE(open(ShareMode::Shared, table));
    EXPECT_FALSE(table->lockRecord(1));
    EXPECT_TRUE(table->lockRecord(2));
    EXPECT_FALSE(table->lockFile());
    child.tell('r');
    ASSERT_EQ(child.hear(), 'u');
    EXPECT_TRUE(table->lockRecord(1));
    child.tell('q');
    EXPECT_EQ(child.wait(), 0);
}

TEST_F(SharedUseTest, LocksOfTwoOpensInOneProcessStaySeparate) {
    std::unique_ptr<Table> first, second;
    ASSERT_TRUE(open(ShareMode::Shared, first));
    first->appendBlank();  // leaves record 1 locked
    ASSERT_TRUE(open(ShareMode::Shared, second));
    EXPECT_FALSE(second->lockRecord(1));
    second.reset();  // closing one descriptor must not drop the other's locks
    std::unique_ptr<Table> third;
    ASSERT_TRUE(open(ShareMode::Shared, third));
    EXPECT_FALSE(third->lockRecord(1));
    first->unlockAll();
    EXPECT_TRUE(third->lockRecord(1));
}

TEST_F(SharedUseTest, TwoProcessesAppendingLeaveEveryRecordIntact) {
    constexpr int perProcess = 1000;
    const auto appender = [&](char letter) {
        return [&, letter](Child& self) {
            std::unique_ptr<Table> table;
            if (!open(ShareMode::Shared, table)) return 1;
            self.tell('o');
            self.hear();  // both start together
            for (int i = 0; i < perProcess; ++i) {
                table->appendBlank();
                table->put("AUFTRNR", QByteArray(1, letter) + QByteArray::number(i).rightJustified(5, '0'));
                table->put("ART", QByteArray(1, letter));
            }
            table->commit();
            return 0;
        };
    };
    Child a(appender('A'));
    Child b(appender('B'));
    ASSERT_EQ(a.hear(), 'o');
    ASSERT_EQ(b.hear(), 'o');
    a.tell('g');
    b.tell('g');
    EXPECT_EQ(a.wait(), 0);
    EXPECT_EQ(b.wait(), 0);

    std::unique_ptr<Table> table;
    ASSERT_TRUE(open(ShareMode::Exclusive, table));
    EXPECT_EQ(table->recCount(), 2 * perProcess) << "header count";
    std::set<QByteArray> seen;
    for (table->goTop(); !table->eof(); table->skip()) {
        const QByteArray nr = table->text("AUFTRNR");
        EXPECT_FALSE(table->deleted());
        EXPECT_EQ(nr.left(1), table->text("ART")) << "record " << table->recNo();
        seen.insert(nr);
    }
    EXPECT_EQ(seen.size(), std::size_t{2 * perProcess});
    EXPECT_EQ(seen.count("A00999") + seen.count("B00000"), 2u);
}

// Another program's lock: a whole-file lock that an append used to ignore, an append
// lock held for ever that used to stall the run for ever. Each wait ends at its limit
// on the virtual clock, with a cause naming the table and nothing written.
TEST_F(SharedUseTest, AppendsWaitForOtherProgramsLocksUpToALimit) {
    const struct {
        const char* what;
        bool wholeFile;        // else the append lock
        double releasedAfter;  // < 0: never
        bool appended;
    } cases[] = {
        {"whole-file lock held", true, -1, false},
        {"append lock held", false, -1, false},
        {"whole-file lock released after 3 s", true, 3, true},
        {"append lock released after 9.5 s", false, 9.5, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<Table> table;
        ASSERT_TRUE(open(ShareMode::Shared, table));
        const int before = table->recCount();
        FileHandle other = FileHandle::openExisting(file() + ".DBF", FileHandle::Access::ReadWrite);
        const std::int64_t start = c.wholeFile ? fileLockStart : lockBase;
        const std::int64_t length = c.wholeFile ? fileLockLength : 1;
        ASSERT_TRUE(other.lockRange(start, length));
        VirtualClock clock;
        if (c.releasedAfter >= 0) clock.after(c.releasedAfter, [&] { other.unlockRange(start, length); });

        const Result<void> appended = table->appendRecord({{"ART", "M"}}, LockWait{&clock, 10});
        EXPECT_EQ(appended.ok(), c.appended) << appended.cause().toStdString();
        table.reset();
        ASSERT_TRUE(open(ShareMode::Shared, table));
        EXPECT_EQ(table->recCount(), before + (c.appended ? 1 : 0));
        if (c.appended) {
            EXPECT_NEAR(clock.pausedSeconds(), c.releasedAfter, 0.11);
        } else {
            EXPECT_NEAR(clock.pausedSeconds(), 10, 0.11);
            EXPECT_TRUE(appended.cause().contains("LOG.DBF")) << appended.cause().toStdString();
            EXPECT_TRUE(appended.cause().contains("gesperrt")) << appended.cause().toStdString();
        }
    }
}

}  // namespace
}  // namespace sendwerk::dbf
