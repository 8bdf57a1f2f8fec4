// Damaged and unusual table files: each gives a clear DbfError naming the file and the
// fault, or a defined result, never a crash or a read outside the file.
#include "dbf/table.h"

#include "raw_tables.h"

#include <QTemporaryDir>
#include <QtEndian>

#include <functional>

#include <gtest/gtest.h>
#include "support/take.h"

using sendwerk::testing::take;

namespace sendwerk::dbf {
namespace {

using testing::RawField;
using testing::rawTable;
using testing::writeFile;

const QList<RawField> twoFields = {{"NAME", 'C', 4}, {"ZAHL", 'N', 3}};

QByteArray withByte(QByteArray bytes, int at, char value) {
    bytes[at] = value;
    return bytes;
}

QByteArray withU16(QByteArray bytes, int at, quint16 value) {
    qToLittleEndian<quint16>(value, bytes.data() + at);
    return bytes;
}

QByteArray withU32(QByteArray bytes, int at, quint32 value) {
    qToLittleEndian<quint32>(value, bytes.data() + at);
    return bytes;
}

class BadInputTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.path() + "/" + name; }
    QTemporaryDir dir;
};

TEST_F(BadInputTest, DamagedHeadersAreRefusedWithFileAndCause) {
    const QByteArray good = rawTable(twoFields, {" abcd  1"});
    const struct {
        const char* what;
        QByteArray bytes;
        const char* message;
    } cases[] = {
        {"empty file", "", "truncated table header"},
        {"20 bytes", good.left(20), "truncated table header"},
        {"garbage", QByteArray(300, 'G'), "unknown table format (version byte 0x47)"},
        {"dBASE IV memo", withByte(good, 0, char(0x8B)), "dBASE IV table with memo (version byte 0x8B)"},
        {"FoxPro memo", withByte(good, 0, char(0xF5)), "FoxPro table with memo (version byte 0xF5)"},
        {"Visual FoxPro 0x30", withByte(good, 0, 0x30), "Visual FoxPro table (version byte 0x30)"},
        {"Visual FoxPro 0x32", withByte(good, 0, 0x32), "Visual FoxPro table (version byte 0x32)"},
        {"header length beyond the file", withU16(good, 8, 4000), "header length 4000 lies beyond the end"},
        {"header length too small", withU16(good, 8, 40), "header length 40 is too small"},
        {"record length too small for the fields", withU16(good, 10, 5), "record length is 5"},
        {"record length 0", withU16(good, 10, 0), "record length 0 is too small"},
        {"no fields", withByte(good, 32, 0x0D), "describes no fields"},
        {"unknown field type", withByte(good, 32 + 11, 'X'), "field NAME has the unknown type 0x58"},
        {"field width 0", withU16(withByte(good, 32 + 16, 0), 10, 4), "field NAME has width 0"},
        {"name with control bytes", withByte(good, 33, 0x07), "non-ASCII"},
        {"name empty", withByte(good, 32, 0), "has no name"},
        // One damaged word: every record would be read shifted or counted wrongly.
        {"header length one too large", withU16(good, 8, 98), "header length 98 does not fit 2 field descriptors"},
        {"header length one too small", withU16(good, 8, 96), "header length 96 does not fit"},
        {"record length one too large", withU16(good, 10, 9), "the fields need 8 bytes"},
        {"record length high byte damaged", withU16(good, 10, 8 + 256), "record length is 264"},
        {"no terminator", withByte(good, 96, 'N'), "have no terminator"},
    };
    for (const auto& c : cases) {
        writeFile(path("T.DBF"), c.bytes);
        std::unique_ptr<Table> table;
        try {
            table = std::move(Table::open(path("T"), ShareMode::Shared).value());
            ADD_FAILURE() << c.what << ": opened";
        } catch (const DbfError& e) {
            const std::string text = e.what();
            EXPECT_NE(text.find(c.message), std::string::npos) << c.what << ": " << text;
            EXPECT_NE(text.find("T.DBF"), std::string::npos) << c.what << ": " << text;
        }
    }
}

// A larger record length made the table read as empty, and the next append wrote over
// every old record. Whatever the damage, the file must stay byte for byte as it was.
TEST_F(BadInputTest, ATableWithADamagedHeaderIsNeverWrittenInto) {
    const QByteArray good = rawTable(twoFields, {" abcd  1", " efgh  2", " ijkl  3"});
    const QByteArray cases[] = {withU16(good, 10, 9), withU16(good, 10, 8 + 256), withU16(good, 8, 98),
                                withU16(good, 8, 129)};
    for (const QByteArray& damaged : cases) {
        writeFile(path("T.DBF"), damaged);
        EXPECT_THROW((void)Table::open(path("T"), ShareMode::Shared).value()->appendRecord({{"NAME", "neu"}}),
                     DbfError);
        EXPECT_EQ(testing::readFile(path("T.DBF")), damaged);
    }
}

TEST_F(BadInputTest, AMissingTableIsAHardErrorNotInUse) {
    std::unique_ptr<Table> table;
    EXPECT_THROW(Table::open(path("fehlt"), ShareMode::Shared), DbfError);
    EXPECT_EQ(table, nullptr);
}

TEST_F(BadInputTest, RecordCountFollowsWhatTheFileHolds) {
    const QByteArray three = rawTable(twoFields, {" a     1", " b     2", " c     3"});
    const struct {
        const char* what;
        QByteArray bytes;
        ShareMode mode;
        int count;
    } cases[] = {
        {"header claims 1000, exclusive", withU32(three, 4, 1000), ShareMode::Exclusive, 3},
        {"header claims 1000, shared", withU32(three, 4, 1000), ShareMode::Shared, 3},
        {"header claims 1, shared counts the file", withU32(three, 4, 1), ShareMode::Shared, 3},
        {"header claims 1, exclusive trusts it", withU32(three, 4, 1), ShareMode::Exclusive, 1},
        {"last record cut off", three.left(three.size() - 4), ShareMode::Shared, 2},
        {"no end-of-file byte", three.left(three.size() - 1), ShareMode::Shared, 3},
        {"header only, no records", rawTable(twoFields, {}).chopped(1), ShareMode::Shared, 0},
    };
    for (const auto& c : cases) {
        writeFile(path("T.DBF"), c.bytes);
        std::unique_ptr<Table> table;
        ASSERT_TRUE(take(table, Table::open(path("T"), c.mode))) << c.what;
        EXPECT_EQ(table->recCount(), c.count) << c.what;
        int seen = 0;
        for (table->goTop(); !table->eof(); table->skip()) ++seen;
        EXPECT_EQ(seen, c.count) << c.what;
        table->goTo(c.count + 1);
        EXPECT_TRUE(table->eof()) << c.what;
    }
}

TEST_F(BadInputTest, HeaderLengthIsTrustedForBothTerminators) {
    // 0x0D 0x00 terminator: header length 32n + 34, record 1 starts after the 0x00.
    QByteArray bytes = rawTable(twoFields, {});
    bytes.chop(1);
    bytes += '\0';
    bytes = withU16(bytes, 8, static_cast<quint16>(bytes.size()));
    bytes += QByteArray(" wxyz 42") + '\x1A';
    writeFile(path("T.DBF"), bytes);
    std::unique_ptr<Table> table;
    ASSERT_TRUE(take(table, Table::open(path("T"), ShareMode::Shared)));
    EXPECT_EQ(table->text("NAME"), "wxyz");
    EXPECT_EQ(table->number("ZAHL"), 42.0);
}

TEST_F(BadInputTest, YearByteOfEitherKindOfWriter) {
    const struct {
        char year;
        int expected;
    } cases[] = {{126, 2026}, {100, 2000}, {99, 1999}, {24, 2024}};
    for (const auto& c : cases) {
        writeFile(path("T.DBF"), withByte(rawTable(twoFields, {}), 1, c.year));
        std::unique_ptr<Table> table;
        ASSERT_TRUE(take(table, Table::open(path("T"), ShareMode::Shared)));
        EXPECT_EQ(table->lastUpdate(), QDate(c.expected, 7, 15)) << int(c.year);
    }
}

TEST_F(BadInputTest, WideCharacterFieldsKeepTheirHighWidthByte) {
    // Width 300 stored as 44 + 256 * 1 in the decimals byte; the record length decides.
    QByteArray bytes = rawTable({{"LANG", 'C', 44, 1}}, {}).chopped(1);
    bytes = withU32(withU16(bytes, 10, 301), 4, 1);
    writeFile(path("T.DBF"), bytes + " " + QByteArray(299, 'x') + "y\x1A");
    std::unique_ptr<Table> table;
    ASSERT_TRUE(take(table, Table::open(path("T"), ShareMode::Shared)));
    EXPECT_EQ(table->fields()[0].width, 300);
    EXPECT_EQ(table->text("LANG").size(), 300);
}

TEST_F(BadInputTest, BadMemoPointersAndFiles) {
    const QList<RawField> memo = {{"M", 'M', 10}};
    QByteArray dbt(512, '\0');
    dbt[0] = 3;
    dbt += QByteArray("eins\x1A\x1A").leftJustified(512, '\0');
    dbt += "ohne Ende";  // block 2 without terminator: read up to the end of the file
    writeFile(path("T.DBT"), dbt);
    writeFile(path("T.DBF"),
              rawTable(memo, {"          1", "          2", "        999", " kaputt!!!!", "           "}, char(0x83)));
    std::unique_ptr<Table> table;
    ASSERT_TRUE(take(table, Table::open(path("T"), ShareMode::Shared)));
    const struct {
        int record;
        const char* memo;     // expected text, or null for an error
        const char* message;  // part of the error
    } cases[] = {
        {1, "eins", nullptr},
        {2, "ohne Ende", nullptr},
        {3, nullptr, "memo block 999 lies beyond the end"},
        {4, nullptr, "bad memo pointer"},
        {5, "", nullptr},
    };
    for (const auto& c : cases) {
        table->goTo(c.record);
        if (c.memo) {
            EXPECT_EQ(table->memo("M"), c.memo) << c.record;
            continue;
        }
        try {
            table->memo("M");
            ADD_FAILURE() << c.record << ": no error";
        } catch (const DbfError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << c.record << ": " << e.what();
        }
    }
    // A header that points into used blocks must not make a new memo overwrite them.
    table->goTo(5);
    table->putMemo("M", "neu");
    EXPECT_EQ(table->rawField("M"), "         3");
    table->goTo(1);
    EXPECT_EQ(table->memo("M"), "eins");
    table->goTo(2);
    EXPECT_TRUE(table->memo("M").startsWith("ohne Ende"));
}

TEST_F(BadInputTest, AMemoTableWithoutItsDbtIsRefused) {
    writeFile(path("T.DBF"), rawTable({{"M", 'M', 10}}, {}, char(0x83)));
    std::unique_ptr<Table> table;
    try {
        table = std::move(Table::open(path("T"), ShareMode::Shared).value());
        ADD_FAILURE() << "opened";
    } catch (const DbfError& e) {
        EXPECT_NE(std::string(e.what()).find("memo file"), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace sendwerk::dbf
